#include "widgets/JpegImage.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

// Windows: the pictures through Qt's own JPEG plugin (imageformats/qjpeg beside the
// program). Qt's reader decodes what libjpeg only warns about (a file cut short gets an
// end made up for it), so a picture must at least end where a JPEG ends; a scan damaged
// inside may still show garbled where Linux shows an empty area.
namespace JpegImage {

QImage Decode(const QByteArray& bytes)
{
    if (!bytes.startsWith("\xFF\xD8") || !bytes.endsWith("\xFF\xD9"))
        return {};
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "jpeg");
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > kMaxSide || size.height() > kMaxSide)
        return {};
    QImage image;
    if (!reader.read(&image))
        return {};
    return image.convertToFormat(image.isGrayscale() ? QImage::Format_Grayscale8
                                                     : QImage::Format_RGB888);
}

QImage Load(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return Decode(file.readAll());
}

} // namespace JpegImage
