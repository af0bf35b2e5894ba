// The numbers of one data object, in file order, whatever runs of integers
// and floats hold them: the readers of ModelFromObjects take their fields
// from it one by one.
#pragma once

#include "model/binary/Document.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

namespace xfile {

// The numbers of one object, in order, whatever runs hold them. A float
// field takes an integer as it is; an integer field takes only integers.
class Numbers {
public:
    // With `consumable`, the document itself, which its reader gives up, the
    // values that NextFloats and Advance take go back to the system as the
    // reading moves on: for an object whose numbers are read once, by this
    // reader alone.
    Numbers(const Document& document, const DataObject& object, Document* consumable = nullptr)
        : document_(document), consumable_(consumable)
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
    // The next `count` numbers as floats, their bytes written at `out` (an
    // array of structures of floats); false, and nothing taken, when fewer remain.
    bool NextFloats(void* out, std::size_t count)
    {
        if (count > remaining_) return false;
        auto* bytes = static_cast<unsigned char*>(out);
        while (count > 0) {
            Settle();
            const DataPart& part = *runs_[run_];
            const std::size_t n = std::min<std::size_t>({count, part.count - taken_, kForgetStep});
            if (part.kind == PartKind::Floats) {
                std::memcpy(bytes, document_.floats.data() + part.first + taken_, n * sizeof(float));
            } else {
                for (std::size_t k = 0; k < n; ++k) {
                    const auto value = static_cast<float>(document_.integers[part.first + taken_ + k]);
                    std::memcpy(bytes + k * sizeof(float), &value, sizeof value);
                }
            }
            bytes += n * sizeof(float);
            count -= n;
            Advance(n);
        }
        return true;
    }
    // The integers of the current run from the next number on: empty when
    // the next number is a float or none is left. Advance takes them.
    std::span<const std::uint32_t> IntegersAhead()
    {
        if (!Settle() || runs_[run_]->kind != PartKind::Integers) return {};
        const DataPart& part = *runs_[run_];
        return {document_.integers.data() + part.first + taken_, part.count - taken_};
    }
    // Takes `count` numbers of the current run (no more than it holds).
    void Advance(std::size_t count)
    {
        taken_ += static_cast<std::uint32_t>(count);
        remaining_ -= count;
        if (consumable_ != nullptr && taken_ - forgotten_ >= kForgetStep) Forget();
    }
    // A float field that is missing reads as 0.
    float FloatOrZero()
    {
        float value = 0;
        return NextFloat(value) ? value : 0.0f;
    }

private:
    // Values of 4 bytes, given back by steps of this many.
    static constexpr std::uint32_t kForgetStep = platform::kForgetStepBytes / 4;

    bool Settle()
    {
        while (run_ < runs_.size() && taken_ >= runs_[run_]->count) {
            if (consumable_ != nullptr) Forget();
            ++run_;
            taken_ = 0;
            forgotten_ = 0;
        }
        return run_ < runs_.size();
    }
    bool Take()
    {
        ++taken_;
        --remaining_;
        return true;
    }

    // The values of the current run taken so far.
    void Forget()
    {
        const DataPart& part = *runs_[run_];
        if (part.kind == PartKind::Integers)
            platform::ForgetValues(consumable_->integers, part.first + forgotten_, taken_ - forgotten_);
        else
            platform::ForgetValues(consumable_->floats, part.first + forgotten_, taken_ - forgotten_);
        forgotten_ = taken_;
    }

    const Document& document_;
    Document* consumable_;
    std::vector<const DataPart*> runs_;
    std::size_t run_ = 0;
    std::uint32_t taken_ = 0;
    std::uint32_t forgotten_ = 0;  // of the current run, [0, forgotten_) given back
    std::size_t remaining_ = 0;
};

}  // namespace xfile
