// The numbers of one data object, in file order, whatever runs of integers
// and floats hold them: the readers of ModelFromObjects take their fields
// from it one by one.
#pragma once

#include "model/binary/Document.h"

#include <cstdint>
#include <vector>

namespace xfile {

// The numbers of one object, in order, whatever runs hold them. A float
// field takes an integer as it is; an integer field takes only integers.
class Numbers {
public:
    Numbers(const Document& document, const DataObject& object) : document_(document)
    {
        for (const DataPart& part : document.PartsOf(object)) {
            if (part.kind != PartKind::Integers && part.kind != PartKind::Floats) continue;
            runs_.push_back(&part);
            remaining_ += part.count;
        }
    }

    std::size_t remaining() const { return remaining_; }

    bool NextInteger(std::uint32_t& value)
    {
        if (!Settle() || runs_[run_]->kind != PartKind::Integers) return false;
        value = document_.integers[runs_[run_]->first + taken_];
        return Take();
    }
    bool NextFloat(float& value)
    {
        if (!Settle()) return false;
        const DataPart& part = *runs_[run_];
        value = part.kind == PartKind::Floats ? document_.floats[part.first + taken_]
                                              : static_cast<float>(document_.integers[part.first + taken_]);
        return Take();
    }
    // A float field that is missing reads as 0.
    float FloatOrZero()
    {
        float value = 0;
        return NextFloat(value) ? value : 0.0f;
    }

private:
    bool Settle()
    {
        while (run_ < runs_.size() && taken_ >= runs_[run_]->count) {
            ++run_;
            taken_ = 0;
        }
        return run_ < runs_.size();
    }
    bool Take()
    {
        ++taken_;
        --remaining_;
        return true;
    }

    const Document& document_;
    std::vector<const DataPart*> runs_;
    std::size_t run_ = 0;
    std::uint32_t taken_ = 0;
    std::size_t remaining_ = 0;
};

}  // namespace xfile
