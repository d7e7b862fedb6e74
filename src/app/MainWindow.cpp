#include "app/MainWindow.h"

#include <QDropEvent>
#include <QGuiApplication>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

#include "app/CorvalinApp.h"
#include "core/library/DroppedFiles.h"
#include "game/GameFrame.h"
#include "info/AboutFrame.h"
#include "library/ResFrame.h"
#include "platform/WindowShape.h"
#include "res/ProgramIcon.h"
#include "scores/ScoreWnd.h"
#include "skin/EdgeRect.h"
#include "skin/Layout.h"
#include "skin/PackageImage.h"

namespace {

const QRect kHidden(0, 0, 0, 0);
constexpr int kCornerEllipse = 11;

}  // namespace

CCorvalin::CCorvalin() : MessageReceiver<QWidget>(nullptr, Qt::Window | Qt::FramelessWindowHint) {
    setObjectName("Corvalin");
    setWindowTitle("Corvalin");
    setFixedSize(kWidth, kHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAcceptDrops(true);  // pictures dropped anywhere on the window go into the library
    setMouseTracking(true);
    if (QScreen* screen = QGuiApplication::primaryScreen()) move(PlaceOnScreen(screen->size()));
    ShapeWindow(this, kCornerEllipse, kCornerEllipse);
    CreateChildren();
}

CCorvalin::~CCorvalin() = default;

QPoint CCorvalin::PlaceOnScreen(const QSize& screen) {
    return {(screen.width() - 640) / 2 + 2, (screen.height() - 380) / 2 + 2};
}

void CCorvalin::CreateChildren() {
    m_gameFrame = new GameFrame(this, kContentRect);
    m_resFrame = new ResFrame(this, kHidden);
    m_aboutFrame = new AboutFrame(this, kHidden);
    m_scoreWnd = new ScoreWnd(this, kHidden);

    const ImagePackage& skin = App()->m_skinPackage;
    auto setUp = [&](ImageButton& button, bool latching, int id, const QRect& rect,
                     const std::string& name) {
        button.SetUp(this, latching, id, rect, GetImage(skin, name + "Normal.jpg"),
                     GetImage(skin, name + "MouseOn.jpg"), GetImage(skin, name + "MouseDown.jpg"));
    };
    setUp(m_gameButton, true, kGame, RectFromEdges(7, 25, 71, 63), "Game");
    m_gameButton.Select();
    m_sectionButtons.push_back(&m_gameButton);
    setUp(m_resButton, true, kRes, RectFromEdges(72, 25, 136, 63), "Res");
    m_sectionButtons.push_back(&m_resButton);
    setUp(m_scoreButton, true, kScore, RectFromEdges(137, 25, 201, 63), "Score");
    m_sectionButtons.push_back(&m_scoreButton);
    setUp(m_aboutButton, true, kAbout, RectFromEdges(202, 25, 266, 63), "About");
    m_sectionButtons.push_back(&m_aboutButton);
    setUp(m_minButton, false, kMinimize, RectFromEdges(588, 4, 606, 23), "Min");
    setUp(m_closeButton, false, kClose, RectFromEdges(609, 4, 627, 23), "Close");

    m_title.SetImage(RectFromEdges(8, 4, 111, 21), GetImage(skin, "RegTitle.jpg"));
    m_background.SetImage(RectFromEdges(0, 0, kWidth, kHeight), GetImage(skin, "CorvalinBg.jpg"));
    setWindowIcon(ProgramIcon());
}

std::vector<ImageButton*> CCorvalin::AllButtons() {
    std::vector<ImageButton*> buttons = m_sectionButtons;
    buttons.push_back(&m_minButton);
    buttons.push_back(&m_closeButton);
    return buttons;
}

void CCorvalin::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // Without a background picture the surface is the panels' colour, not garbage.
    if (m_background.Rect().isEmpty()) painter.fillRect(rect(), kPanelFill);
    m_background.Draw(painter);
    for (ImageButton* button : AllButtons()) button->Draw(painter);
    m_title.Draw(painter);
    if (HasSmoothCorners(this))
        CutRoundedCorners(painter, kWidth, kHeight, kCornerEllipse, kCornerEllipse);
}

