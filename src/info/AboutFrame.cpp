#include "info/AboutFrame.h"

#include <QMouseEvent>
#include <QPainter>

#include "core/state/AppState.h"
#include "skin/Layout.h"
#include "info/Links.h"
#include "platform/OpenLink.h"
#include "skin/EdgeRect.h"
#include "skin/PackageImage.h"

namespace {

const QRect kAboutImageRect = RectFromEdges(10, 10, 146, 86);
const QRect kEmailButtonRect = RectFromEdges(18, 87, 261, 109);
const QRect kWebButtonRect = RectFromEdges(18, 110, 261, 132);

}  // namespace

AboutFrame::AboutFrame(QWidget* parent, const QRect& rect) : MessageReceiver<QWidget>(parent) {
    setObjectName("AboutFrame");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setGeometry(rect);
    OnSize(rect.size());
}

AboutFrame::~AboutFrame() = default;

void AboutFrame::resizeEvent(QResizeEvent*) { OnSize(size()); }

void AboutFrame::OnSize(const QSize& size) {
    m_panelRect = QRect(QPoint(0, 0), size);
    if (!m_childrenSetUp) SetUpChildren();
}

void AboutFrame::SetUpChildren() {
    m_childrenSetUp = true;
    const ImagePackage& skin = App()->m_skinPackage;
    // The links look the same pressed as hovered: their MouseOn picture serves both states.
    m_emailButton.SetUp(this, false, kEmailButtonId, kEmailButtonRect,
                        GetImage(skin, "EMailNormal.jpg"), GetImage(skin, "EMailMouseOn.jpg"),
                        GetImage(skin, "EMailMouseOn.jpg"));
    m_webButton.SetUp(this, false, kWebButtonId, kWebButtonRect, GetImage(skin, "WWWNormal.jpg"),
                      GetImage(skin, "WWWMouseOn.jpg"), GetImage(skin, "WWWMouseOn.jpg"));
    m_aboutImage.SetImage(kAboutImageRect, GetImage(skin, "About.jpg"));
}

qintptr AboutFrame::OnMessage(unsigned message, quintptr first, qintptr) {
    if (message != UM_BUTTONCLICK) return 0;
    if (first == kEmailButtonId) OpenLink(QString::fromLatin1(kSupportMailLink));
    if (first == kWebButtonId) OpenLink(QString::fromLatin1(kWebSiteAddress));
    return 0;
}

void AboutFrame::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(m_panelRect, kPanelFill);
    m_aboutImage.Draw(painter);
    m_emailButton.Draw(painter);
    m_webButton.Draw(painter);
}

void AboutFrame::mouseMoveEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    m_emailButton.OnMouseMove(point);
    m_webButton.OnMouseMove(point);
}

void AboutFrame::mousePressEvent(QMouseEvent* event) {
    // Accepted, never passed on: a press on a panel must not move the main window.
    if (event->button() != Qt::LeftButton) return;
    const QPoint point = event->position().toPoint();
    m_emailButton.OnLButtonDown(point);
    m_webButton.OnLButtonDown(point);
}

void AboutFrame::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QPoint point = event->position().toPoint();
    m_emailButton.OnLButtonUp(point);
    m_webButton.OnLButtonUp(point);
}
