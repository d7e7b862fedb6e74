#pragma once

#include <string>

#include "core/board/GameCounts.h"
#include "core/board/GridSize.h"
#include "skin/DigitCounter.h"
#include "skin/ImageHolder.h"
#include "skin/SkinnedPanel.h"

class GameWnd;
class ItemStandIn;

// The panel that runs a game: the board view, a thumbnail of the whole picture, "New",
// and the step and second counters. It plays the current choice of the application,
// takes up a changed choice on its next size change, and stores a solved game under
// the name the player gives.
class GameFrame : public SkinnedPanel {
public:
    static constexpr int kClockId = 1;
    static constexpr int kNewButtonId = 1;

    GameFrame(QWidget* parent, const QRect& rect);
    ~GameFrame() override;

    // Reloads the board and thumbnail from the current choice and ends the game in play: the
    // board shows the whole picture, so the clock stops and the counters go back to 0.
    void ReloadPicture();
    // Clicks New as the mouse does: UM_BUTTONCLICK is posted.
    void PressNew() { ClickButton(kNewButtonId); }

    GameWnd* View() const { return m_view; }
    const DigitCounter& Steps() const { return m_steps; }
    const DigitCounter& Seconds() const { return m_seconds; }
    const GameCounts& Counts() const { return m_counts; }
    bool ClockRunning() const { return m_counts.ClockRuns(); }

protected:
    qintptr OnMessage(unsigned message, quintptr first, qintptr second) override;
    void CreateChildren() override;
    void OnSize(const QSize& size) override;
    void Paint(QPainter& painter) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void SyncWithChoice();
    // Sets the board and the thumbnail up for the current choice and remembers it as the
    // one shown.
    void ShowChoice();
    void NewGame();
    void GameOver();
    // Enters the finished game into Score.dat under name; a file that fails is reported.
    void StoreGame(const QString& name);
    void StartClock();
    void StopClock();
    // Stops the clock and shows counts of 0: no game is in play.
    void ResetCounts();
    // The counters show what m_counts holds.
    void ShowCounts();

    GameWnd* m_view = nullptr;
    ImageHolder m_thumbnail;
    ImageButton* m_newButton = nullptr;
    std::string m_shownPicture;
    GridSize m_shownSize{.rows = 0, .cols = 0};
    DigitCounter m_steps;
    DigitCounter m_seconds;
    GameCounts m_counts;
    // Names for assistive technology, and tooltips on the counters, which have no labels.
    ItemStandIn* m_thumbnailName = nullptr;
    ItemStandIn* m_stepsName = nullptr;
    ItemStandIn* m_secondsName = nullptr;
    int m_clockTimer = 0;  // Qt's id of the running GameClock, 0 when stopped
};
