#pragma once

#include <algorithm>
#include <thread>

// The processors the decoders may use, counted once, on the first call: counting reads a file,
// which a sealed process may not open.
inline unsigned Processors() {
    static const unsigned count = std::max(1u, std::thread::hardware_concurrency());
    return count;
}
