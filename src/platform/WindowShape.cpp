#include "platform/WindowShape.h"

#include <xcb/shape.h>
#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

QPainterPath RoundedRectPath(int width, int height, int ellipseWidth, int ellipseHeight) {
    QPainterPath path;
    path.addRoundedRect(QRectF(0, 0, width, height), ellipseWidth / 2.0, ellipseHeight / 2.0);
    return path;
}

// A compositing manager owns the selection _NET_WM_CM_S0 while it runs.
bool X11CompositorRuns() {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr) return false;
    xcb_connection_t* connection = x11->connection();
    const char kName[] = "_NET_WM_CM_S0";
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> atom(
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 1, sizeof kName - 1, kName),
                              nullptr),
        &std::free);
    if (!atom || atom->atom == XCB_ATOM_NONE) return false;
    std::unique_ptr<xcb_get_selection_owner_reply_t, decltype(&std::free)> owner(
        xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, atom->atom),
                                      nullptr),
        &std::free);
    return owner && owner->owner != XCB_WINDOW_NONE;
}

// Cuts an X11 window to region, given in device pixels. Qt's masks are in logical pixels: on a
// screen scaled above 1 they would cut the corners in steps a logical pixel high. False, and
// nothing done, where there is no X11 shape extension.
bool ShapeX11Window(QWidget* window, const QRegion& region) {
    // Other platforms may answer for X11 too, without a connection of their own.
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return false;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 != nullptr ? x11->connection() : nullptr;
    if (connection == nullptr) return false;
    const xcb_query_extension_reply_t* shape = xcb_get_extension_data(connection, &xcb_shape_id);
    if (shape == nullptr || shape->present == 0) return false;
    std::vector<xcb_rectangle_t> rectangles;
    for (const QRect& rect : region) {
        rectangles.push_back(
            {static_cast<std::int16_t>(rect.x()), static_cast<std::int16_t>(rect.y()),
             static_cast<std::uint16_t>(rect.width()), static_cast<std::uint16_t>(rect.height())});
    }
    xcb_shape_rectangles(connection, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_BOUNDING,
                         XCB_CLIP_ORDERING_UNSORTED, static_cast<xcb_window_t>(window->winId()), 0,
                         0, static_cast<std::uint32_t>(rectangles.size()), rectangles.data());
    xcb_flush(connection);
    return true;
}

}  // namespace

QRegion RoundedRectRegion(int width, int height, int ellipseWidth, int ellipseHeight) {
    const double rx = ellipseWidth / 2.0;
    const double ry = ellipseHeight / 2.0;
    QRegion region(0, ry, width, height - 2 * static_cast<int>(ry));
    // Each pixel row of a corner band is as wide as the ellipse is at the row's centre.
    for (int y = 0; y < static_cast<int>(std::ceil(ry)); ++y) {
        const double dy = (ry - (y + 0.5)) / ry;
        const int inset =
            static_cast<int>(std::lround(rx - rx * std::sqrt(std::max(0.0, 1 - dy * dy))));
        region += QRegion(inset, y, width - 2 * inset, 1);
        region += QRegion(inset, height - 1 - y, width - 2 * inset, 1);
    }
    return region;
}

QRegion RoundedRectCover(int width, int height, int ellipseWidth, int ellipseHeight) {
    QImage coverage(width, height, QImage::Format_ARGB32_Premultiplied);
    coverage.fill(Qt::transparent);
    QPainter painter(&coverage);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(RoundedRectPath(width, height, ellipseWidth, ellipseHeight), Qt::black);
    painter.end();
    // Only the rows of the corners are partly covered; every row between them is whole.
    const int band = std::min(static_cast<int>(std::ceil(ellipseHeight / 2.0)), height / 2);
    QRegion region(0, band, width, height - 2 * band);
    const auto addCoveredRuns = [&](int y) {
        for (int x = 0; x < width;) {
            while (x < width && qAlpha(coverage.pixel(x, y)) == 0) ++x;
            const int start = x;
            while (x < width && qAlpha(coverage.pixel(x, y)) != 0) ++x;
            if (x > start) region += QRect(start, y, x - start, 1);
        }
    };
    for (int y = 0; y < band; ++y) {
        addCoveredRuns(y);
        addCoveredRuns(height - 1 - y);
    }
    return region;
}

bool WindowSystemComposites() {
    const QString platform = QGuiApplication::platformName();
    if (platform.startsWith(QLatin1String("wayland"))) return true;
    return platform == QLatin1String("xcb") && X11CompositorRuns();
}

void ShapeWindow(QWidget* window, int ellipseWidth, int ellipseHeight) {
    const int width = window->width();
    const int height = window->height();
    if (!WindowSystemComposites()) {
        const qreal ratio = window->devicePixelRatioF();
        const auto device = [ratio](int length) {
            return static_cast<int>(std::lround(length * ratio));
        };
        if (ratio != 1 && ShapeX11Window(window, RoundedRectRegion(device(width), device(height),
                                                                   device(ellipseWidth),
                                                                   device(ellipseHeight)))) {
            return;
        }
        window->setMask(RoundedRectRegion(width, height, ellipseWidth, ellipseHeight));
        return;
    }
    window->setAttribute(Qt::WA_TranslucentBackground);
    // Under Wayland a mask only limits input; under X11 it also clips what is shown, so it
    // keeps every pixel the anti-aliased edge touches.
    window->setMask(RoundedRectCover(width, height, ellipseWidth, ellipseHeight));
}

bool HasSmoothCorners(const QWidget* window) {
    return window->testAttribute(Qt::WA_TranslucentBackground);
}

void CutRoundedCorners(QPainter& painter, int width, int height, int ellipseWidth,
                       int ellipseHeight) {
    QPainterPath outside;
    outside.addRect(QRectF(0, 0, width, height));
    outside = outside.subtracted(RoundedRectPath(width, height, ellipseWidth, ellipseHeight));
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setCompositionMode(QPainter::CompositionMode_DestinationOut);
    painter.fillPath(outside, Qt::black);
    painter.restore();
}
