// JPEG files through libjpeg (interface 62). libjpeg reports a fatal error by
// calling error_exit, which must not return: ours jumps back to the reader,
// which then refuses the file instead of ending the program.
//
// A file whose data ends before its image does is refused as incomplete: one
// whose data is too short for the blocks its header announces before anything
// is reserved, one cut short (or cut by a marker) as soon as libjpeg finds it.
#include "platform/Messages.h"
#include "texture/Decoders.h"
#include "texture/GrowingPixels.h"
#include "texture/ImageLimits.h"
#include "texture/LoadTexture.h"
#include "texture/TextureMessages.h"

#include <csetjmp>
#include <cstdio>
#include <jerror.h>
#include <jpeglib.h>

namespace {

// A progressive file of thousands of tiny scans would take minutes to decode.
constexpr int kScanLimit = 500;

struct JpegErrors {
    jpeg_error_mgr standard;  // first, so that libjpeg's pointer to it is a pointer to us
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    bool endedEarly;
    bool warned;
    const std::string* name;
};

struct JpegProgress {
    jpeg_progress_mgr standard;
    JpegErrors* errors;
};

[[noreturn]] void ReturnToReader(j_common_ptr info)
{
    auto* errors = reinterpret_cast<JpegErrors*>(info->err);
    (*info->err->format_message)(info, errors->message);
    std::longjmp(errors->jump, 1);
}

// The warnings by which libjpeg says the data ends before the image: the file
// ends (it then makes up an end marker), or a marker cuts the entropy-coded data.
bool MeansDataEndsEarly(int code) { return code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER; }

void NoteMessage(j_common_ptr info, int level)
{
    if (level >= 0) return;  // trace levels
    auto* errors = reinterpret_cast<JpegErrors*>(info->err);
    ++info->err->num_warnings;
    if (MeansDataEndsEarly(info->err->msg_code)) {
        // libjpeg would go on with zeros: every row left would be grey.
        errors->endedEarly = true;
        std::longjmp(errors->jump, 1);
    }
    if (!errors->warned) {
        // Corrupt data is decoded on; only the first warning is worth a line.
        errors->warned = true;
        char text[JMSG_LENGTH_MAX];
        (*info->err->format_message)(info, text);
        platform::Trace("Ce fichier: " + *errors->name + " : " + text + ". Load_Jpeg\n");
    }
}

void CheckScanCount(j_common_ptr info)
{
    if (!info->is_decompressor) return;
    const auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
    if (decompress->input_scan_number <= kScanLimit) return;
    auto* errors = reinterpret_cast<JpegProgress*>(info->progress)->errors;
    std::snprintf(errors->message, sizeof errors->message, "plus de %d passes", kScanLimit);
    std::longjmp(errors->jump, 1);
}

// Every 8 x 8 block of every component costs a Huffman-coded file one bit at
// least: its DC difference, coded in the component's sequential scan or in
// its first progressive scan, has a code of one bit or more. Data after the
// first scan header holding fewer bits than the header's blocks cannot hold
// the image; this bounds the pixels, and the coefficient buffers libjpeg
// reserves for multi-scan files, by the data actually there.
bool DataCanHoldBlocks(const jpeg_decompress_struct& info)
{
    std::uint64_t blocks = 0;
    for (int c = 0; c < info.num_components; ++c)
        blocks += std::uint64_t{info.comp_info[c].width_in_blocks} * info.comp_info[c].height_in_blocks;
    return blocks <= 8 * std::uint64_t{info.src->bytes_in_buffer};
}

// Puts libjpeg's own text for one of its message codes in `message`.
void KeepLibraryText(jpeg_decompress_struct& info, int code, char (&message)[JMSG_LENGTH_MAX])
{
    info.err->msg_code = code;
    (*info.err->format_message)(reinterpret_cast<j_common_ptr>(&info), message);
}

// Everything libjpeg needs for one file. Lives in the frame of DecodeJpeg, so
// that no jump from libjpeg ever passes over it.
struct JpegSession {
    jpeg_decompress_struct info;
    JpegErrors errors;
    JpegProgress progress;

