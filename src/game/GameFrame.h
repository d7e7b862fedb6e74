#pragma once

#include <QWidget>
#include <string>

#include "platform/Messages.h"
#include "skin/DigitCounter.h"
#include "skin/ImageButton.h"
#include "skin/ImageHolder.h"

class GameWnd;

// The panel that runs a game: the board view, a thumbnail of the whole picture, "New",
// and the step and second counters. It plays the current choice of the application,
// takes up a changed choice on its next size change, and stores a solved game under
// the name the player gives.
class GameFrame : public MessageReceiver<QWidget> {
public:
    static constexpr int kClockId = 1;
    static constexpr int kNewButtonId = 1;

    GameFrame(QWidget* parent, const QRect& rect);
    ~GameFrame() override;

    // Reloads the board and thumbnail from the current choice; the clock and counters stay.
    void ReloadPicture();

    GameWnd* View() const { return m_view; }
    const DigitCounter& Steps() const { return m_steps; }
    const DigitCounter& Seconds() const { return m_seconds; }
    bool ClockRunning() const { return m_clockTimer != 0; }

protected:
    qintptr OnMessage(unsigned message, quintptr first, qintptr second) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void OnSize(const QSize& size);
    void CreateChildren();
    void SyncWithChoice();
    // Sets the board, the New button and the thumbnail up for the current choice and
    // remembers it as the one shown.
    void ShowChoice();
    void SetUpNewButton();
    void SetThumbnail();
    void NewGame();
    void GameOver();
    void StartClock();
    void StopClock();

    GameWnd* m_view = nullptr;
    ImageHolder m_thumbnail;
    ImageButton m_newButton;
    std::string m_shownPicture;
    int m_shownCols = 0;
    int m_shownRows = 0;
    QSize m_panelSize{-1, -1};
    DigitCounter m_steps;
    DigitCounter m_seconds;
    int m_clockTimer = 0;  // Qt's id of the running GameClock, 0 when stopped
};
