#include "game/GameFrame.h"

#include <QMouseEvent>
#include <QPainter>

#include "core/state/AppState.h"
#include "core/io/FileError.h"
#include "skin/Layout.h"
#include "game/BoardView.h"
#include "core/board/GridSize.h"
#include "game/NameInputDialog.h"
#include "platform/MessageBox.h"
#include "core/scores/ScoreFile.h"
#include "skin/EdgeRect.h"
#include "skin/PackageImage.h"

namespace {

const QRect kThumbnailRect = RectFromEdges(420, 0, 620, 150);
const QRect kNewButtonRect = RectFromEdges(472, 248, 568, 280);
const QRect kStepsRect = RectFromEdges(472, 170, 511, 193);
const QRect kSecondsRect = RectFromEdges(530, 170, 569, 193);
constexpr int kCounterDigits = 3;
constexpr int kClockPeriodMs = 1000;

}  // namespace

GameFrame::GameFrame(QWidget* parent, const QRect& rect) : MessageReceiver<QWidget>(parent) {
    setObjectName("GameFrame");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setGeometry(rect);
    OnSize(rect.size());
}

GameFrame::~GameFrame() = default;

void GameFrame::resizeEvent(QResizeEvent*) { OnSize(size()); }

void GameFrame::OnSize(const QSize& size) {
    if (size == m_panelSize) return;
    m_panelSize = size;
    if (m_view == nullptr) CreateChildren();
    SyncWithChoice();
}

void GameFrame::CreateChildren() {
    m_view = new GameWnd(this, App()->m_picturePackage);
    ShowChoice();
    m_steps.Init(kStepsRect, kCounterDigits);
    m_steps.Set(0);
    m_seconds.Init(kSecondsRect, kCounterDigits);
    m_seconds.Set(0);
}

void GameFrame::SyncWithChoice() {
    AppState* app = App();
    if (m_shownCols == app->m_boardCols && m_shownRows == app->m_boardRows &&
        m_shownPicture == app->m_currentPicture)
        return;  // the game in progress goes on, its clock included
    ShowChoice();
    StopClock();
    m_steps.Set(0);
    m_seconds.Set(0);
}

void GameFrame::ShowChoice() {
    AppState* app = App();
    m_view->LoadPicture(app->m_currentPicture, app->m_boardCols, app->m_boardRows);
    m_shownPicture = app->m_currentPicture;
    m_shownCols = app->m_boardCols;
    m_shownRows = app->m_boardRows;
    SetUpNewButton();
    SetThumbnail();
}

void GameFrame::ReloadPicture() {
    AppState* app = App();
    m_view->LoadPicture(app->m_currentPicture, app->m_boardCols, app->m_boardRows);
    SetThumbnail();
    // The board is back to a whole picture: no clock may run without a game.
    StopClock();
    m_steps.Set(0);
    m_seconds.Set(0);
    m_view->update();
    update();
}

void GameFrame::SetUpNewButton() {
    const ImagePackage& skin = App()->m_skinPackage;
    m_newButton.SetUp(this, false, kNewButtonId, kNewButtonRect, GetImage(skin, "NewNormal.jpg"),
                      GetImage(skin, "NewMouseOn.jpg"), GetImage(skin, "NewMouseDown.jpg"));
}

void GameFrame::SetThumbnail() {
    m_thumbnail.SetImage(kThumbnailRect,
                         GetImage(App()->m_picturePackage, App()->m_currentPicture));
}

qintptr GameFrame::OnMessage(unsigned message, quintptr first, qintptr) {
    switch (message) {
        case UM_BUTTONCLICK:
            if (first == kNewButtonId) NewGame();
            return 0;
        case UM_TILESMOVED:
            m_steps.Add(static_cast<int>(first));
            update(m_steps.Rect());
            return 0;
        case UM_PUZZLESOLVED:
            GameOver();
            return 0;
        default:
            return 0;
    }
}

void GameFrame::NewGame() {
    m_view->StartGame();
    m_view->update();
    m_steps.Set(0);
    m_seconds.Set(0);
    StartClock();
    update();
}

void GameFrame::GameOver() {
    StopClock();
    NameInputDialog dialog(window());
    if (dialog.exec() != QDialog::Accepted) return;

    ScoreRecord record;
    record.gridIndex = static_cast<std::uint32_t>(GridIndexOf(m_shownRows, m_shownCols));
    record.pictureName = m_shownPicture;
    record.userName = dialog.Name().toStdString();
    record.steps = static_cast<std::uint32_t>(m_steps.Value());
    record.seconds = static_cast<std::uint32_t>(m_seconds.Value());
    record.createdOn = ScoreTable::Today();
    try {
        StoreFinishedGame(App()->DataFileToWrite("Score.dat"), record);
    } catch (const FileError& error) {
        ReportFileError(window(), error);
    }
}

void GameFrame::StartClock() {
    StopClock();
    m_clockTimer = startTimer(kClockPeriodMs);
}

void GameFrame::StopClock() {
    if (m_clockTimer != 0) killTimer(m_clockTimer);
    m_clockTimer = 0;
}

void GameFrame::timerEvent(QTimerEvent* event) {
    if (event->timerId() != m_clockTimer) {
        QWidget::timerEvent(event);
        return;
    }
    m_seconds.Add(1);
    update(m_seconds.Rect());
}

void GameFrame::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kPanelFill);
    m_thumbnail.Draw(painter);
    m_newButton.Draw(painter);
    m_steps.Draw(painter);
    m_seconds.Draw(painter);
}

void GameFrame::mouseMoveEvent(QMouseEvent* event) {
    m_newButton.OnMouseMove(event->position().toPoint());
}

void GameFrame::mousePressEvent(QMouseEvent* event) {
    // Accepted, never passed on: a press on a panel must not move the main window.
    if (event->button() == Qt::LeftButton) m_newButton.OnLButtonDown(event->position().toPoint());
}

void GameFrame::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) m_newButton.OnLButtonUp(event->position().toPoint());
}