    JpegSession()
    {
        info = {};
        errors = {};
        progress = {};
        info.err = jpeg_std_error(&errors.standard);
        errors.standard.error_exit = ReturnToReader;
        errors.standard.emit_message = NoteMessage;
        progress.standard.progress_monitor = CheckScanCount;
        progress.errors = &errors;
    }
    ~JpegSession() { jpeg_destroy_decompress(&info); }  // safe before creation: no memory manager yet
    JpegSession(const JpegSession&) = delete;
    JpegSession& operator=(const JpegSession&) = delete;
};

// The two stages that libjpeg may leave by a jump. They hold no object with a
// destructor, and nothing they change is read after a jump but the session.
bool ReadHeader(JpegSession& session, std::span<const std::uint8_t> bytes)
{
    if (setjmp(session.errors.jump)) return false;
    jpeg_create_decompress(&session.info);
    session.info.progress = &session.progress.standard;
    jpeg_mem_src(&session.info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&session.info, TRUE);
    return true;
}

enum class Decompressed { Whole, Failed, OutOfMemory };

Decompressed Decompress(JpegSession& session, GrowingPixels& pixels)
{
    if (setjmp(session.errors.jump)) return Decompressed::Failed;
    jpeg_decompress_struct& info = session.info;
    jpeg_start_decompress(&info);
    if (info.output_components != 3 || info.output_width != info.image_width ||
        info.output_height != info.image_height) {
        std::snprintf(session.errors.message, sizeof session.errors.message, "sortie inattendue");
        return Decompressed::Failed;
    }
    while (info.output_scanline < info.output_height) {
        if (!pixels.Reach(info.output_scanline + 1)) return Decompressed::OutOfMemory;
        JSAMPROW row = pixels.Row(info.output_scanline);
        if (jpeg_read_scanlines(&info, &row, 1) != 1) {
            std::snprintf(session.errors.message, sizeof session.errors.message, "ligne illisible");
            return Decompressed::Failed;
        }
    }
    jpeg_finish_decompress(&info);
    return Decompressed::Whole;
}

}  // namespace

Decoded<TextureImage> DecodeJpeg(std::span<const std::uint8_t> bytes, const DecodeContext& context)
{
    Decoded<TextureImage> result;
    JpegSession session;
    session.errors.name = &context.name;
    const auto undecodable = [&] {
        const std::string tail = std::string(" n'a pas pu être décodé (") + session.errors.message + ")";
        return Refuse(result, ReaderMessage(kJpeg, context.name, tail));
    };

    // A file cut short makes libjpeg stumble later on: the cut is what to report.
    if (!ReadHeader(session, bytes))
        return session.errors.endedEarly ? Refuse(result, IncompleteMessage(kJpeg, context.name)) : undecodable();
    const J_COLOR_SPACE space = session.info.jpeg_color_space;
    if (space != JCS_RGB && space != JCS_YCbCr)
        return Refuse(result, {"Erreur : l'image doit etre de type RGB", std::string(kErrorCaption)});
    const std::uint32_t width = session.info.image_width;
    const std::uint32_t height = session.info.image_height;
    if (!SidesAccepted(width, height, context.maxSide))
        return Refuse(result, SizeMessage(kJpeg, context.name, width, height));
    // Arithmetic coding can spend less than a bit on a block, so its data
    // bounds nothing; libjpeg 6b never read it either.
    if (session.info.arith_code) {
        KeepLibraryText(session.info, JERR_ARITH_NOTIMPL, session.errors.message);
        return undecodable();
    }
    if (!DataCanHoldBlocks(session.info)) return Refuse(result, IncompleteMessage(kJpeg, context.name));

    GrowingPixels pixels(std::size_t{width} * 3, height);
    const Decompressed decoded = Decompress(session, pixels);
    if (session.errors.endedEarly) return Refuse(result, IncompleteMessage(kJpeg, context.name));
    if (decoded == Decompressed::OutOfMemory) return Refuse(result, MemoryMessage(kJpeg, context.name));
    if (decoded == Decompressed::Failed) return undecodable();
    TextureImage image;
    image.width = width;
    image.height = height;
    image.components = 3;
    image.pixels = pixels.Take();
    result.image = std::move(image);
    return result;
}

HRESULT LoadTexture::Load_Jpeg(const TextureFile& file)
{
    return ReadDecodeUpload(file, TextureFormat::Jpeg, GL_LINEAR_MIPMAP_LINEAR);
}
