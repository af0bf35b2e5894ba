// What a read gives, taken on a chosen number of threads, and the check that
// two reads gave the same: for the tests of the readers that share their
// work among threads.
#pragma once

#include "model/Model.h"
#include "platform/ParallelFor.h"
#include "TestSupport.h"
#include "ShowingRefusal.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace testing_support {

struct Read {
    std::optional<Model> model;
    std::vector<std::string> messages;
};

// `read()` on `threads` threads, with every grain divided so that a small
// file takes the threaded paths.
template <class Reader>
Read ReadOn(unsigned threads, Reader&& read)
{
    platform::ScopedParallelThreadCount scope(threads);
    platform::SetParallelGrainDivisor(4096);
    Read result;
    {
        MessageRecorder recorder;
        result.model = ShowingRefusal(read());
        for (const auto& message : recorder.messages()) result.messages.push_back(message.text);
    }
    platform::SetParallelGrainDivisor(1);
    return result;
}

inline void ExpectSame(const Read& threaded, const Read& reference, unsigned threads)
{
    SCOPED_TRACE(testing::Message() << threads << " threads");
    EXPECT_EQ(threaded.messages, reference.messages);
    ASSERT_EQ(threaded.model.has_value(), reference.model.has_value());
    if (!reference.model) return;
    ASSERT_EQ(threaded.model->meshes.size(), reference.model->meshes.size());
    for (std::size_t m = 0; m < reference.model->meshes.size(); ++m) {
        const MeshRecord& a = threaded.model->meshes[m];
        const MeshRecord& b = reference.model->meshes[m];
        EXPECT_EQ(a.vertices, b.vertices);
        EXPECT_TRUE(a.faces == b.faces);
        EXPECT_EQ(a.texCoords.has_value(), b.texCoords.has_value());
        if (a.texCoords && b.texCoords) {
            ASSERT_EQ(a.texCoords->size(), b.texCoords->size());
            for (std::size_t k = 0; k < a.texCoords->size(); ++k) {
                EXPECT_EQ((*a.texCoords)[k].u, (*b.texCoords)[k].u);
                EXPECT_EQ((*a.texCoords)[k].v, (*b.texCoords)[k].v);
            }
        }
        EXPECT_EQ(a.faceMaterials, b.faceMaterials);
        EXPECT_EQ(a.materials, b.materials);
    }
}

}  // namespace testing_support
