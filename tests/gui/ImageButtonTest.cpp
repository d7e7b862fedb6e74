#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QTest>
#include <QWidget>
#include <array>

#include "platform/Messages.h"
#include "skin/EdgeRect.h"
#include "skin/FocusRing.h"
#include "skin/ImageButton.h"
#include "support/qt/SkinPictures.h"

namespace {

constexpr QRgb kFill = 0xff366ab3;
constexpr QRgb kNormal = 0xffff0000;
constexpr QRgb kMouseOn = 0xff00ff00;
constexpr QRgb kMouseDown = 0xff0000ff;

// Pictures 10 x 6, button rectangles 12 x 8: a picture smaller than its rectangle shows that
// the picture, not the rectangle, decides the painted size.
const QRect kFirstRect = RectFromEdges(10, 10, 22, 18);
const QRect kSecondRect = RectFromEdges(22, 10, 34, 18);  // touches the first at x = 22
const QRect kPictureArea(10, 10, 10, 6);
const QRect kMarker(59, 39, 1, 1);  // a pixel of the panel that no button covers
constexpr int kFirstId = 3;
constexpr int kSecondId = 4;

enum class Missing { None, Normal, MouseOn };

void SetUpButton(ImageButton& button, QWidget* parent, bool latching, int id, const QRect& rect,
                 Missing missing = Missing::None) {
    button.SetUp(parent, latching, id, rect,
                 missing == Missing::Normal ? nullptr : test::SolidPicture(10, 6, kNormal),
                 missing == Missing::MouseOn ? nullptr : test::SolidPicture(10, 6, kMouseOn),
                 test::SolidPicture(10, 6, kMouseDown));
}

// The colour a lone button paints at its picture's place, or kFill when it paints nothing
// there; fails the test when the painting is not one solid picture of the expected size.
QRgb PaintedColour(const ImageButton& button) {
    QImage canvas = test::Solid(60, 40, kFill);
    QPainter painter(&canvas);
    button.Draw(painter);
    painter.end();
    const QRgb colour = canvas.pixel(kPictureArea.topLeft());
    if (colour == kFill) return test::AllPixelsAre(canvas, canvas.rect(), kFill) ? kFill : 0;
    const bool exact = test::AllPixelsAre(canvas, kPictureArea, colour) &&
                       test::AllPixelsOutsideAre(canvas, kPictureArea, kFill);
    return exact ? colour : 0;
}

// A skinned owner as every panel is one: paints its buttons over a fill, forwards the mouse
// to every button, and takes the clicks as notifications.
class SkinnedPanel : public MessageReceiver<QWidget> {
    Q_OBJECT

public:
    explicit SkinnedPanel(bool latching) {
        setFixedSize(60, 40);
        setMouseTracking(true);
        SetUpButton(buttons[0], this, latching, kFirstId, kFirstRect);
        SetUpButton(buttons[1], this, latching, kSecondId, kSecondRect);
    }

    QImage Rendered() {
        QImage image(size(), QImage::Format_RGB32);
        QPainter painter(&image);
        Compose(painter);
        return image;
    }

    std::array<ImageButton, 2> buttons;
    std::vector<int> clicks;
    QStringList log;
    QRegion painted;
    int markerPaints = 0;

protected:
    void paintEvent(QPaintEvent* event) override {
        painted += event->region();
        if (event->region().contains(kMarker)) ++markerPaints;
        QPainter painter(this);
        Compose(painter);
    }

    void mouseMoveEvent(QMouseEvent* event) override {
        for (ImageButton& button : buttons) button.OnMouseMove(event->position().toPoint());
    }

    void mousePressEvent(QMouseEvent* event) override {
        for (ImageButton& button : buttons) button.OnLButtonDown(event->position().toPoint());
    }

    void mouseReleaseEvent(QMouseEvent* event) override {
        for (ImageButton& button : buttons) button.OnLButtonUp(event->position().toPoint());
        log << "release handled";
    }

