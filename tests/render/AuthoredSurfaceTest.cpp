// Surfaces drawn as their authors made them: the normals a file stores for
// its corners (hard edges), computed normals under a mirroring frame, and
// vertex colours; the four paths alike in each case.
#include "render/LoadedModel.h"
#include "render/Scene.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

namespace {

constexpr int kSize = 96;
using Pixels = std::vector<std::uint8_t>;

// The corners of a cube of side 2 (bit 0: x, bit 1: y, bit 2: z), and its
// faces, clockwise seen from outside in the file's left-handed axes: -x, +x,
// -y, +y, -z, +z.
const std::array<std::array<int, 4>, 6> kCubeFaces{{{0, 4, 6, 2}, {1, 3, 7, 5}, {0, 1, 5, 4},
                                                     {2, 6, 7, 3}, {0, 2, 3, 1}, {4, 5, 7, 6}}};
const std::array<std::string, 6> kFaceNormals{"-1;0;0;", "1;0;0;", "0;-1;0;", "0;1;0;", "0;0;-1;", "0;0;1;"};
const std::array<std::string, 6> kFaceColors{"1;0;0;1;", "0;1;0;1;", "0;0;1;1;", "1;1;0;1;", "0;1;1;1;", "1;0;1;1;"};

std::string Corner(int bits)
{
    return std::string(bits & 1 ? "1;" : "-1;") + (bits & 2 ? "1;" : "-1;") + (bits & 4 ? "1;" : "-1;");
}

// The cube on its 8 corners; with `storedNormals`, a "MeshNormals" giving
// every corner of a face that face's normal. `turned`: every face wound the
// other way, as an exporter writes a mesh that a mirroring frame places.
std::string EightCornerCube(bool storedNormals, bool turned = false)
{
    std::string text = "Mesh Cube {\n 8;\n";
    for (int v = 0; v < 8; ++v) text += " " + Corner(v) + (v < 7 ? ",\n" : ";\n");
    text += " 6;\n";
    for (int f = 0; f < 6; ++f) {
        auto c = kCubeFaces[f];
        if (turned) std::reverse(c.begin(), c.end());
        text += " 4;" + std::to_string(c[0]) + "," + std::to_string(c[1]) + "," + std::to_string(c[2]) + "," +
                std::to_string(c[3]) + (f < 5 ? ";,\n" : ";;\n");
    }
    if (storedNormals) {
        text += " MeshNormals {\n 6;\n";
        for (int f = 0; f < 6; ++f) text += " " + kFaceNormals[f] + (f < 5 ? ",\n" : ";\n");
        text += " 6;\n";
        for (int f = 0; f < 6; ++f)
            text += " 4;" + std::to_string(f) + "," + std::to_string(f) + "," + std::to_string(f) + "," +
                    std::to_string(f) + (f < 5 ? ";,\n" : ";;\n");
        text += " }\n";
    }
    return text + "}\n";
}

// The cube on 24 vertices, four a face, each face's vertices one colour.
std::string SixColourCube()
{
    std::string text = "Mesh Cube {\n 24;\n";
    for (int f = 0; f < 6; ++f)
        for (int c = 0; c < 4; ++c) text += " " + Corner(kCubeFaces[f][c]) + (f * 4 + c < 23 ? ",\n" : ";\n");
    text += " 6;\n";
    for (int f = 0; f < 6; ++f) {
        const int v = f * 4;
        text += " 4;" + std::to_string(v) + "," + std::to_string(v + 1) + "," + std::to_string(v + 2) + "," +
                std::to_string(v + 3) + (f < 5 ? ";,\n" : ";;\n");
    }
    text += " MeshVertexColors {\n 24;\n";
    for (int v = 0; v < 24; ++v) text += " " + std::to_string(v) + ";" + kFaceColors[v / 4] + (v < 23 ? ",\n" : ";\n");
    return text + " }\n}\n";
}

std::string InFrame(const std::string& mesh, const std::string& matrix)
{
    return "Frame Root {\n FrameTransformMatrix {\n " + matrix + ";;\n }\n" + mesh + "}\n";
}
const std::string kIdentity = "1,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1";
const std::string kMirrorX = "-1,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1";

constexpr std::array<DrawPath, 4> kPaths{DrawPath::Immediate, DrawPath::DisplayList, DrawPath::IndexedArrays,
                                         DrawPath::BufferObjects};

class AuthoredSurface : public testing_support::GlTest {
protected:
    void SetUp() override
    {
        context = std::make_unique<platform::HeadlessContext>(kSize, kSize);
        ASSERT_TRUE(context->Ok()) << context->Error();
        InitGL(kSize, kSize);
    }

    void Load(const std::string& text)
    {
        ASSERT_EQ(loaded.LoadFromMemory("surface.x", "xof 0303txt 0032\n" + text), S_OK);
    }

    // The cube at a three-quarter view, lit (or not), along `path`.
    Pixels Draw(const PoseChoice& pose, DrawPath path, bool lit = true)
    {
        ViewOptions options;
        SelectPath(options, path);
        options.asAuthored = pose.asAuthored;
        loaded.ShowPose(pose, path);
        SetLighting(lit);
        ApplyFrontFace(options);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        DrawModelScene(&loaded, options, 30, 40, {});
        glFinish();
        SetLighting(true);
        return context->ReadPixels();
    }
    // The same picture along every path, returned once.
    Pixels DrawAlongEveryPath(const PoseChoice& pose, bool lit = true)
    {
        const Pixels first = Draw(pose, kPaths[0], lit);
        for (const DrawPath path : kPaths)
            EXPECT_TRUE(Draw(pose, path, lit) == first) << "path " << static_cast<int>(path);
        return first;
    }

