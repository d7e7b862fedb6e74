#pragma once

#include <cstdint>
#include <string>

#include "core/io/Descriptor.h"

// A player's picture file open for reading, when it is a regular file no larger than any
// picture may be (DecodeLimits): a device or a pipe would be read for ever (opening does not
// wait for one), and a huge file is no photo. Otherwise the descriptor owns nothing (-1).
Descriptor OpenPictureFile(const std::string& path);