    qintptr OnMessage(unsigned message, quintptr first, qintptr second) override {
        if (message == UM_BUTTONCLICK && second == 0) {
            clicks.push_back(static_cast<int>(first));
            log << "click";
        }
        return 0;
    }

private:
    void Compose(QPainter& painter) {
        painter.fillRect(rect(), QColor::fromRgb(kFill));
        for (const ImageButton& button : buttons) button.Draw(painter);
    }
};

// Waits until everything invalidated so far is painted, and returns the region painted since
// the last call. Invalidating a marker pixel far from the buttons and waiting for its paint
// makes sure that every earlier invalidation has been painted too.
QRegion PaintsSettled(SkinnedPanel& panel) {
    const int before = panel.markerPaints;
    panel.update(kMarker);
    if (!QTest::qWaitFor([&] { return panel.markerPaints > before; })) {
        QTest::qFail("the panel was never repainted", __FILE__, __LINE__);
        return {};
    }
    QRegion region = panel.painted - QRegion(kMarker);
    panel.painted = QRegion();
    return region;
}

// Shows the panel with the pointer parked on it away from the buttons, so that every later
// move in a test really moves the pointer.
void ShowAndSettle(SkinnedPanel& panel) {
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    QTest::mouseMove(&panel, QPoint(1, 1));
    PaintsSettled(panel);
}

const QPoint kOutside(50, 30);
const QPoint kOverFirst(15, 12);

// A button of 40 x 24 whose pictures draw a body inset by 1 (2 below) with corners of radius 7.
constexpr layout::ButtonOutline kRaised{{1, 1, 1, 2}, 7};
const QRect kRingButton(0, 0, 40, 24);

// The ring of a focused button on a device of ratio, over the fill.
QImage RingOf(const ImageButton& button, int ratio) {
    QImage canvas = test::Solid(kRingButton.width() * ratio, kRingButton.height() * ratio, kFill);
    canvas.setDevicePixelRatio(ratio);
    QPainter painter(&canvas);
    DrawFocusRing(painter, button.Shape(ratio));
    return canvas;
}

// The colours in from an edge point by point, step device pixels apart.
QList<QRgb> Inward(const QImage& image, QPoint from, QPoint step, int count) {
    QList<QRgb> colours;
    for (int i = 0; i < count; ++i) colours << image.pixel(from + i * step);
    return colours;
}

}  // namespace

class ImageButtonTest : public QObject {
    Q_OBJECT

private slots:
    // Every state the mouse and the selection can leave a button in, and the picture it shows.
    void PictureFollowsTheState_data() {
        QTest::addColumn<bool>("latching");
        QTest::addColumn<bool>("hover");
        QTest::addColumn<bool>("pressed");
        QTest::addColumn<bool>("selected");
        QTest::addColumn<QRgb>("picture");
        QTest::newRow("plain idle") << false << false << false << false << kNormal;
        QTest::newRow("plain pressed then left") << false << false << true << false << kNormal;
        QTest::newRow("plain hovered") << false << true << false << false << kMouseOn;
        QTest::newRow("plain pressed over") << false << true << true << false << kMouseDown;
        QTest::newRow("latching idle") << true << false << false << false << kNormal;
        QTest::newRow("latching pressed then left") << true << false << true << false << kNormal;
        QTest::newRow("latching selected") << true << false << false << true << kMouseDown;
        QTest::newRow("latching selected, pressed elsewhere")
            << true << false << true << true << kMouseDown;
        QTest::newRow("latching hovered") << true << true << false << false << kMouseOn;
        QTest::newRow("latching pressed over") << true << true << true << false << kMouseDown;
        QTest::newRow("latching selected, hovered") << true << true << false << true << kMouseDown;
        QTest::newRow("latching selected, pressed over")
            << true << true << true << true << kMouseDown;
    }