void CCorvalin::mouseMoveEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    for (ImageButton* button : AllButtons()) button->OnMouseMove(point);
    if (m_dragging) move(m_dragWindowStart + event->globalPosition().toPoint() - m_dragPressGlobal);
}

void CCorvalin::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QPoint point = event->position().toPoint();
    bool onButton = false;
    for (ImageButton* button : AllButtons()) onButton = button->OnLButtonDown(point) || onButton;
    if (onButton) return;
    // A press on the window's own surface moves the window until the release.
    if (windowHandle() != nullptr && windowHandle()->startSystemMove()) return;
    m_dragging = true;
    m_dragPressGlobal = event->globalPosition().toPoint();
    m_dragWindowStart = pos();
}

void CCorvalin::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    m_dragging = false;
    const QPoint point = event->position().toPoint();
    for (ImageButton* button : m_sectionButtons) {
        if (!button->OnLButtonUp(point)) continue;
        // The section buttons are a group in which exactly one is selected.
        for (ImageButton* other : m_sectionButtons) {
            if (other != button) other->Deselect();
        }
    }
    m_minButton.OnLButtonUp(point);
    m_closeButton.OnLButtonUp(point);
}

void CCorvalin::leaveEvent(QEvent*) {
    for (ImageButton* button : AllButtons()) button->OnMouseMove(QPoint(-1, -1));
}

qintptr CCorvalin::OnMessage(unsigned message, quintptr first, qintptr) {
    if (message == UM_PLAYPICTURE) {
        PlayPicture();
    } else if (message == UM_BUTTONCLICK) {
        switch (first) {
            case kMinimize:
                showMinimized();
                break;
            case kClose:
                close();
                break;
            case kGame:
                ShowSection(m_gameFrame);
                break;
            case kRes:
                ShowSection(m_resFrame);
                break;
            case kAbout:
                ShowSection(m_aboutFrame);
                break;
            case kScore:
                ShowSection(m_scoreWnd);
                break;
            default:
                break;
        }
    }
    return 0;
}

void CCorvalin::ShowSection(QWidget* panel) {
    panel->setGeometry(kContentRect);
    panel->update();
    const std::vector<QWidget*> hideOrder =
        panel == m_scoreWnd
            ? std::vector<QWidget*>{m_aboutFrame, m_gameFrame, m_resFrame}
            : std::vector<QWidget*>{m_gameFrame, m_resFrame, m_aboutFrame, m_scoreWnd};
    for (QWidget* other : hideOrder) {
        if (other != panel) other->setGeometry(kHidden);
    }
}

namespace {

// The local files a drop names, byte for byte; nothing unless every item is such a file.
std::optional<std::vector<std::string>> FilesOf(const QMimeData* mime) {
    static const QString kUriList = QStringLiteral("text/uri-list");
    if (mime == nullptr || !mime->hasFormat(kUriList)) return std::nullopt;
    const QByteArray list = mime->data(kUriList);
    return DroppedFiles(std::string_view(list.constData(), static_cast<std::size_t>(list.size())));
}

}  // namespace

void CCorvalin::dragEnterEvent(QDragEnterEvent* event) {
    if (FilesOf(event->mimeData())) event->acceptProposedAction();
}

void CCorvalin::dropEvent(QDropEvent* event) {
    std::optional<std::vector<std::string>> files = FilesOf(event->mimeData());
    if (!files) return;
    event->acceptProposedAction();
    // After the drop has finished, so the file manager is not kept waiting by the import.
    QMetaObject::invokeMethod(
        this,
        [this, files = std::move(*files)] {
            m_resFrame->ImportFiles(files);
            for (ImageButton* button : m_sectionButtons) button->Deselect();
            m_resButton.Select();
            ShowSection(m_resFrame);
        },
        Qt::QueuedConnection);
}

void CCorvalin::PlayPicture() {
    for (ImageButton* button : m_sectionButtons) button->Deselect();
    m_gameButton.Select();
    m_resFrame->setGeometry(kHidden);
    m_gameFrame->setGeometry(kContentRect);
    m_gameFrame->update();
    m_gameFrame->ReloadPicture();
}
