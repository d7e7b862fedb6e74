#include "JpegBytes.h"

#include <QBuffer>
#include <QByteArray>
#include <stdexcept>

std::vector<std::uint8_t> JpegBytes(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.convertToFormat(QImage::Format_RGB32).save(&buffer, "JPG", -1)) {
        throw std::runtime_error("JPEG encoding failed");
    }
    return {bytes.begin(), bytes.end()};
}
