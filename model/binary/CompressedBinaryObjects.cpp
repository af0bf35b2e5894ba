#include "model/binary/CompressedBinaryObjects.h"

#include "model/binary/BinaryObjects.h"
#include "model/binary/TokenReader.h"
#include "platform/LargeBlocks.h"
#include "platform/ParallelFor.h"

#include <condition_variable>
#include <exception>
#include <mutex>
#include <new>
#include <optional>
#include <stdexcept>
#include <thread>

namespace xfile {

namespace {

// Below two of these, one thread inflates then reads: a second would cost
// more to start than it saves.
constexpr std::size_t kBytesPerOverlap = std::size_t{4} << 20;

// How far the inflated bytes are written: moved on by the inflating thread,
// waited on by the reading one.
class Arrival final : public InflationProgress, public ArrivingBytes {
public:
    void Settled(std::size_t bytes) override
    {
        const std::lock_guard lock(mutex_);
        ready_ = bytes;
        // The reader sleeps until what it waits for is there, so that a long
        // list wakes it once.
        if (ready_ >= wanted_) changed_.notify_one();
    }

    void Finish()
    {
        const std::lock_guard lock(mutex_);
        finished_ = true;
        changed_.notify_one();
    }

    std::size_t WaitFor(std::size_t wanted) override
    {
        std::unique_lock lock(mutex_);
        wanted_ = wanted;
        changed_.wait(lock, [&] { return ready_ >= wanted || finished_; });
        wanted_ = kNobodyWaits;
        return ready_;
    }

private:
    static constexpr std::size_t kNobodyWaits = std::size_t(-1);
    std::mutex mutex_;
    std::condition_variable changed_;
    std::size_t ready_ = 0;
    std::size_t wanted_ = kNobodyWaits;
    bool finished_ = false;
};

bool InflateThenRead(std::span<const std::uint8_t> file, FileBytes* consumable, Document& document,
                     std::string& error)
{
    FileBytes inflated;
    const bool ok = consumable != nullptr ? InflateMszip(std::move(*consumable), inflated, error)
                                          : InflateMszip(file, inflated, error);
    return ok && ReadBinaryObjects(std::move(inflated), document, error);
}

// The whole inflated size at once, when the memory is there; otherwise
// inflating alone decides what happens.
std::optional<FileBytes> Sized(std::size_t bytes)
{
    try {
        return FileBytes(bytes);
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
    return std::nullopt;
}

bool Read(std::span<const std::uint8_t> file, FileBytes* consumable, Document& document, std::string& error)
{
    const std::optional<std::size_t> declared = LikelyInflatedSize(file);
    if (!declared || platform::ParallelThreadCount() < 2 || platform::ChunkCount(*declared, kBytesPerOverlap) < 2)
        return InflateThenRead(file, consumable, document, error);
    std::optional<FileBytes> inflated = Sized(*declared);
    if (!inflated) return InflateThenRead(file, consumable, document, error);

    Arrival arrival;
    bool inflatedWhole = false;
    std::string inflateError;
    std::exception_ptr inflateFailure;
    bool read = false;
    {
        const std::jthread inflater([&] {
            try {
                inflatedWhole = InflateMszipInto(file, consumable, *inflated, arrival, inflateError);
            } catch (...) {
                inflateFailure = std::current_exception();
            }
            arrival.Finish();
        });
        // This thread would only wait at first: it has the kernel back the
        // inflated bytes meanwhile, which the inflation then finds ready.
        platform::PrefaultForWriting(inflated->data(), inflated->size());
        read = ReadArrivingBinaryObjects(*inflated, arrival, document, error);
    }
    if (inflateFailure) std::rethrow_exception(inflateFailure);
    if (inflatedWhole) return read;
    document = Document{};
    error = inflateError;
    return false;
}

}  // namespace

bool ReadCompressedBinaryObjects(std::span<const std::uint8_t> file, Document& document, std::string& error)
{
    return Read(file, nullptr, document, error);
}

bool ReadCompressedBinaryObjects(FileBytes&& file, Document& document, std::string& error)
{
    FileBytes owned = std::move(file);
    return Read(owned, &owned, document, error);
}

}  // namespace xfile
