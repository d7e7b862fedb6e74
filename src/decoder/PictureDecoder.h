#pragma once

#include <QImage>
#include <QSize>
#include <cstdint>
#include <span>
#include <string>

// What the sealed decoder makes of a picture file: the picture, or why there is none.
struct DecodedPicture {
    QImage image;         // exactly the size asked for, opaque RGB32; null when refused
    std::string refusal;  // why it was refused, for the curious; empty when decoded
};

// Decodes a picture file's bytes (format told by its content) upright, as a viewer shows it,
// stretched to exactly size, aspect ratio not kept, with any transparent part on black. JPEG
// goes through libjpeg (scaled while decoding, EXIF orientation applied), HEIC, HEIF and AVIF
// through libheif, TIFF through libtiff, every other format (BMP, PNG, GIF's first frame, WebP,
// ...) through Qt's readers with their orientation applied (for PNG and WebP, that of their EXIF
// chunk). Refused: a file cut short or damaged as far as its decoder or its structure tells; one
// declaring or stating a size beyond DecodeLimits; one no decoder here takes; and one that
// decodes to other pixels a second time, when new memory is filled otherwise (its decoder read
// memory it never wrote; not asked of JPEG, PNG, WebP and HEIF other than an overlay, whose
// decoders write every pixel or fail). Call PrepareDecoding (DecoderSetup.h) first.
DecodedPicture DecodePicture(std::span<const std::uint8_t> bytes, const QSize& size);
