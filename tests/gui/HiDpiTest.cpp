// Run at a device pixel ratio of 2 (QT_SCALE_FACTOR=2, set where the test is registered).
#include <QPainter>
#include <QTest>

#include "app/Corvalin.h"
#include "core/layout/SkinLayout.h"
#include "game/GameFrame.h"
#include "game/GameWnd.h"
#include "res/DigitStrip.h"
#include "skin/EdgeRect.h"
#include "support/qt/AppTestMain.h"
#include "support/qt/TestImages.h"

namespace {

// No two neighbouring pixels alike, so a picture blended or doubled on its way shows.
QImage Pattern(QSize size, int tag) {
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgb((x * 37 + y * 11) % 256, (x * 5 + y * 29) % 256, tag));
    return image;
}

struct SkinPicture {
    const char* name;
    layout::Edges rect;  // in the window
};

// The window's Game section with the Game button chosen: what it shows where.
const QPoint kPanel(layout::kContentRect.left, layout::kContentRect.top);
const SkinPicture kShown[] = {
    {layout::kGameButton.mouseDown, layout::kGameButton.rect},
    {layout::kResButton.normal, layout::kResButton.rect},
    {layout::kScoreButton.normal, layout::kScoreButton.rect},
    {layout::kAboutButton.normal, layout::kAboutButton.rect},
    {layout::kNewButton.normal, layout::kNewButton.rect},
};

QRect InWindow(const SkinPicture& picture) {
    const QRect rect = ToQRect(picture.rect);
    // New Game stands on the game panel; the section buttons on the window.
    return picture.name == layout::kNewButton.normal ? rect.translated(kPanel) : rect;
}

// Skin.dat and Skin@2x.dat holding the three pictures of each of those buttons, each in a
// pattern of its own; in a mismatched pair the first 2x picture is a pixel too wide.
void WriteSkins(const test::DataFolder& folder, bool matching) {
    ImagePackage skin;
    ImagePackage skin2x;
    int tag = 0;
    for (const layout::ButtonLayout* button :
         {&layout::kGameButton, &layout::kResButton, &layout::kScoreButton, &layout::kAboutButton,
          &layout::kNewButton}) {
        const QSize size = ToQRect(button->rect).size();
        for (const char* name : {button->mouseDown, button->normal, button->mouseOn}) {
            ++tag;
            skin.AddEntry(name, test::Encode(Pattern(size, tag), "BMP"));
            const QSize size2x = size * 2 + QSize(!matching && tag == 1 ? 1 : 0, 0);
            skin2x.AddEntry(name, test::Encode(Pattern(size2x, tag + 100), "BMP"));
        }
    }
    skin.Save(folder.File("Skin.dat"));
    skin2x.Save(folder.File("Skin@2x.dat"));
}

QImage Decoded(const ImagePackage& package, const char* name) {
    return QImage::fromData(package.FindData(name)->data(),
                            static_cast<int>(package.FindData(name)->size()))
        .convertToFormat(QImage::Format_RGB32);
}

// The three zeros of a counter, from the strip painted at 2.
QImage ZerosAt2x() {
    const QImage zero = DigitStrip(2).copy(0, 0, kDigitGlyphWidth * 2, kDigitGlyphHeight * 2);
    QImage zeros(zero.width() * 3, zero.height(), QImage::Format_RGB32);
    QPainter painter(&zeros);
    for (int i = 0; i < 3; ++i) painter.drawImage(zero.width() * i, 0, zero);
    return zeros;
}

// Every device column, and every device row, of a frame that is the line colour from end to
// end.
QSize WholeLines(const QImage& frame) {
    QSize lines(0, 0);
    for (int x = 0; x < frame.width(); ++x)
        lines.rwidth() +=
            test::AllPixelsAre(frame, QRect(x, 0, 1, frame.height()), GameWnd::kLineColor);
    for (int y = 0; y < frame.height(); ++y)
        lines.rheight() +=
            test::AllPixelsAre(frame, QRect(0, y, frame.width(), 1), GameWnd::kLineColor);
    return lines;
}

}  // namespace

class HiDpiTest : public QObject {
    Q_OBJECT

