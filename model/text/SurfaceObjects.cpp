// Readers of what a mesh's file says of its surface beside its faces:
// "MeshNormals" (normals and a normal for each face corner) and
// "MeshVertexColors". Their numbers are read as one run up to the block's
// end, by the rules both readers share; what does not fit the mesh is left
// out, and never makes a file fail.
#include "model/AuthoredSurface.h"
#include "model/text/TextWalk.h"

#include <cmath>

namespace {

// A block's run of numbers, taken in order.
class NumberRun {
public:
    explicit NumberRun(std::vector<float> numbers) : numbers_(std::move(numbers)) {}
    std::size_t remaining() const { return numbers_.size() - at_; }
    bool NextFloat(float& value)
    {
        if (at_ >= numbers_.size()) return false;
        value = numbers_[at_++];
        return true;
    }
    // Indices are read among floats: a float holds every integer up to 2^24
    // exactly, and no index a text file of a sane size could need beyond that.
    bool NextInteger(std::uint32_t& index)
    {
        float value = 0;
        if (!NextFloat(value) || !(value >= 0 && value < 16777216.0f) || std::floor(value) != value) return false;
        index = static_cast<std::uint32_t>(value);
        return true;
    }

private:
    std::vector<float> numbers_;
    std::size_t at_ = 0;
};

}  // namespace

void TextReader::ReadMeshNormals(std::int32_t line)
{
    if (!IsOpenBlock(0, "Mesh")) return;
    NumberRun numbers(NumbersOfBlock(line, nullptr));
    surface_rules::ReadStoredNormals(numbers, currentMesh_);
}

void TextReader::ReadMeshVertexColors(std::int32_t line)
{
    if (!IsOpenBlock(0, "Mesh")) return;
    NumberRun numbers(NumbersOfBlock(line, nullptr));
    surface_rules::ReadVertexColors(numbers, currentMesh_);
}
