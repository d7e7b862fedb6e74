#include "decoder/Orientation.h"

namespace {

// Where the pixel shown at (x, y) is stored: (y, x) when transposed, then mirrored across.
struct Turn {
    bool transposed;
    bool mirroredAcross;  // left to right in the stored picture
    bool mirroredDown;    // top to bottom in the stored picture
};

// By EXIF orientation, 1 to 8.
constexpr Turn kTurns[] = {{false, false, false}, {false, true, false}, {false, true, true},
                           {false, false, true},  {true, false, false}, {true, false, true},
                           {true, true, true},    {true, true, false}};

}  // namespace

std::vector<std::uint8_t> Upright(const std::vector<std::uint8_t>& rgb, layout::Size stored,
                                  int orientation) {
    if (orientation < 2 || orientation > 8) return rgb;
    const Turn turn = kTurns[orientation - 1];
    const int width = turn.transposed ? stored.height : stored.width;
    const int height = turn.transposed ? stored.width : stored.height;
    std::vector<std::uint8_t> upright(rgb.size());
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int across = turn.transposed ? y : x;
            const int down = turn.transposed ? x : y;
            const std::size_t storedX = turn.mirroredAcross ? stored.width - 1 - across : across;
            const std::size_t storedY = turn.mirroredDown ? stored.height - 1 - down : down;
            const std::size_t from = (storedY * stored.width + storedX) * 3;
            const std::size_t to = (static_cast<std::size_t>(y) * width + x) * 3;
            for (std::size_t channel = 0; channel < 3; ++channel)
                upright[to + channel] = rgb[from + channel];
        }
    }
    return upright;
}
