#include "output/JpegWriter.h"

#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE
#include <cstdlib>
#include <memory>
#include <stdexcept>

#include <jpeglib.h>

namespace {

constexpr int kQuality = 90;

// One compression: the library's state and an error manager that jumps back instead of ending
// the program. It lives in the caller's frame, so nothing that the jump skips needs destroying.
struct TJpegJob
{
    jpeg_compress_struct Info;
    jpeg_error_mgr Errors;
    std::jmp_buf Jump;
    char Message[JMSG_LENGTH_MAX];
};

[[noreturn]] void ErrorExit(j_common_ptr info)
{
    auto* job = static_cast<TJpegJob*>(info->client_data);
    (*info->err->format_message)(info, job->Message);
    std::longjmp(job->Jump, 1);
}

void NoMessage(j_common_ptr)
{
}

// Only plain values live in this frame: the error path leaves it through longjmp.
bool Compress(TJpegJob& job, const uchar* pixels, qsizetype stride, JDIMENSION width, JDIMENSION height,
              unsigned char** output, unsigned long* outputSize)
{
    job.Info.err = jpeg_std_error(&job.Errors);
    job.Errors.error_exit = ErrorExit;
    job.Errors.output_message = NoMessage;
    job.Info.client_data = &job;
    if (setjmp(job.Jump)) {
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

} // namespace

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
        throw std::runtime_error(job->Message);
    return QByteArray(reinterpret_cast<const char*>(owned.get()), qsizetype(outputSize));
}
