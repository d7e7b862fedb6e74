#include "app/Corvalin.h"

#include <QDropEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QShortcut>
#include <QWindow>
#include <functional>

#include "app/CorvalinApp.h"
#include "core/library/DroppedFiles.h"
#include "game/GameFrame.h"
#include "game/GameWnd.h"
#include "info/AboutFrame.h"
#include "library/ResFrame.h"
#include "platform/WindowShape.h"
#include "res/ProgramIcon.h"
#include "scores/ScoreWnd.h"
#include "skin/EdgeRect.h"
#include "skin/PackageImage.h"
#include "skin/ReadingOrder.h"

namespace {

const QRect kHidden = ToQRect(layout::kHiddenRect);
const QRect kContentRect = ToQRect(layout::kContentRect);
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
    for (QWidget* panel : {static_cast<QWidget*>(m_gameFrame), static_cast<QWidget*>(m_resFrame),
                           static_cast<QWidget*>(m_aboutFrame), static_cast<QWidget*>(m_scoreWnd)})
        panel->installEventFilter(this);

    constexpr auto kLatching = SkinButtons::Kind::Latching;
    m_gameButton = &m_buttons.Add(kGame, layout::kGameButton, kLatching);
    m_gameButton->Select();
    m_sectionButtons.push_back(m_gameButton);
    m_sectionButtons.push_back(&m_buttons.Add(kRes, layout::kResButton, kLatching));
    m_sectionButtons.push_back(&m_buttons.Add(kScore, layout::kScoreButton, kLatching));
    m_sectionButtons.push_back(&m_buttons.Add(kAbout, layout::kAboutButton, kLatching));
    m_buttons.Add(kMinimize, layout::kMinButton);
    m_buttons.Add(kClose, layout::kCloseButton);

    SetUpHolder(m_title, layout::kTitle);
    SetUpHolder(m_background, layout::kBackground);
    setWindowIcon(ProgramIcon());
    CreateShortcuts();
    // Arrows play at once.
    m_gameFrame->View()->setFocus();
}

void CCorvalin::CreateShortcuts() {
    const auto bind = [this](const QKeySequence& keys, const std::function<void()>& action) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, action);
    };
    const auto newGame = [this] {
        m_buttons.Click(kGame);  // posted first, so the game shows before the new board
        m_gameFrame->PressNew();
    };
    bind(QKeySequence(Qt::CTRL | Qt::Key_N), newGame);
    bind(QKeySequence(Qt::Key_F2), newGame);
    const int sections[] = {kGame, kRes, kScore, kAbout};
    for (int i = 0; i < 4; ++i) {
        bind(QKeySequence(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_1 + i)),
             [this, id = sections[i]] { m_buttons.Click(id); });
    }
    bind(QKeySequence(Qt::CTRL | Qt::Key_Q), [this] { m_buttons.Click(kClose); });
}

void CCorvalin::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // Without a background picture the surface is the panels' colour, not garbage.
    // Drawn before it is measured: at a scale of 2 only its 2x picture is decoded.
    m_background.Draw(painter);
    if (!m_background.HasPicture()) painter.fillRect(rect(), ToQColor(layout::kPanelFill));
    m_buttons.Draw(painter);
    m_title.Draw(painter);
    if (HasSmoothCorners(this))
        CutRoundedCorners(painter, kWidth, kHeight, kCornerEllipse, kCornerEllipse);
}

void CCorvalin::mouseMoveEvent(QMouseEvent* event) {
    m_buttons.OnMouseMove(event->position().toPoint());
    if (m_dragging) move(m_dragWindowStart + event->globalPosition().toPoint() - m_dragPressGlobal);
}

void CCorvalin::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    if (m_buttons.OnLButtonDown(event->position().toPoint())) return;
    // A press on the window's own surface moves the window until the release.
    if (windowHandle() != nullptr && windowHandle()->startSystemMove()) return;
    m_dragging = true;
    m_dragPressGlobal = event->globalPosition().toPoint();
    m_dragWindowStart = pos();
}

void CCorvalin::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    m_dragging = false;
    // The section buttons are a group: the buttons release the others of a clicked one.
    m_buttons.OnLButtonUp(event->position().toPoint());
}

void CCorvalin::leaveEvent(QEvent*) { m_buttons.OnMouseMove(QPoint(-1, -1)); }

bool CCorvalin::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Enter) leaveEvent(event);
    return MessageReceiver::eventFilter(watched, event);
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
    KeepFocusShown(panel);
}

void CCorvalin::KeepFocusShown(QWidget* panel) {
    const QWidget* focus = focusWidget();
    if (focus != nullptr && IsShown(focus)) return;
    if (panel == m_gameFrame)
        m_gameFrame->View()->setFocus();
    else
        panel->setFocus();
}

void CCorvalin::keyPressEvent(QKeyEvent* event) {
    // Arrows that no control took play the board while the game is shown.
    if (IsShown(m_gameFrame) && m_gameFrame->View()->PlayKey(*event)) return;
    event->ignore();
}

bool CCorvalin::focusNextPrevChild(bool next) {
    QWidget* to = NextInReadingOrder(this, focusWidget(), next);
    if (to == nullptr) return false;
    to->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
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
    // One import at a time: the file manager shows the drop refused while one runs.
    if (!m_resFrame->Importing() && FilesOf(event->mimeData())) event->acceptProposedAction();
}

void CCorvalin::dropEvent(QDropEvent* event) {
    std::optional<std::vector<std::string>> files = FilesOf(event->mimeData());
    if (!files) return;
    event->acceptProposedAction();
    // After the drop has finished, so the file manager is not kept waiting by the import. The
    // Pictures section shows first: the pictures arrive in its list, and any refusals are told
    // over it with the last added chosen.
    QMetaObject::invokeMethod(
        this,
        [this, files = std::move(*files)] {
            SelectSectionButton(m_sectionButtons[1]);
            ShowSection(m_resFrame);
            m_resFrame->ImportFiles(files);
        },
        Qt::QueuedConnection);
}

void CCorvalin::SelectSectionButton(ImageButton* chosen) {
    for (ImageButton* button : m_sectionButtons) button->Deselect();
    chosen->Select();
}

void CCorvalin::PlayPicture() {
    SelectSectionButton(m_gameButton);
    m_resFrame->setGeometry(kHidden);
    m_gameFrame->setGeometry(kContentRect);
    m_gameFrame->update();
    m_gameFrame->ReloadPicture();
    KeepFocusShown(m_gameFrame);
}
