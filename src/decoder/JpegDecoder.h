#pragma once

#include <QImage>
#include <QSize>
#include <cstdint>
#include <span>

// Decodes a JPEG file's bytes upright (its EXIF orientation applied),
// scaled while decoding to the smallest size libjpeg offers that still covers atLeast once upright.
// Returns a null image when the pixels are not all there: a decoder error, or any warning libjpeg
// raises other than the ones that leave every pixel intact (extraneous bytes before a marker, an
// unknown JFIF revision or Adobe transform, a bad ICC marker). Declared sizes beyond
// DecodeLimits are refused before the decoder allocates for them.
QImage DecodeJpeg(std::span<const std::uint8_t> bytes, const QSize& atLeast);

// True when bytes start as a JPEG file does.
bool LooksLikeJpeg(std::span<const std::uint8_t> bytes);