    void PictureFollowsTheState() {
        QFETCH(bool, latching);
        QFETCH(bool, hover);
        QFETCH(bool, pressed);
        QFETCH(bool, selected);
        QFETCH(QRgb, picture);
        ImageButton button;
        SetUpButton(button, nullptr, latching, kFirstId, kFirstRect);
        if (selected) button.Select();
        // A press counts wherever it happens; hover is what the last move left.
        button.OnMouseMove(pressed && !hover ? kOverFirst : kOutside);
        if (pressed) button.OnLButtonDown(kOverFirst);
        button.OnMouseMove(hover ? kOverFirst : kOutside);
        QCOMPARE(PaintedColour(button), picture);
    }

    void PictureLargerThanTheRectangleOverflowsIt() {
        ImageButton button;
        button.SetUp(nullptr, false, 1, RectFromEdges(5, 5, 9, 9),
                     test::SolidPicture(20, 10, kNormal), nullptr, nullptr);
        QImage canvas = test::Solid(40, 30, kFill);
        QPainter painter(&canvas);
        button.Draw(painter);
        painter.end();
        QCOMPARE(test::PaintedArea(canvas, kFill), QRect(5, 5, 20, 10));
    }

    void WithoutNormalPictureNothingIsDrawnInAnyState() {
        for (bool latching : {false, true}) {
            ImageButton button;
            SetUpButton(button, nullptr, latching, kFirstId, kFirstRect, Missing::Normal);
            QCOMPARE(PaintedColour(button), kFill);
            button.OnMouseMove(kOverFirst);
            QCOMPARE(PaintedColour(button), kFill);
            button.OnLButtonDown(kOverFirst);
            QCOMPARE(PaintedColour(button), kFill);
            QVERIFY(button.OnLButtonUp(kOverFirst));  // still clickable
            QCOMPARE(PaintedColour(button), kFill);
        }
    }

    void WithoutMouseOnPictureHoverShowsTheBackground() {
        ImageButton button;
        SetUpButton(button, nullptr, false, kFirstId, kFirstRect, Missing::MouseOn);
        button.OnMouseMove(kOverFirst);
        QCOMPARE(PaintedColour(button), kFill);
        button.OnLButtonDown(kOverFirst);
        QCOMPARE(PaintedColour(button), kMouseDown);
    }

    void SettingUpAgainReplacesPicturesAndKeepsTheState() {
        ImageButton button;
        SetUpButton(button, nullptr, true, kFirstId, kFirstRect);
        button.Select();
        button.SetUp(nullptr, true, kFirstId, kFirstRect, test::SolidPicture(10, 6, 0xff111111),
                     test::SolidPicture(10, 6, 0xff222222), test::SolidPicture(10, 6, 0xff333333));
        QCOMPARE(PaintedColour(button), QRgb(0xff333333));
    }

    void PressReportsWhetherThePointerIsOverTheButton() {
        ImageButton button;
        SetUpButton(button, nullptr, false, kFirstId, kFirstRect);
        QVERIFY(!button.OnLButtonDown(kOverFirst));  // no move yet: not over it
        button.OnMouseMove(kOverFirst);
        QVERIFY(button.OnLButtonDown(kOutside));  // the last move decides, not the point
    }

    void RightAndBottomEdgesAreOutside() {
        ImageButton button;
        SetUpButton(button, nullptr, false, kFirstId, kFirstRect);
        button.OnMouseMove(QPoint(21, 17));
        QCOMPARE(PaintedColour(button), kMouseOn);
        button.OnMouseMove(QPoint(22, 12));
        QCOMPARE(PaintedColour(button), kNormal);
        button.OnMouseMove(QPoint(15, 18));
        QCOMPARE(PaintedColour(button), kNormal);
        button.OnMouseMove(QPoint(10, 10));
        QCOMPARE(PaintedColour(button), kMouseOn);
    }

    void SelectAndDeselectLeaveAPlainButtonAlone() {
        ImageButton button;
        SetUpButton(button, nullptr, false, kFirstId, kFirstRect);
        button.Select();
        QCOMPARE(PaintedColour(button), kNormal);
        button.Deselect();
        QCOMPARE(PaintedColour(button), kNormal);
    }

