#include "platform/BitmapLoader.h"

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

namespace platform {

namespace {

struct GObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};

// What the loader tells us while it works: the size before it reserves the
// pixels (so that we can stop it), and which rows it has filled.
struct LoadProgress {
    std::uint32_t maxSide = 0;
    bool sizeKnown = false;
    bool badSize = false;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<bool> rowFilled;
    std::uint32_t filledRows = 0;
};

void OnSizePrepared(GdkPixbufLoader* loader, gint width, gint height, gpointer data)
{
    auto& progress = *static_cast<LoadProgress*>(data);
    progress.sizeKnown = true;
    progress.width = width > 0 ? static_cast<std::uint32_t>(width) : 0;
    progress.height = height > 0 ? static_cast<std::uint32_t>(height) : 0;
    if (progress.width == 0 || progress.height == 0 || progress.width > progress.maxSide ||
        progress.height > progress.maxSide) {
        progress.badSize = true;
        gdk_pixbuf_loader_set_size(loader, 0, 0);  // a size of 0 makes the loader skip the pixels
        return;
    }
    progress.rowFilled.assign(progress.height, false);
}

void OnAreaUpdated(GdkPixbufLoader*, gint, gint y, gint, gint height, gpointer data)
{
    auto& progress = *static_cast<LoadProgress*>(data);
    const auto rows = static_cast<std::int64_t>(progress.rowFilled.size());
    const std::int64_t first = std::max<std::int64_t>(y, 0);
    const std::int64_t end = std::min<std::int64_t>(static_cast<std::int64_t>(y) + height, rows);
    for (std::int64_t row = first; row < end; ++row) {
        if (!progress.rowFilled[static_cast<std::size_t>(row)]) {
            progress.rowFilled[static_cast<std::size_t>(row)] = true;
            ++progress.filledRows;
        }
    }
}

BitmapStatus CopyRgb(const GdkPixbuf* pixbuf, DecodedBitmap& result)
{
    const int channels = gdk_pixbuf_get_n_channels(pixbuf);
    const int stride = gdk_pixbuf_get_rowstride(pixbuf);
    const guchar* pixels = gdk_pixbuf_read_pixels(pixbuf);
    if (gdk_pixbuf_get_bits_per_sample(pixbuf) != 8 || channels < 3 ||
        static_cast<std::uint32_t>(gdk_pixbuf_get_width(pixbuf)) != result.width ||
        static_cast<std::uint32_t>(gdk_pixbuf_get_height(pixbuf)) != result.height)
        return BitmapStatus::Unreadable;
    const std::size_t rowBytes = static_cast<std::size_t>(result.width) * 3;
    try {
        result.rgb.resize(rowBytes * result.height);
    } catch (const std::bad_alloc&) {
        return BitmapStatus::OutOfMemory;
    }
    for (std::uint32_t y = 0; y < result.height; ++y) {
        const guchar* source = pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(stride);
        std::uint8_t* target = result.rgb.data() + y * rowBytes;
        if (channels == 3) {
            std::memcpy(target, source, rowBytes);
            continue;
        }
        for (std::uint32_t x = 0; x < result.width; ++x, source += channels, target += 3) {
            target[0] = source[0];
            target[1] = source[1];
            target[2] = source[2];
        }
    }
    return BitmapStatus::Loaded;
}

}  // namespace

DecodedBitmap DecodeBitmap(std::span<const std::uint8_t> bytes, std::uint32_t maxSide)
{
    DecodedBitmap result;
    if (bytes.empty()) return result;

    // Only the BMP module: a PNG or an SVG renamed .bmp is not a bitmap.
    std::unique_ptr<GdkPixbufLoader, GObjectUnref> loader(gdk_pixbuf_loader_new_with_type("bmp", nullptr));
    if (!loader) return result;

    LoadProgress progress;
    progress.maxSide = maxSide;
    g_signal_connect(loader.get(), "size-prepared", G_CALLBACK(OnSizePrepared), &progress);
    g_signal_connect(loader.get(), "area-updated", G_CALLBACK(OnAreaUpdated), &progress);

    const bool written = gdk_pixbuf_loader_write(loader.get(), bytes.data(), bytes.size(), nullptr);
    const bool closed = gdk_pixbuf_loader_close(loader.get(), nullptr);  // always closed, even after a failed write
    result.width = progress.width;
    result.height = progress.height;

    if (progress.badSize) {
        result.status = BitmapStatus::BadSize;
        return result;
    }
    const GdkPixbuf* pixbuf = gdk_pixbuf_loader_get_pixbuf(loader.get());
    if (!written || !closed || !progress.sizeKnown || pixbuf == nullptr) return result;
    if (progress.filledRows < progress.height) {
        result.status = BitmapStatus::Incomplete;
        return result;
    }
    result.status = CopyRgb(pixbuf, result);
    if (result.status != BitmapStatus::Loaded) result.rgb = {};
    return result;
}

}  // namespace platform
