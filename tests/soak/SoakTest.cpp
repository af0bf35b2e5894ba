// Long use in one context: loading, drawing on every path, recomputing and
// inverting normals and clearing a textured model, again and again, must not
// leave OpenGL objects or heap behind.
#include "render/LoadedModel.h"
#include "platform/GlEntryPoints.h"
#include "render/Scene.h"
#include "TestSupport.h"

#include <GL/glext.h>
#include <gtest/gtest.h>
#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

// Every C++ allocation of this program is counted, so that what our own code
// holds can be told apart from the driver's caches, which grow with the
// variety of state they have seen and are bounded.
// Under AddressSanitizer the allocator is the sanitizer's own, and
// LeakSanitizer checks what is left instead.
namespace {
std::atomic<long long> liveNewBytes{0};
}
#if !defined(__SANITIZE_ADDRESS__)

void* operator new(std::size_t size)
{
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr) throw std::bad_alloc();
    liveNewBytes += static_cast<long long>(malloc_usable_size(block));
    return block;
}
// The blocks come from malloc above; the compiler cannot see that.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* block) noexcept
{
    if (block == nullptr) return;
    liveNewBytes -= static_cast<long long>(malloc_usable_size(block));
    std::free(block);
}
void operator delete(void* pointer, std::size_t) noexcept { operator delete(pointer); }
#pragma GCC diagnostic pop
#endif

namespace {

struct LiveNames {
    int textures = 0;
    int buffers = 0;
    int lists = 0;
    bool operator==(const LiveNames&) const = default;
};

// Names are handed out from the low end; this range holds every one a cycle makes.
constexpr GLuint kNameRange = 4096;

LiveNames CountLiveNames()
{
    auto isBuffer = reinterpret_cast<PFNGLISBUFFERPROC>(platform::GetGlProcAddress("glIsBuffer"));
    LiveNames live;
    for (GLuint name = 1; name < kNameRange; ++name) {
        live.textures += glIsTexture(name) == GL_TRUE;
        live.buffers += isBuffer(name) == GL_TRUE;
        live.lists += glIsList(name) == GL_TRUE;
    }
    return live;
}

void RunCycle(const std::string& path)
{
    LoadedModel model;
    ASSERT_EQ(model.Load(path), S_OK);
    ViewOptions options;
    const bool paths[][3] = {{true, false, false}, {false, true, false}, {false, false, true}, {false, false, false}};
    for (const auto& choice : paths) {
        options.useDisplayList = choice[0];
        options.useIndexedArrays = choice[1];
        options.useBufferObjects = choice[2];
        options.drawNormals = options.drawBoundingBox = true;
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        DrawModelScene(&model, options, 30.0f, 20.0f);
        glFinish();  // what presenting a frame does: the driver retires its work
    }
    model.ComputeNormals();
    model.InvertNormals();
    model.Clear();
}

// Messages are kept to be looked at, traces dropped.
class SoakTest : public testing_support::GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        InitGL(64, 64);
    }
    platform::RecordingMessageSink messages;
    platform::NullTraceSink traces;
    const platform::ScopedMessageSink messageScope{messages};
    const platform::ScopedTraceSink traceScope{traces};
};

TEST_F(SoakTest, AThousandCyclesLeaveNoObjectsAndNoHeapBehind)
{
    const std::string path = testing_support::SamplePath("cube.x");
    const LiveNames before = CountLiveNames();

    RunCycle(path);
    glFinish();
    const LiveNames afterFirst = CountLiveNames();
    const long long ownAfterFirst = liveNewBytes;
    const std::size_t heapAfterFirst = mallinfo2().uordblks;

    for (int cycle = 1; cycle < 1000; ++cycle) RunCycle(path);
    glFinish();

    EXPECT_EQ(CountLiveNames(), afterFirst);
    EXPECT_EQ(afterFirst, before);
    EXPECT_EQ(liveNewBytes, ownAfterFirst) << "our own heap grew over the cycles";
    // The whole heap, driver included: its shader caches may fill up to a few
    // megabytes, a leak of even a few kilobytes a cycle would not fit.
    EXPECT_LE(mallinfo2().uordblks, heapAfterFirst + 4 * 1024 * 1024) << "heap grew over the cycles";
    EXPECT_TRUE(messages.messages.empty());
}

// An animated model played for ten thousand frames while the set, the draw
// path and the speed change: each frame poses the model again, and none of
// them may leave an OpenGL name or our own heap behind.
TEST_F(SoakTest, TenThousandFramesOfPlaybackLeaveNoObjectsAndNoHeapBehind)
{
    const LiveNames before = CountLiveNames();
    LoadedModel model;
    ASSERT_EQ(model.Load(testing_support::CorpusPath("assimp/Testwuson.X"), PoseChoice{true}), S_OK);
    ASSERT_EQ(model.model.animationSets.size(), 3u);
    const LiveNames loaded = CountLiveNames();

    constexpr double kSpeeds[] = {0.25, 0.5, 1, 2, 4};
    double seconds = 0;
    long long ownAfterWarmUp = 0;
    for (int frame = 0; frame < 10000; ++frame) {
        if (frame == 2000) ownAfterWarmUp = liveNewBytes;  // every set, path and speed seen by then
        const int set = frame / 500 % 3;
        if (frame % 500 == 0) seconds = 0;  // a set chosen starts at its beginning
        seconds += kSpeeds[frame / 200 % 5] / 60;
        ViewOptions options;
        SelectPath(options, static_cast<DrawPath>(frame / 250 % 4));  // immediate, list, arrays, buffers
        options.drawNormals = frame % 7 == 0;
        model.ShowPose({true, set, seconds}, SelectedPath(options));
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        DrawModelScene(&model, options, 30.0f, 20.0f);
        glFinish();
    }
    EXPECT_EQ(CountLiveNames(), loaded) << "a frame made an OpenGL name of its own";
    EXPECT_EQ(liveNewBytes, ownAfterWarmUp) << "our own heap grew while playing";
    model.Clear();
    glFinish();
    EXPECT_EQ(CountLiveNames(), before);
    EXPECT_TRUE(messages.messages.empty());
}

}  // namespace
