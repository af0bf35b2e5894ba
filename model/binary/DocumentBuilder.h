// Builds a Document as a reader walks a file: objects open and close, data
// parts arrive in file order. Each object's parts end up contiguous, and
// values of one kind that follow one another join a single run.
#pragma once

#include "model/binary/Document.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace xfile {

class DocumentBuilder {
public:
    // Objects open at once, as in the text reader's block stack.
    static constexpr std::size_t kMaxDepth = 255;

    explicit DocumentBuilder(Document& document) : document_(document) {}

    // Objects open now.
    std::size_t depth() const { return depth_; }
    // The innermost open object; nullptr at the top level.
    const DataObject* current() const;

    // Opens an object, child of the current one; false (nothing opened) when
    // kMaxDepth objects are already open.
    bool OpenObject(std::string type, std::string name, std::optional<Guid> guid);
    // Closes the current object; nothing at the top level.
    void CloseObject();

    // Data parts of the current object; at the top level, where no object
    // holds them, they are dropped (the spans are then empty).
    // Room for `count` more values, to fill in place.
    std::span<std::uint32_t> AppendIntegers(std::size_t count);
    std::span<float> AppendFloats(std::size_t count);
    void AddString(std::string text);
    void AddReference(Reference reference);

private:
    struct Frame {
        std::uint32_t object = 0;
        std::vector<DataPart> parts;  // its parts so far; they join the document when it closes
    };
    void AddRun(PartKind kind, std::size_t first, std::size_t count);

    Document& document_;
    // frames_[0 .. depth_ - 1] are open; deeper ones keep their storage for the next objects.
    std::vector<Frame> frames_;
    std::size_t depth_ = 0;
};

}  // namespace xfile
