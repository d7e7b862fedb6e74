#include <QColor>
#include <QPointF>
#include <algorithm>
#include <cmath>
#include <vector>

#include "PaintKit.h"
#include "Pictures.h"
#include "SeededRandom.h"

// A rose window of stained glass: rings of panes round a golden centre, the colours
// turning through the rainbow with the angle, set in dark lead.
namespace {

const QPointF kCentre(200, 150);

struct Pane {
    QPointF seed;
    QColor glass;
};

std::vector<Pane> Panes(SeededRandom& random) {
    std::vector<QPointF> seeds{kCentre};
    const int counts[] = {7, 13, 19, 26};
    const double radii[] = {30, 60, 94, 130};
    for (int ring = 0; ring < 4; ++ring) {
        for (int i = 0; i < counts[ring]; ++i) {
            const double angle = 2 * M_PI * (i + 0.5 * ring) / counts[ring];
            seeds.push_back(kCentre + QPointF(std::cos(angle), std::sin(angle)) * radii[ring]);
        }
    }
    for (double y = 12; y < kPictureHeight + 20; y += 40) {
        for (double x = 12; x < kPictureWidth + 20; x += 42) {
            const QPointF at(x + random.Uniform(-14, 14), y + random.Uniform(-12, 12));
            const QPointF offset = at - kCentre;
            if (std::hypot(offset.x(), offset.y()) > 152) seeds.push_back(at);
        }
    }

    std::vector<Pane> panes;
    for (const QPointF& seed : seeds) {
        const QPointF offset = seed - kCentre;
        const double reach = std::hypot(offset.x(), offset.y());
        const double angle = std::atan2(offset.y(), offset.x()) * 180 / M_PI;
        QColor glass;
        if (reach < 1) {
            glass = QColor(255, 204, 64);
        } else {
            const double hue = angle + 90 + reach * 0.35;
            const double value = 0.78 + random.Uniform(-0.12, 0.12) + (reach < 140 ? 0.08 : 0);
            glass = Hsv(hue, reach < 140 ? 0.78 : 0.62, value);
        }
        panes.push_back({seed, glass});
    }
    return panes;
}

// A fixed speckle so the glass has a grain.
double Grain(int x, int y) {
    std::uint32_t h =
        static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return ((h ^ (h >> 16)) & 0xFF) / 255.0 - 0.5;
}

}  // namespace

QImage PaintMosaic() {
    SeededRandom random(0x524F5345ull);
    const std::vector<Pane> panes = Panes(random);
    const QColor lead(28, 24, 34);
    QImage image = Canvas(kPictureWidth, kPictureHeight);
    for (int y = 0; y < kPictureHeight; ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < kPictureWidth; ++x) {
            double nearest = 1e9;
            double second = 1e9;
            std::size_t index = 0;
            for (std::size_t i = 0; i < panes.size(); ++i) {
                const double dx = x + 0.5 - panes[i].seed.x();
                const double dy = y + 0.5 - panes[i].seed.y();
                const double distance = std::sqrt(dx * dx + dy * dy);
                if (distance < nearest) {
                    second = nearest;
                    nearest = distance;
                    index = i;
                } else if (distance < second) {
                    second = distance;
                }
            }
            // Light falls through the middle of each pane and through the centre most.
            const double fromLight = std::hypot(x - 200.0, y - 120.0);
            const double light = (0.72 + 0.42 * std::exp(-fromLight / 190)) *
                                     (1.12 - std::min(nearest, 40.0) * 0.007) +
                                 Grain(x, y) * 0.06;
            const QColor& glass = panes[index].glass;
            auto lit = [light](int channel) {
                return std::clamp(static_cast<int>(channel * light), 0, 255);
            };
            QColor color(lit(glass.red()), lit(glass.green()), lit(glass.blue()));
            const double edge = (second - nearest) / 2;
            if (edge < 2.2) {
                color = Mix(lead, color, std::max(0.0, edge - 1.2));
            }
            row[x] = color.rgb();
        }
    }
    return image;
}
