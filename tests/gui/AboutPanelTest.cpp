#include <QMouseEvent>
#include <QPainter>
#include <QTest>
#include <QWidget>
#include <memory>

#include "app/CorvalinApp.h"
#include "info/AboutFrame.h"
#include "platform/OpenLink.h"
#include "skin/EdgeRect.h"
#include "support/DataFolder.h"
#include "support/qt/AppTestMain.h"
#include "support/qt/PanelHost.h"
#include "support/qt/TestImages.h"

namespace {

constexpr QRgb kPanelFill = 0xff366ab3;
constexpr QRgb kAbout = 0xffe0c020;
constexpr QRgb kEmailNormal = 0xff802020;
constexpr QRgb kEmailMouseOn = 0xffff6060;
constexpr QRgb kWebNormal = 0xff208020;
constexpr QRgb kWebMouseOn = 0xff60ff60;
constexpr QRgb kUnusedMouseDown = 0xff000000;  // must never show: the links press as they hover

const QRect kAboutRect = RectFromEdges(10, 10, 146, 86);
const QRect kEmailRect = RectFromEdges(18, 87, 261, 109);
const QRect kWebRect = RectFromEdges(18, 110, 261, 132);
const QRect kContent(0, 0, 620, 300);

const QPoint kOnEmail(100, 95);
const QPoint kOnWeb(100, 120);
const QPoint kOnNothing(400, 200);

// The skin a test panel draws from. About.jpg is half its rectangle's size, so the picture
// shows stretched; the buttons' pictures are exactly their rectangles' sizes.
std::vector<test::NamedPicture> Skin() {
    return {
        {"About.jpg", test::SolidBmp(68, 38, kAbout)},
        {"EMailNormal.jpg", test::SolidBmp(243, 22, kEmailNormal)},
        {"EMailMouseOn.jpg", test::SolidBmp(243, 22, kEmailMouseOn)},
        {"EMailMouseDown.jpg", test::SolidBmp(243, 22, kUnusedMouseDown)},
        {"WWWNormal.jpg", test::SolidBmp(243, 22, kWebNormal)},
        {"WWWMouseOn.jpg", test::SolidBmp(243, 22, kWebMouseOn)},
        {"WWWMouseDown.jpg", test::SolidBmp(243, 22, kUnusedMouseDown)},
    };
}

// What the panel must show: the fill, the picture stretched into its place, each link button
// in the given colour.
QImage Expected(QRgb about, QRgb email, QRgb web) {
    QImage image = test::Solid(620, 300, kPanelFill);
    QPainter painter(&image);
    painter.fillRect(kAboutRect, QColor::fromRgb(about));
    painter.fillRect(kEmailRect, QColor::fromRgb(email));
    painter.fillRect(kWebRect, QColor::fromRgb(web));
    return image;
}

}  // namespace

class AboutPanelTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        m_data.WritePackage("Skin.dat", Skin());
        App()->LoadData(m_data.Path());
        m_opened.clear();
        m_previousOpener = SetLinkOpener([this](const QString& link) { m_opened << link; });
        // Made hidden, as the main window makes it, then given the content area.
        m_host = std::make_unique<test::PanelHost>();
        m_panel = new AboutFrame(m_host.get(), QRect(0, 0, 0, 0));
        m_panel->setGeometry(kContent);
    }

    void cleanup() {
        m_host.reset();
        SetLinkOpener(m_previousOpener);
    }

    void PanelShowsFillPictureAndIdleLinks() {
        QCOMPARE(Grab(), Expected(kAbout, kEmailNormal, kWebNormal));
    }

    void HoveredLinkShowsItsMouseOnPicture() {
        ShowHost();
        QTest::mouseMove(m_panel, kOnWeb);
        QCOMPARE(Grab(), Expected(kAbout, kEmailNormal, kWebMouseOn));
        QTest::mouseMove(m_panel, kOnEmail);
        QCOMPARE(Grab(), Expected(kAbout, kEmailMouseOn, kWebNormal));
    }

    void PressedLinkLooksAsWhenHovered() {
        ShowHost();
        QTest::mouseMove(m_panel, kOnWeb);
        QTest::mousePress(m_panel, Qt::LeftButton, {}, kOnWeb);
        QCOMPARE(Grab(), Expected(kAbout, kEmailNormal, kWebMouseOn));
        QTest::mouseRelease(m_panel, Qt::LeftButton, {}, kOnWeb);
    }

    void EmailButtonOpensTheSupportMailLink() {
        ShowHost();
        ClickAt(kOnEmail);
        QCOMPARE(m_opened, QStringList{QStringLiteral("mailto:support@corvalin.example")});
    }

    void WebButtonOpensTheWebSite() {
        ShowHost();
        ClickAt(kOnWeb);
        QCOMPARE(m_opened, QStringList{QStringLiteral("https://corvalin.example/")});
    }

    void PressOnButtonReleasedOutsideOpensNothing() {
        ShowHost();
        QTest::mouseMove(m_panel, kOnEmail);
        QTest::mousePress(m_panel, Qt::LeftButton, {}, kOnEmail);
        QTest::mouseMove(m_panel, kOnNothing);
        // The button lets go of its look as soon as the pointer leaves it.
        QCOMPARE(Grab(), Expected(kAbout, kEmailNormal, kWebNormal));
        QTest::mouseRelease(m_panel, Qt::LeftButton, {}, kOnNothing);
        QCoreApplication::sendPostedEvents();
        QVERIFY(m_opened.isEmpty());
    }

    void PressOutsideReleasedOnButtonOpensItsLink() {
        ShowHost();
        QTest::mouseMove(m_panel, kOnNothing);
        QTest::mousePress(m_panel, Qt::LeftButton, {}, kOnNothing);
        QTest::mouseMove(m_panel, kOnWeb);
        QTest::mouseRelease(m_panel, Qt::LeftButton, {}, kOnWeb);
        QCoreApplication::sendPostedEvents();
        QCOMPARE(m_opened, QStringList{QStringLiteral("https://corvalin.example/")});
    }

    void PressOnThePanelNeverReachesTheMainWindow() {
        ShowHost();
        QTest::mouseMove(m_panel, kOnNothing);
        QTest::mouseClick(m_panel, Qt::LeftButton, {}, kOnNothing);
        QTest::mouseMove(m_panel, kOnEmail);
        QTest::mouseClick(m_panel, Qt::LeftButton, {}, kOnEmail);
        QCOMPARE(m_host->pressesReceived, 0);
    }

    void HidingAndShowingKeepsThePicturesFetchedFirst() {
        // A different skin now would show if the panel fetched its pictures again.
        App()->m_skinPackage.Clear();
        App()->m_skinPackage.AddEntry("About.jpg", test::SolidBmp(68, 38, kUnusedMouseDown));
        App()->m_skinPackage.AddEntry("EMailNormal.jpg", test::SolidBmp(243, 22, kUnusedMouseDown));
        m_panel->setGeometry(QRect(0, 0, 0, 0));
        m_panel->setGeometry(kContent);
        QCOMPARE(Grab(), Expected(kAbout, kEmailNormal, kWebNormal));
    }

    void WithoutSkinPicturesOnlyTheFillShowsAndLinksStillWork() {
        m_host.reset();
        m_data.Remove("Skin.dat");
        App()->LoadData(m_data.Path());
        m_host = std::make_unique<test::PanelHost>();
        m_panel = new AboutFrame(m_host.get(), QRect(0, 0, 0, 0));
        m_panel->setGeometry(kContent);
        QCOMPARE(Grab(), test::Solid(620, 300, kPanelFill));
        ShowHost();
        ClickAt(kOnEmail);
        QCOMPARE(m_opened, QStringList{QStringLiteral("mailto:support@corvalin.example")});
    }

private:
    QImage Grab() { return m_panel->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    void ShowHost() {
        m_host->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_host.get()));
        QTest::mouseMove(m_panel, kOnNothing);
    }

    void ClickAt(const QPoint& point) {
        QTest::mouseMove(m_panel, point);
        QTest::mouseClick(m_panel, Qt::LeftButton, {}, point);
        QCoreApplication::sendPostedEvents();
    }

    test::DataFolder m_data;
    LinkOpener m_previousOpener;
    QStringList m_opened;
    std::unique_ptr<test::PanelHost> m_host;
    AboutFrame* m_panel = nullptr;
};

CORVALIN_APP_TEST_MAIN(AboutPanelTest)
#include "AboutPanelTest.moc"
