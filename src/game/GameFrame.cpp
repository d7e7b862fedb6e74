#include "game/GameFrame.h"

#include <QPainter>
#include <QTimerEvent>

#include "core/io/FileError.h"
#include "core/library/DisplayName.h"
#include "core/scores/GameRecord.h"
#include "core/scores/ScoreFile.h"
#include "core/state/AppState.h"
#include "game/GameWnd.h"
#include "game/HintTexts.h"
#include "game/NameInputDialog.h"
#include "platform/MessageBox.h"
#include "platform/ModalDialog.h"
#include "platform/QtTranslation.h"
#include "skin/EdgeRect.h"
#include "skin/ItemStandIn.h"
#include "skin/PackageImage.h"

namespace {

constexpr int kCounterDigits = 3;
constexpr int kClockPeriodMs = 1000;

}  // namespace

GameFrame::GameFrame(QWidget* parent, const QRect& rect) : SkinnedPanel(parent, "GameFrame") {
    Place(rect);
}

GameFrame::~GameFrame() = default;

void GameFrame::OnSize(const QSize&) { SyncWithChoice(); }

void GameFrame::CreateChildren() {
    m_view = new GameWnd(this, App()->m_picturePackage);
    m_thumbnailName =
        new ItemStandIn(this, QAccessible::Graphic, ToQRect(layout::kThumbnailRect), false);
    ShowChoice();
    m_newButton = &AddButton(kNewButtonId, layout::kNewButton);
    m_steps.Init(ToQRect(layout::kStepsRect), kCounterDigits);
    m_seconds.Init(ToQRect(layout::kSecondsRect), kCounterDigits);
    m_stepsName = new ItemStandIn(this, QAccessible::StaticText, m_steps.Rect(), true);
    m_secondsName = new ItemStandIn(this, QAccessible::StaticText, m_seconds.Rect(), true);
    ShowCounts();
}

void GameFrame::SyncWithChoice() {
    const AppState* app = App();
    if (m_shownSize.cols == app->m_boardCols && m_shownSize.rows == app->m_boardRows &&
        m_shownPicture == app->m_currentPicture)
        return;  // the game in progress goes on, its clock included
    ShowChoice();
    SetUpButton(*m_newButton, kNewButtonId, layout::kNewButton);
    ResetCounts();
}

void GameFrame::ShowChoice() {
    const AppState* app = App();
    m_shownPicture = app->m_currentPicture;
    m_shownSize = GridSize{.rows = app->m_boardRows, .cols = app->m_boardCols};
    m_view->LoadPicture(m_shownPicture, m_shownSize);
    m_thumbnail.SetImage(ToQRect(layout::kThumbnailRect),
                         GetImage(app->m_picturePackage, m_shownPicture));
    m_thumbnailName->SetName(WidenText(DisplayName(m_shownPicture)));
}

void GameFrame::ReloadPicture() {
    ShowChoice();
    ResetCounts();
    m_view->update();
    update();
}

qintptr GameFrame::OnMessage(unsigned message, quintptr first, qintptr) {
    switch (message) {
        case UM_BUTTONCLICK:
            if (first == kNewButtonId) NewGame();
            return 0;
        case UM_TILESMOVED:
            m_counts.AddSteps(static_cast<int>(first));
            ShowCounts();
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
    StartClock();
    update();
    m_view->setFocus();  // arrows play the new game at once
}

void GameFrame::GameOver() {
    StopClock();
    if (m_view->Helped()) {
        ShowMessageBox(window(), HelpedGameText(), MessageButtons::Ok, MessageIcon::Information);
    } else {
        NameInputDialog dialog(window());
        if (RunModal(dialog) == QDialog::Accepted) StoreGame(dialog.Name());
    }
    m_view->setFocus();  // the arrows and shortcuts work again at once, without a click
}

void GameFrame::StoreGame(const QString& name) {
    const ScoreRecord record =
        GameRecord(m_counts, m_shownSize, m_shownPicture, name.toStdString(), ScoreTable::Today());
    try {
        StoreFinishedGame(App()->DataFileToWrite("Score.dat"), record);
    } catch (const FileError& error) {
        ReportFileError(window(), error);
    }
}

void GameFrame::StartClock() {
    StopClock();
    m_counts.Start();
    ShowCounts();
    m_clockTimer = startTimer(kClockPeriodMs);
}

void GameFrame::StopClock() {
    if (m_clockTimer != 0) killTimer(m_clockTimer);
    m_clockTimer = 0;
    m_counts.Stop();
}

void GameFrame::ResetCounts() {
    StopClock();
    m_counts.Reset();
    ShowCounts();
}

void GameFrame::ShowCounts() {
    m_steps.Set(m_counts.Steps());
    m_seconds.Set(m_counts.Seconds());
    // TRANSLATORS: the spoken name of the move counter
    m_stepsName->SetName(QTr("Moves: %1").arg(m_steps.Value()));
    // TRANSLATORS: the spoken name of the clock
    m_secondsName->SetName(QTr("Seconds: %1").arg(m_seconds.Value()));
}

void GameFrame::timerEvent(QTimerEvent* event) {
    if (event->timerId() != m_clockTimer) {
        QWidget::timerEvent(event);
        return;
    }
    m_counts.Tick();
    ShowCounts();
    update(m_seconds.Rect());
}

void GameFrame::Paint(QPainter& painter) {
    m_thumbnail.Draw(painter);
    DrawButtons(painter);
    m_steps.Draw(painter);
    m_seconds.Draw(painter);
}
