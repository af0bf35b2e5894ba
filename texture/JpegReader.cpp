// JPEG files through libjpeg (interface 62). libjpeg reports a fatal error by
// calling error_exit, which must not return: ours jumps back to the reader,
// which then refuses the file instead of ending the program.
#include "platform/Messages.h"
#include "texture/Decoders.h"
#include "texture/ImageLimits.h"
#include "texture/ReadAndUpload.h"
#include "texture/ReaderMessages.h"

#include <csetjmp>
#include <cstdio>
#include <jerror.h>
#include <jpeglib.h>

namespace {

constexpr ReaderWording kJpeg{"Ce fichier: ", "Load_Jpeg", ". ", kErrorCaption};
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

void NoteMessage(j_common_ptr info, int level)
{
    if (level >= 0) return;  // trace levels
    auto* errors = reinterpret_cast<JpegErrors*>(info->err);
    ++info->err->num_warnings;
    if (info->err->msg_code == JWRN_JPEG_EOF) {
        errors->endedEarly = true;
    } else if (!errors->warned) {
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

bool Decompress(JpegSession& session, std::uint8_t* pixels, std::size_t rowBytes)
{
    if (setjmp(session.errors.jump)) return false;
    jpeg_decompress_struct& info = session.info;
    jpeg_start_decompress(&info);
    if (info.output_components != 3 || info.output_width != info.image_width ||
        info.output_height != info.image_height) {
        std::snprintf(session.errors.message, sizeof session.errors.message, "sortie inattendue");
        return false;
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = pixels + static_cast<std::size_t>(info.output_scanline) * rowBytes;
        if (jpeg_read_scanlines(&info, &row, 1) != 1) {
            std::snprintf(session.errors.message, sizeof session.errors.message, "ligne illisible");
            return false;
        }
    }
    jpeg_finish_decompress(&info);
    return true;
}

}  // namespace

Decoded<TextureImage> DecodeJpeg(std::span<const std::uint8_t> bytes, const DecodeContext& context)
{
    Decoded<TextureImage> result;
    const auto refuse = [&](TextureMessage message) {
        result.messages.push_back(std::move(message));
        return result;
    };
    JpegSession session;
    session.errors.name = &context.name;
    const auto undecodable = [&] {
        return refuse(ReaderMessage(kJpeg, context.name,
                                    std::string(" n'a pas pu être décodé (") + session.errors.message + ")"));
    };

    // A file cut short makes libjpeg stumble later on: the cut is what to report.
    if (!ReadHeader(session, bytes))
        return session.errors.endedEarly ? refuse(IncompleteMessage(kJpeg, context.name)) : undecodable();
    const J_COLOR_SPACE space = session.info.jpeg_color_space;
    if (space != JCS_RGB && space != JCS_YCbCr)
        return refuse({"Erreur : l'image doit etre de type RGB", std::string(kErrorCaption)});
    const std::uint32_t width = session.info.image_width;
    const std::uint32_t height = session.info.image_height;
    if (!SidesAccepted(width, height, context.maxSide)) return refuse(SizeMessage(kJpeg, context.name, width, height));

    TextureImage image;
    image.width = width;
    image.height = height;
    image.components = 3;
    std::vector<std::uint8_t> pixels;
    if (!ReserveBytes(pixels, *ImageBytes(width, height, 3))) return refuse(MemoryMessage(kJpeg, context.name));
    const bool decoded = Decompress(session, pixels.data(), static_cast<std::size_t>(width) * 3);
    if (session.errors.endedEarly) return refuse(IncompleteMessage(kJpeg, context.name));
    if (!decoded) return undecodable();
    image.pixels = std::move(pixels);
    result.image = std::move(image);
    return result;
}

HRESULT LoadTexture::Load_Jpeg(const TextureFile& file)
{
    return ReadDecodeUpload(*this, file, ReaderMessage(kJpeg, file.name, " n'existe pas"), DecodeJpeg,
                            GL_LINEAR_MIPMAP_LINEAR);
}
