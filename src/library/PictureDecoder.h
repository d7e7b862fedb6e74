#pragma once

#include <QImage>
#include <QSize>
#include <QString>

// Decodes the image file at path (format told by its content) straight to exactly size, the
// whole image stretched or shrunk, aspect ratio not kept. Large JPEG photos are scaled while
// they are decoded, so their full size is never held. EXIF orientation is not applied.
// Returns a null image when the file is no whole image: not a regular file, unreadable, of a
// format or size the reader refuses (its allocation limit stays on), or damaged or cut short
// as far as the reader's complaints or a bitmap's header tell.
QImage DecodeStretched(const QString& path, const QSize& size);
