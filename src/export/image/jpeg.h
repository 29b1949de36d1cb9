#pragma once
// JPEG through libjpeg: baseline, 24-bit colour, quality 90 with the library's default settings.
#include <QByteArray>
#include <QImage>

namespace jpeg {

// The image as a JPEG file's bytes; empty when libjpeg refuses.
QByteArray kodiere(const QImage& bild, int qualitaet = 90);

} // namespace jpeg
