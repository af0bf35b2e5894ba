// The data objects of a ".x" file, whatever its encoding: each has a type
// ("Mesh"), an optional name and GUID, and its data parts in file order.
// Values live in a few flat arrays shared by the whole file; a part is a run
// of consecutive values of one kind, so a mesh's million vertices are one
// part, not a million.
#pragma once

#include "model/binary/Tokens.h"
#include "platform/LargeBlocks.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace xfile {

enum class PartKind : std::uint8_t {
    Integers,    // DWORD, WORD, CHAR… values, as unsigned 32 bits (signed types keep their bits)
    Floats,      // FLOAT and DOUBLE values, as float
    Strings,     // quoted strings
    References,  // "{ Name }" or "{ Name <GUID> }": another object, by name
    Object,      // one child data object
};

// A run of consecutive parts of one kind: values first .. first + count - 1
// of the document's array for that kind. An Object part names one object
// (count 1). Two runs of the same kind never touch: something else always
// stands between them.
struct DataPart {
    PartKind kind = PartKind::Integers;
    std::uint32_t first = 0;
    std::uint32_t count = 0;
};

struct Reference {
    std::string name;  // empty when the reference gives only a GUID
    std::optional<Guid> guid;
    bool operator==(const Reference&) const = default;
};

struct DataObject {
    std::string type;  // "Mesh", "Material"…
    std::string name;  // empty when the object has none
    std::optional<Guid> guid;
    // Its parts: Document::parts[firstPart .. firstPart + partCount - 1].
    std::uint32_t firstPart = 0;
    std::uint32_t partCount = 0;
};

struct Document {
    // Every object, in the order their headers appear: a parent before its children.
    std::vector<DataObject> objects;
    // The top-level objects, in file order.
    std::vector<std::uint32_t> roots;
    std::vector<DataPart> parts;
    platform::LargeVector<std::uint32_t> integers;
    platform::LargeVector<float> floats;
    std::vector<std::string> strings;
    std::vector<Reference> references;

    // Accessors for parts of this document; a part of another kind gives
    // nothing.
    std::span<const DataPart> PartsOf(const DataObject& object) const;
    std::span<const std::uint32_t> IntegersOf(const DataPart& part) const;
    std::span<const float> FloatsOf(const DataPart& part) const;
    std::span<const std::string> StringsOf(const DataPart& part) const;
    std::span<const Reference> ReferencesOf(const DataPart& part) const;
    const DataObject* ObjectOf(const DataPart& part) const;
};

}  // namespace xfile
