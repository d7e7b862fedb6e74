#include "decoder/CodedColour.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

using Matrix = std::array<std::array<double, 3>, 3>;

// Chromaticities of red, green, blue and white.
struct Primaries {
    double rx, ry, gx, gy, bx, by, wx, wy;
};

constexpr Primaries kBt709{0.64, 0.33, 0.30, 0.60, 0.15, 0.06, 0.3127, 0.3290};

// By H.273 code point; sRGB's for any other.
Primaries PrimariesOf(int code) {
    switch (code) {
        case 4:
            return {0.67, 0.33, 0.21, 0.71, 0.14, 0.08, 0.310, 0.316};
        case 5:
            return {0.64, 0.33, 0.29, 0.60, 0.15, 0.06, 0.3127, 0.3290};
        case 6:
        case 7:
            return {0.630, 0.340, 0.310, 0.595, 0.155, 0.070, 0.3127, 0.3290};
        case 8:
            return {0.681, 0.319, 0.243, 0.692, 0.145, 0.049, 0.310, 0.316};
        case 9:
            return {0.708, 0.292, 0.170, 0.797, 0.131, 0.046, 0.3127, 0.3290};
        case 11:
            return {0.680, 0.320, 0.265, 0.690, 0.150, 0.060, 0.314, 0.351};
        case 12:
            return {0.680, 0.320, 0.265, 0.690, 0.150, 0.060, 0.3127, 0.3290};
        case 22:
            return {0.630, 0.340, 0.295, 0.605, 0.155, 0.077, 0.3127, 0.3290};
        default:
            return kBt709;
    }
}

enum Transfer {
    kBt709Curve = 1,
    kGamma22 = 4,
    kGamma28 = 5,
    kBt601Curve = 6,
    kLinear = 8,
    kSrgbCurve = 13,
    kBt2020Curve10 = 14,
    kBt2020Curve12 = 15,
    kPq = 16,
    kHlg = 18
};

bool IsHdr(int transfer) { return transfer == kPq || transfer == kHlg; }

Matrix Inverse(const Matrix& m) {
    const double det = m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
                       m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
                       m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    Matrix inverse{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            const int r0 = (j + 1) % 3, r1 = (j + 2) % 3, c0 = (i + 1) % 3, c1 = (i + 2) % 3;
            inverse[i][j] = (m[r0][c0] * m[r1][c1] - m[r0][c1] * m[r1][c0]) / det;
        }
    return inverse;
}

Matrix Product(const Matrix& a, const Matrix& b) {
    Matrix product{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            for (int k = 0; k < 3; ++k) product[i][j] += a[i][k] * b[k][j];
    return product;
}

// Linear red, green, blue of these primaries to CIE XYZ, white at Y = 1.
Matrix ToXyz(const Primaries& p) {
    const Matrix columns{
        {{p.rx / p.ry, p.gx / p.gy, p.bx / p.by},
         {1, 1, 1},
         {(1 - p.rx - p.ry) / p.ry, (1 - p.gx - p.gy) / p.gy, (1 - p.bx - p.by) / p.by}}};
    const std::array<double, 3> white{p.wx / p.wy, 1, (1 - p.wx - p.wy) / p.wy};
    const Matrix inverse = Inverse(columns);
    Matrix scaled = columns;
    for (int c = 0; c < 3; ++c) {
        const double scale =
            inverse[c][0] * white[0] + inverse[c][1] * white[1] + inverse[c][2] * white[2];
        for (int r = 0; r < 3; ++r) scaled[r][c] *= scale;
    }
    return scaled;
}

// A coded value (0 to 1) as linear light, SDR white at 1; HDR above it.
double Linear(double v, int transfer) {
    switch (transfer) {
        case kBt709Curve:
        case kBt601Curve:
        case kBt2020Curve10:
        case kBt2020Curve12:
            return v < 0.081 ? v / 4.5 : std::pow((v + 0.099) / 1.099, 1 / 0.45);
        case kGamma22:
            return std::pow(v, 2.2);
        case kGamma28:
            return std::pow(v, 2.8);
        case kLinear:
            return v;
        case kPq: {
            constexpr double m1 = 2610.0 / 16384, m2 = 2523.0 / 4096 * 128;
            constexpr double c1 = 3424.0 / 4096, c2 = 2413.0 / 4096 * 32, c3 = 2392.0 / 4096 * 32;
            const double p = std::pow(v, 1 / m2);
            const double nits = 10000 * std::pow(std::max(p - c1, 0.0) / (c2 - c3 * p), 1 / m1);
            return nits / 203;
        }
        case kHlg: {  // scene light, 0 to 1; the display's light follows from all three
            constexpr double a = 0.17883277, b = 1 - 4 * a, c = 0.55991073;
            return v <= 0.5 ? v * v / 3 : (std::exp((v - c) / a) + b) / 12;
        }
        default:
            return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    }
}

std::uint8_t SrgbByte(double linear) {
    const double v = std::clamp(linear, 0.0, 1.0);
    const double coded = v <= 0.0031308 ? v * 12.92 : 1.055 * std::pow(v, 1 / 2.4) - 0.055;
    return static_cast<std::uint8_t>(std::lround(coded * 255));
}

}  // namespace

bool IsSrgb(CodedColour colour) {
    const bool primaries = colour.primaries == 1 || colour.primaries == 2;
    const bool transfer = colour.transfer == kSrgbCurve || colour.transfer == 2;
    return primaries && transfer;
}

void ConvertCodedToSrgb(std::vector<std::uint8_t>& rgb, CodedColour colour) {
    if (IsSrgb(colour)) return;
    const Matrix toXyz = ToXyz(PrimariesOf(colour.primaries));
    const Matrix toSrgb = Product(Inverse(ToXyz(kBt709)), toXyz);
    const std::array<double, 3> luma{toXyz[1][0], toXyz[1][1], toXyz[1][2]};
    std::array<double, 256> linear{};
    for (int v = 0; v < 256; ++v) linear[v] = Linear(v / 255.0, colour.transfer);
    // HLG's reference display: 1000 cd/m2 at its peak, system gamma 1.2 on scene luminance.
    constexpr double kHlgPeak = 1000.0 / 203;
    constexpr double kHlgGamma = 1.2;
    // The extended Reinhard operator's white: content brighter than 1000 cd/m2 is rare.
    constexpr double kWhite = 1000.0 / 203;
    for (std::size_t at = 0; at + 2 < rgb.size(); at += 3) {
        std::array<double, 3> light{linear[rgb[at]], linear[rgb[at + 1]], linear[rgb[at + 2]]};
        if (IsHdr(colour.transfer)) {
            double y = luma[0] * light[0] + luma[1] * light[1] + luma[2] * light[2];
            if (colour.transfer == kHlg) {
                const double scale = kHlgPeak * std::pow(std::max(y, 1e-9), kHlgGamma - 1);
                for (double& channel : light) channel *= scale;
                y *= scale;
            }
            if (y > 0) {
                const double mapped = y * (1 + y / (kWhite * kWhite)) / (1 + y);
                for (double& channel : light) channel *= mapped / y;
            }
        }
        for (int c = 0; c < 3; ++c)
            rgb[at + c] = SrgbByte(toSrgb[c][0] * light[0] + toSrgb[c][1] * light[1] +
                                   toSrgb[c][2] * light[2]);
    }
}
