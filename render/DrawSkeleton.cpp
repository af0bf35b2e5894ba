#include "render/DrawSkeleton.h"

namespace {

constexpr float kBoneWidth = 2.0f;
constexpr float kJointSize = 5.0f;

// Everything DrawSkeleton changes, put back when it ends.
class SkeletonStateScope {
public:
    SkeletonStateScope()
    {
        glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_LINE_BIT | GL_POINT_BIT | GL_DEPTH_BUFFER_BIT);
        glDisable(GL_LIGHTING);
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_DEPTH_TEST);  // over the model
        glDisable(GL_CULL_FACE);
        glLineWidth(kBoneWidth);
        glPointSize(kJointSize);
        glColor4f(kSkeletonColour[0], kSkeletonColour[1], kSkeletonColour[2], 1.0f);
    }
    ~SkeletonStateScope() { glPopAttrib(); }
    SkeletonStateScope(const SkeletonStateScope&) = delete;
    SkeletonStateScope& operator=(const SkeletonStateScope&) = delete;
};

}  // namespace

void DrawSkeleton(const RenderModel& render)
{
    const Skeleton& skeleton = render.skeleton();
    if (skeleton.joints.empty()) return;
    const SkeletonStateScope state;
    glBegin(GL_LINES);
    for (const auto& bone : skeleton.bones) {
        if (bone[0] >= skeleton.joints.size() || bone[1] >= skeleton.joints.size()) continue;
        for (const std::uint32_t end : bone) {
            const Vector3& p = skeleton.joints[end];
            glVertex3f(p.x, p.y, p.z);
        }
    }
    glEnd();
    glBegin(GL_POINTS);
    for (const Vector3& p : skeleton.joints) glVertex3f(p.x, p.y, p.z);
    glEnd();
}