    void PressOutsideThenReleaseOverTheButtonIsAClick() {
        SkinnedPanel panel(false);
        ShowAndSettle(panel);
        QTest::mouseMove(&panel, kOutside);
        QTest::mousePress(&panel, Qt::LeftButton, {}, kOutside);
        QTest::mouseMove(&panel, kOverFirst);
        QTest::mouseRelease(&panel, Qt::LeftButton, {}, kOverFirst);
        QTRY_COMPARE(panel.clicks, std::vector<int>{kFirstId});
    }

    void PressOverThenReleaseOutsideIsNoClickAndShowsNormalOnLeaving() {
        SkinnedPanel panel(false);
        ShowAndSettle(panel);
        QTest::mouseMove(&panel, kOverFirst);
        QTest::mousePress(&panel, Qt::LeftButton, {}, kOverFirst);
        QCOMPARE(panel.Rendered().pixel(kOverFirst), kMouseDown);
        QTest::mouseMove(&panel, kOutside);
        QCOMPARE(panel.Rendered().pixel(kOverFirst), kNormal);
        QTest::mouseRelease(&panel, Qt::LeftButton, {}, kOutside);
        QCoreApplication::sendPostedEvents();
        QVERIFY(panel.clicks.empty());
    }

    void ClickIsHandledAfterTheReleaseHasBeenProcessed() {
        SkinnedPanel panel(false);
        ShowAndSettle(panel);
        QTest::mouseMove(&panel, kOverFirst);
        QTest::mouseClick(&panel, Qt::LeftButton, {}, kOverFirst);
        QVERIFY(panel.clicks.empty());  // queued, not yet delivered
        QCoreApplication::sendPostedEvents(&panel);
        QCOMPARE(panel.log, (QStringList{"release handled", "click"}));
        QCOMPARE(panel.clicks, std::vector<int>{kFirstId});
    }

    void PlainButtonShowsMouseOnRightAfterAClickAndReportsEveryClick() {
        SkinnedPanel panel(false);
        ShowAndSettle(panel);
        QTest::mouseMove(&panel, kOverFirst);
        QTest::mouseClick(&panel, Qt::LeftButton, {}, kOverFirst);
        QCOMPARE(panel.Rendered().pixel(kOverFirst), kMouseOn);
        QTest::mouseClick(&panel, Qt::LeftButton, {}, kOverFirst);
        QTRY_COMPARE(panel.clicks, (std::vector<int>{kFirstId, kFirstId}));
    }

    void MovingFromOneButtonToTheNextSwapsBothHoversInOneMove() {
        SkinnedPanel panel(false);
        ShowAndSettle(panel);
        QTest::mouseMove(&panel, QPoint(21, 12));
        QTest::mouseMove(&panel, QPoint(22, 12));
        const QImage image = panel.Rendered();
        QCOMPARE(image.pixel(15, 12), kNormal);
        QCOMPARE(image.pixel(25, 12), kMouseOn);
        QCOMPARE(PaintsSettled(panel), QRegion(kFirstRect) + QRegion(kSecondRect));
    }

    void HoverRepaintsOnlyAtTheEdgesOfTheButton() {
        SkinnedPanel panel(false);
        ShowAndSettle(panel);
        QTest::mouseMove(&panel, kOverFirst);
        QCOMPARE(PaintsSettled(panel), QRegion(kFirstRect));
        QTest::mouseMove(&panel, kOverFirst + QPoint(1, 1));
        QTest::mouseMove(&panel, kOverFirst + QPoint(2, 1));
        QCOMPARE(PaintsSettled(panel), QRegion());
    }

    void LatchingButtonStaysDownAfterItsClickUntilDeselected() {
        SkinnedPanel panel(true);
        ShowAndSettle(panel);
        QTest::mouseMove(&panel, kOverFirst);
        QTest::mouseClick(&panel, Qt::LeftButton, {}, kOverFirst);
        QTRY_COMPARE(panel.clicks, std::vector<int>{kFirstId});
        QTest::mouseMove(&panel, kOutside);
        QCOMPARE(panel.Rendered().pixel(kOverFirst), kMouseDown);
        panel.buttons[0].Deselect();
        QCOMPARE(panel.Rendered().pixel(kOverFirst), kNormal);
        QCOMPARE(PaintsSettled(panel), QRegion(kFirstRect));
    }

