// How many faces a mesh has once every polygon of more than three corners
// is split into a fan of triangles, and whether that many still fit.
#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>

namespace records {

class FanTriangleCount {
public:
    // A face of n > 3 corners becomes n - 2 triangles; any other face stays one face.
    void Add(std::int32_t cornerCount) { total_ += cornerCount > 3 ? cornerCount - 2 : 1; }
    // The faces of another run of faces after these.
    FanTriangleCount& operator+=(const FanTriangleCount& other)
    {
        total_ += other.total_;
        return *this;
    }

    // The total, or nothing when it exceeds a signed 32-bit face count or
    // the corner capacity of a face list (three corners per face).
    std::optional<std::int32_t> Total() const
    {
        if (total_ > kLimit) return std::nullopt;
        return static_cast<std::int32_t>(total_);
    }

private:
    static constexpr std::int64_t kLimit =
        std::min<std::int64_t>(std::numeric_limits<std::int32_t>::max(), std::numeric_limits<std::uint32_t>::max() / 3);
    std::int64_t total_ = 0;  // wide enough for any number of 32-bit additions we can be given
};

}  // namespace records
