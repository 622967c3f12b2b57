#include "widgets/JpegImage.h"

#include <QFile>

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace JpegImage {
namespace {

// libjpeg reports a fatal error by calling error_exit, which must not return: we jump
// back to the decoder. A warning (corrupt data, a truncated file) means the picture would
// come out damaged, so it is treated the same way.
struct ErrorManager
{
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

[[noreturn]] void ErrorExit(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

void EmitMessage(j_common_ptr info, int level)
{
    if (level < 0)
        ErrorExit(info);
}

void OutputMessage(j_common_ptr) {}

// Adobe writes CMYK inverted (0 = full ink), others plainly.
void CmykToRgb(const JSAMPLE* cmyk, uchar* rgb, unsigned width, bool inverted)
{
    for (unsigned x = 0; x < width; ++x, cmyk += 4, rgb += 3) {
        const unsigned c = inverted ? cmyk[0] : 255u - cmyk[0];
        const unsigned m = inverted ? cmyk[1] : 255u - cmyk[1];
        const unsigned y = inverted ? cmyk[2] : 255u - cmyk[2];
        const unsigned k = inverted ? cmyk[3] : 255u - cmyk[3];
        rgb[0] = uchar(c * k / 255u);
        rgb[1] = uchar(m * k / 255u);
        rgb[2] = uchar(y * k / 255u);
    }
}

// Everything the decoder changes lives here, outside the frame that calls setjmp, so that
// nothing is left indeterminate after the jump and the image is destroyed normally.
struct Decoder
{
    jpeg_decompress_struct info{};
    ErrorManager error{};
    QImage image;
    bool created = false;
};

// Only plain C data on this frame: longjmp skips no destructor.
bool Run(Decoder& d, const unsigned char* data, unsigned long size)
{
    d.info.err = jpeg_std_error(&d.error.base);
    d.error.base.error_exit = ErrorExit;
    d.error.base.emit_message = EmitMessage;
    d.error.base.output_message = OutputMessage;
    if (setjmp(d.error.jump))
        return false;

    jpeg_create_decompress(&d.info);
    d.created = true;
    jpeg_mem_src(&d.info, data, size);
    if (jpeg_read_header(&d.info, TRUE) != JPEG_HEADER_OK)
        return false;

    if (d.info.jpeg_color_space == JCS_GRAYSCALE) {
        d.info.out_color_space = JCS_GRAYSCALE;
    } else if (d.info.jpeg_color_space == JCS_CMYK || d.info.jpeg_color_space == JCS_YCCK) {
        d.info.out_color_space = JCS_CMYK;
    } else {
        d.info.out_color_space = JCS_RGB;
    }
    jpeg_calc_output_dimensions(&d.info);
    if (d.info.output_width == 0 || d.info.output_height == 0 ||
        d.info.output_width > unsigned(kMaxSide) || d.info.output_height > unsigned(kMaxSide))
        return false;

    const bool cmyk = d.info.out_color_space == JCS_CMYK;
    d.image = QImage(int(d.info.output_width), int(d.info.output_height),
                     d.info.out_color_space == JCS_GRAYSCALE ? QImage::Format_Grayscale8
                                                             : QImage::Format_RGB888);
    if (d.image.isNull())
        return false; // out of memory

    jpeg_start_decompress(&d.info);
    // CMYK rows go through a buffer of libjpeg's own, freed with the decompressor.
    JSAMPARRAY cmykRow = cmyk ? (*d.info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&d.info),
                                                            JPOOL_IMAGE, d.info.output_width * 4, 1)
                              : nullptr;
    while (d.info.output_scanline < d.info.output_height) {
        uchar* line = d.image.scanLine(int(d.info.output_scanline));
        JSAMPROW row = cmyk ? cmykRow[0] : line;
        if (jpeg_read_scanlines(&d.info, &row, 1) != 1)
            return false;
        if (cmyk)
            CmykToRgb(row, line, d.info.output_width, d.info.saw_Adobe_marker);
    }
    jpeg_finish_decompress(&d.info);
    return true;
}

} // namespace

QImage Decode(const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return {};
    Decoder d;
    const bool ok = Run(d, reinterpret_cast<const unsigned char*>(bytes.constData()),
                        static_cast<unsigned long>(bytes.size()));
    if (d.created)
        jpeg_destroy_decompress(&d.info);
    return ok ? d.image : QImage();
}

QImage Load(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return Decode(file.readAll());
}

} // namespace JpegImage