    void ReleaseOverASelectedLatchingButtonPostsNothingAndRepaintsNothing() {
        SkinnedPanel panel(true);
        ShowAndSettle(panel);
        panel.buttons[0].Select();
        QTest::mouseMove(&panel, kOverFirst);
        PaintsSettled(panel);
        QTest::mousePress(&panel, Qt::LeftButton, {}, kOverFirst);
        PaintsSettled(panel);
        QTest::mouseRelease(&panel, Qt::LeftButton, {}, kOverFirst);
        QCOMPARE(PaintsSettled(panel), QRegion());
        QCoreApplication::sendPostedEvents();
        QVERIFY(panel.clicks.empty());
    }

    // The ring runs inside the button's shape, 1, 2 and 1 logical pixels wide at every scale:
    // its rounded outline, or where its picture has transparency, the picture's opaque part
    // (here all of it but a margin of 4 at the sides and 3 at the top and bottom).
    void TheFocusRingFollowsTheButtonsShape_data() {
        QTest::addColumn<int>("ratio");
        QTest::addColumn<bool>("transparentMargin");
        QTest::newRow("outline at 1") << 1 << false;
        QTest::newRow("outline at 2") << 2 << false;
        QTest::newRow("opaque part at 1") << 1 << true;
        QTest::newRow("opaque part at 2") << 2 << true;
    }

    void TheFocusRingFollowsTheButtonsShape() {
        QFETCH(int, ratio);
        QFETCH(bool, transparentMargin);
        QImage picture(kRingButton.size(), QImage::Format_ARGB32);
        picture.fill(kNormal);
        if (transparentMargin) {
            QImage opaque = picture.copy(4, 3, 32, 18);
            picture.fill(Qt::transparent);
            QPainter(&picture).drawImage(4, 3, opaque);
        }
        ImageButton button;
        button.SetUp(nullptr, false, 1, kRingButton,
                     SkinImage::CreateFromBytes(test::Encode(picture, "PNG")), nullptr, nullptr);
        button.SetOutline(kRaised);
        const QImage ring = RingOf(button, ratio);

        // Logical pixels from each edge before the ring starts: top, left, right, bottom.
        const std::array<int, 4> before =
            transparentMargin ? std::array{3, 4, 4, 3} : std::array{1, 1, 1, 2};
        const int w = ring.width() - 1;
        const int h = ring.height() - 1;
        const QPoint middle(ring.width() / 2, ring.height() / 2);
        const std::array<std::pair<QPoint, QPoint>, 4> edges{{{{middle.x(), 0}, {0, 1}},
                                                              {{0, middle.y()}, {1, 0}},
                                                              {{w, middle.y()}, {-1, 0}},
                                                              {{middle.x(), h}, {0, -1}}}};
        for (std::size_t edge = 0; edge < edges.size(); ++edge) {
            QList<QRgb> expected;
            for (auto [length, colour] : {std::pair{before[edge], kFill},
                                          {1, 0xff000000},
                                          {2, 0xffffffff},
                                          {1, 0xff000000},
                                          {1, kFill}})
                expected << QList<QRgb>(length * ratio, colour);
            QCOMPARE(Inward(ring, edges[edge].first, edges[edge].second,
                            static_cast<int>(expected.size())),
                     expected);
        }
        // Rounded corners leave the rectangle's corner to what lies under it; the opaque part's
        // square corners do not.
        const QPoint corner = QPoint(before[1], before[0]) * ratio;
        QCOMPARE(ring.pixel(corner), transparentMargin ? 0xff000000 : kFill);
        QCOMPARE(ring.pixel(corner + QPoint(ratio, ratio)), transparentMargin ? 0xffffffff : kFill);
    }
};

QTEST_MAIN(ImageButtonTest)
#include "ImageButtonTest.moc"