    static std::array<int, 3> At(const Pixels& pixels, int x, int y)
    {
        const std::size_t i = (static_cast<std::size_t>(y) * kSize + x) * 4;
        return {pixels[i], pixels[i + 1], pixels[i + 2]};
    }
    // The mean grey of the pixels that are not the background.
    static double MeanBrightness(const Pixels& pixels)
    {
        double sum = 0;
        int count = 0;
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x)
                if (const auto p = At(pixels, x, y); p != At(pixels, 0, 0)) {
                    sum += (p[0] + p[1] + p[2]) / 3.0;
                    ++count;
                }
        return count ? sum / count : 0;
    }
    // How many different greys the model's pixels take: a few for flat faces,
    // many for a smooth gradient.
    static std::size_t DistinctGreys(const Pixels& pixels)
    {
        std::vector<bool> seen(256);
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x)
                if (const auto p = At(pixels, x, y); p != At(pixels, 0, 0)) seen[static_cast<std::size_t>(p[1])] = true;
        return static_cast<std::size_t>(std::count(seen.begin(), seen.end(), true));
    }

    testing_support::MessageRecorder recorder;  // the traces of frames and colours
    LoadedModel loaded;
};

TEST_F(AuthoredSurface, StoredFaceNormalsDrawHardEdgesAsAuthoredOnly)
{
    Load(EightCornerCube(true));
    // Three faces seen, each lit evenly: three greys, give or take an edge's rounding.
    const Pixels hard = DrawAlongEveryPath(PoseChoice{true});
    EXPECT_LE(DistinctGreys(hard), 6u);
    // As read, and after "Compute Normales", the corners' averaged normals shade smoothly.
    EXPECT_GT(DistinctGreys(DrawAlongEveryPath(PoseChoice{false})), 20u);
    ASSERT_EQ(loaded.ComputeNormals(), S_OK);
    const Pixels computed = DrawAlongEveryPath(PoseChoice{true});
    EXPECT_GT(DistinctGreys(computed), 20u);

    // "Inverse Normales" turns the stored normals over: the lit faces go dark.
    Load(EightCornerCube(true));
    const double lit = MeanBrightness(hard);
    ASSERT_EQ(loaded.InvertNormals(), S_OK);
    EXPECT_LT(MeanBrightness(DrawAlongEveryPath(PoseChoice{true})), 0.5 * lit);

    // Drawn as read, the copies a split makes show nothing of their own.
    const Pixels asRead = Draw(PoseChoice{false}, DrawPath::BufferObjects);
    Load(EightCornerCube(false));
    ASSERT_EQ(loaded.InvertNormals(), S_OK);
    EXPECT_TRUE(Draw(PoseChoice{false}, DrawPath::BufferObjects) == asRead);
}

// A mirror turns the winding over: the file winds the mesh the other way,
// and the frame's mirror brings it back to the twin's.
TEST_F(AuthoredSurface, AMirroringRootFrameLeavesAClosedModelLitLikeItsTwin)
{
    auto draw = [&](bool mirrored, bool asAuthored, bool stored) {
        Load(InFrame(EightCornerCube(stored, mirrored), mirrored ? kMirrorX : kIdentity));
        return DrawAlongEveryPath(PoseChoice{asAuthored});
    };
    for (const bool stored : {false, true}) {
        const Pixels twin = draw(false, true, stored);
        const Pixels mirrored = draw(true, true, stored);
        EXPECT_GT(MeanBrightness(twin), 60) << stored;
        // The same cube and winding drawn, lit alike; computed normals shade
        // across other diagonals (the fans start at other corners).
        EXPECT_NEAR(MeanBrightness(mirrored) / MeanBrightness(twin), 1.0, 0.04) << stored;
        if (stored) {
            EXPECT_TRUE(mirrored == twin);
        }
    }
    // Drawn as read, no frame places the mesh: the picture of the mesh alone.
    const Pixels asRead = draw(true, false, false);
    Load(EightCornerCube(false, true));
    EXPECT_TRUE(DrawAlongEveryPath(PoseChoice{}) == asRead);
}

TEST_F(AuthoredSurface, VertexColoursTakeThePlaceOfTheDiffuseColour)
{
    Load(SixColourCube());
    PoseChoice colours;
    colours.vertexColors = true;
    // Unlit, each face shows its own colour; lit, its hue.
    const Pixels unlit = DrawAlongEveryPath(colours, false);
    std::vector<std::array<int, 3>> seen;
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
            if (const auto p = At(unlit, x, y); p != At(unlit, 0, 0) && std::find(seen.begin(), seen.end(), p) == seen.end())
                seen.push_back(p);
    EXPECT_EQ(seen.size(), 3u);  // three faces in sight, three of the six colours
    for (const auto& p : seen)
        for (const int channel : p) EXPECT_TRUE(channel == 0 || channel == 255) << channel;

    const Pixels lit = DrawAlongEveryPath(colours);
    const Pixels white = DrawAlongEveryPath(PoseChoice{});
    EXPECT_NE(lit, white);
    const auto centre = At(white, kSize / 2, kSize / 2);
    EXPECT_TRUE(centre[0] == centre[1] && centre[1] == centre[2]);  // the white material, untinted

    // As authored too, and the switch back off draws white again.
    colours.asAuthored = true;
    EXPECT_NE(DrawAlongEveryPath(colours), DrawAlongEveryPath(PoseChoice{true}));
    EXPECT_TRUE(DrawAlongEveryPath(PoseChoice{}) == white);
}

}  // namespace
