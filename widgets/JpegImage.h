#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// JPEG pictures decoded with libjpeg. Anything that is not a whole, sound JPEG (a missing
// file, garbage, a truncated file, a picture libjpeg only warns about, dimensions over
// kMaxSide) gives a null QImage: the caller shows an empty area. Never throws.
// Grey pictures come back as Format_Grayscale8, all others as Format_RGB888.
// Any thread.
namespace JpegImage {

inline constexpr int kMaxSide = 8192; // pixels, either side

QImage Decode(const QByteArray& bytes);
// path may name a Qt resource (":/pictures/main.jpg").
QImage Load(const QString& path);

} // namespace JpegImage
