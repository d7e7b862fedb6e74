#pragma once

#include <QImage>
#include <QSize>
#include <string>

// Decodes the image file at path (its bytes, passed to the file system as they are; format told
// by its content) upright, as a viewer shows it, then stretched to exactly size, aspect ratio not
// kept. JPEG goes through libjpeg (scaled while decoding, EXIF orientation applied), HEIC, HEIF
// and AVIF through libheif in the HEIF module, every other format (BMP, PNG, GIF's first frame,
// TIFF, WebP, ...) through Qt's readers with their orientation applied (for PNG and WebP, that of
// their EXIF chunk). Returns a null image when the file is no whole image: not a regular file,
// unreadable, larger than DecodeLimits allow or declaring such a size, of no format decoded here,
// or damaged or cut short as far as its decoder, or a bitmap's header, tells.
QImage DecodeStretched(const std::string& path, const QSize& size);