    test::DataFolder m_matching;
    test::DataFolder m_mismatched;

private slots:
    void initTestCase() {
        QCOMPARE(qApp->devicePixelRatio(), 2.0);
        for (const test::DataFolder* folder : {&m_matching, &m_mismatched}) {
            WriteSkins(*folder, folder == &m_matching);
            folder->WritePackage("Pic.dat", test::PatternLibrary());
            folder->WriteScores({});
        }
    }

    // On screen each picture is its 2x picture pixel for pixel; where the 2x skin does not
    // match, the 1x picture doubled, with one warning.
    void PicturesShowAtDeviceResolution_data() {
        QTest::addColumn<bool>("matching");
        QTest::addColumn<QRect>("region");
        QTest::addColumn<QString>("picture");  // empty: the step counter
        for (const bool matching : {true, false}) {
            const char* skin = matching ? "2x skin" : "mismatched 2x skin";
            for (const SkinPicture& shown : kShown) {
                QTest::addRow("%s, %s", skin, shown.name)
                    << matching << InWindow(shown) << QString::fromLatin1(shown.name);
            }
            QTest::addRow("%s, step counter", skin)
                << matching << ToQRect(layout::kStepsRect).translated(kPanel) << QString();
        }
    }
    void PicturesShowAtDeviceResolution() {
        QFETCH(bool, matching);
        QFETCH(QRect, region);
        QFETCH(QString, picture);
        if (!matching) {
            QTest::ignoreMessage(QtWarningMsg,
                                 "Skin@2x.dat does not match Skin.dat, so the 1x skin is used: "
                                 "GameMouseDown.jpg: 129x76 in the 2x skin, expected 128x76");
        }
        App()->LoadData((matching ? m_matching : m_mismatched).Path());
        CCorvalin window;
        window.show();
        QImage shown = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shown.size(), QSize(634, 373) * 2);
        shown.setDevicePixelRatio(1);  // compared in device pixels

        QImage expected;
        if (picture.isEmpty()) {
            expected = ZerosAt2x();
        } else if (matching) {
            expected = Decoded(App()->m_skinPackage2x, picture.toLatin1().constData());
        } else {
            expected = Decoded(App()->m_skinPackage, picture.toLatin1().constData())
                           .scaled(region.size() * 2);
        }
        const QRect device(region.topLeft() * 2, expected.size());
        QCOMPARE(shown.copy(device), expected);
    }

    // A player's own Skin.dat is drawn alone: the installed 2x skin beside the installed
    // Skin.dat belongs to another look, even where its names and sizes would fit.
    void ThePlayersOwnSkinTakesOnlyThe2xSkinBesideIt() {
        test::DataFolder player;
        player.WriteBytes("Skin.dat", m_matching.Bytes("Skin.dat"));
        App()->LoadData(DataFolders{m_matching.Path(), player.Path()});
        QVERIFY(App()->m_skinPackage.Count() > 0);
        QCOMPARE(App()->m_skinPackage2x.Count(), std::size_t{0});
    }

    // Separators and the empty cell at device resolution: a line one logical pixel wide at
    // 1 is one device pixel wide at every ratio.
    void BoardSeparatorsAreOneDevicePixelWide_data() {
        QTest::addColumn<qreal>("ratio");
        QTest::addColumn<int>("grid");
        for (const qreal ratio : {1.0, 1.5, 2.0}) {
            for (const int grid : {0, 4}) {
                QTest::addRow("ratio %.1f, %dx%d", ratio, kGridSizes[grid].rows,
                              kGridSizes[grid].cols)
                    << ratio << grid;
            }
        }
    }
    void BoardSeparatorsAreOneDevicePixelWide() {
        QFETCH(qreal, ratio);
        QFETCH(int, grid);
        App()->LoadData(m_matching.Path());
        GameWnd view(nullptr, App()->m_picturePackage);
        view.LoadPicture(test::PatternLibrary().front().first, kGridSizes[grid]);
        QImage frame(QSize(400, 300) * ratio, QImage::Format_RGB32);
        frame.setDevicePixelRatio(ratio);
        QPainter painter(&frame);
        view.ComposeFrame(painter);
        painter.end();
        QCOMPARE(WholeLines(frame), QSize(kGridSizes[grid].cols, kGridSizes[grid].rows));
    }
};

CORVALIN_APP_TEST_MAIN(HiDpiTest)
#include "HiDpiTest.moc"
