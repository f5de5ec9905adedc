#include "output/JpegCodec.h"

#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <stdexcept>

#include <QImage>

#include <jpeglib.h>

namespace {

constexpr int kQuality = 90;

// Pictures larger than this are refused before the library allocates for them.
constexpr int64_t kMaxPixels = 64 * 1024 * 1024;
constexpr long kMaxLibraryMemory = 512L * 1024 * 1024;

// Where an error jumps back to, and its message.
struct TJpegErrors
{
    jpeg_error_mgr Manager;
    std::jmp_buf Jump;
    char Message[JMSG_LENGTH_MAX];
};

// One compression or decompression: the library's state and an error manager that jumps back
// instead of ending the program. It lives in the caller's frame, so nothing that the jump skips
// needs destroying.
template <typename TInfo>
struct TJpegJobOf
{
    TInfo Info;
    TJpegErrors Errors;
};
using TJpegJob = TJpegJobOf<jpeg_compress_struct>;
using TJpegReadJob = TJpegJobOf<jpeg_decompress_struct>;

[[noreturn]] void ErrorExit(j_common_ptr info)
{
    auto* errors = static_cast<TJpegErrors*>(info->client_data);
    (*info->err->format_message)(info, errors->Message);
    std::longjmp(errors->Jump, 1);
}

void NoMessage(j_common_ptr)
{
}

template <typename Job>
void SetUpErrors(Job& job)
{
    job.Info.err = jpeg_std_error(&job.Errors.Manager);
    job.Errors.Manager.error_exit = ErrorExit;
    job.Errors.Manager.output_message = NoMessage;
    job.Info.client_data = &job.Errors;
}

// Only plain values live in this frame: the error path leaves it through longjmp.
bool Compress(TJpegJob& job, const uchar* pixels, qsizetype stride, JDIMENSION width, JDIMENSION height,
              unsigned char** output, unsigned long* outputSize)
{
    SetUpErrors(job);
    if (setjmp(job.Errors.Jump)) {
        jpeg_destroy_compress(&job.Info);
        return false;
    }
    jpeg_create_compress(&job.Info);
    jpeg_mem_dest(&job.Info, output, outputSize);
    job.Info.image_width = width;
    job.Info.image_height = height;
    job.Info.input_components = 3;
    job.Info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&job.Info);
    jpeg_set_quality(&job.Info, kQuality, TRUE);
    jpeg_start_compress(&job.Info, TRUE);
    while (job.Info.next_scanline < job.Info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(pixels + qsizetype(job.Info.next_scanline) * stride);
        jpeg_write_scanlines(&job.Info, &row, 1);
    }
    jpeg_finish_compress(&job.Info);
    jpeg_destroy_compress(&job.Info);
    return true;
}

// Only plain values live in this frame, as above. The picture is made by the caller from the
// rows written into pixels once the size is known.
bool Decompress(TJpegReadJob& job, const QByteArray& bytes, QImage& image)
{
    SetUpErrors(job);
    if (setjmp(job.Errors.Jump)) {
        jpeg_destroy_decompress(&job.Info);
        return false;
    }
    jpeg_create_decompress(&job.Info);
    job.Info.mem->max_memory_to_use = kMaxLibraryMemory;
    jpeg_mem_src(&job.Info, reinterpret_cast<const unsigned char*>(bytes.constData()), (unsigned long)(bytes.size()));
    jpeg_read_header(&job.Info, TRUE);
    job.Info.out_color_space = JCS_RGB;
    if (int64_t(job.Info.image_width) * job.Info.image_height > kMaxPixels) {
        std::snprintf(job.Errors.Message, sizeof job.Errors.Message, "Picture too large");
        jpeg_destroy_decompress(&job.Info);
        return false;
    }
    jpeg_start_decompress(&job.Info);
    image = QImage(int(job.Info.output_width), int(job.Info.output_height), QImage::Format_RGB888);
    // libjpeg writes width * 3 bytes into each row it is given.
    if (image.isNull() || job.Info.output_components != 3) {
        std::snprintf(job.Errors.Message, sizeof job.Errors.Message, "Out of memory");
        jpeg_destroy_decompress(&job.Info);
        return false;
    }
    while (job.Info.output_scanline < job.Info.output_height) {
        JSAMPROW row = image.scanLine(int(job.Info.output_scanline));
        jpeg_read_scanlines(&job.Info, &row, 1);
    }
    jpeg_finish_decompress(&job.Info);
    jpeg_destroy_decompress(&job.Info);
    return true;
}

} // namespace

QImage DecodeJpeg(const QByteArray& bytes, QString* error)
{
    auto job = std::make_unique<TJpegReadJob>();
    QImage image;
    if (Decompress(*job, bytes, image))
        return image;
    if (error)
        *error = QString::fromLocal8Bit(job->Errors.Message);
    return {};
}

QByteArray EncodeJpeg(const QImage& image)
{
    if (image.isNull())
        throw std::invalid_argument("empty picture");
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    // libjpeg reads width * 3 bytes from each row pointer it is given.
    if (rgb.isNull() || rgb.bytesPerLine() < qsizetype(rgb.width()) * 3)
        throw std::runtime_error("colour conversion failed");

    auto job = std::make_unique<TJpegJob>();
    unsigned char* output = nullptr;
    unsigned long outputSize = 0;
    const bool done = Compress(*job, rgb.constBits(), rgb.bytesPerLine(), JDIMENSION(rgb.width()),
                               JDIMENSION(rgb.height()), &output, &outputSize);
    const std::unique_ptr<unsigned char, decltype(&std::free)> owned(output, &std::free);
    if (!done)
        throw std::runtime_error(job->Errors.Message);
    return QByteArray(reinterpret_cast<const char*>(owned.get()), qsizetype(outputSize));
}
