#pragma once

#include <QImage>
#include <QSize>
#include <cstdint>
#include <span>

// True when bytes start as a HEIF or AVIF file does: a file type box naming a brand of a HEIF
// image or sequence that is not only the generic "mif1". Needs no decoder.
bool LooksLikeHeif(std::span<const std::uint8_t> bytes);

// DecodeHeif (HeifDecoder.h) through the HEIF module, loaded on the first call from the folder
// it is installed in. A null image also when the module is missing or cannot be loaded.
QImage DecodeHeifFromModule(std::span<const std::uint8_t> bytes, const QSize& size);
