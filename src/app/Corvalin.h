#pragma once

#include <QPoint>
#include <QWidget>
#include <vector>

#include "platform/Messages.h"
#include "skin/ImageHolder.h"
#include "skin/SkinButtons.h"

class AboutFrame;
class GameFrame;
class ResFrame;
class ScoreWnd;

// The program's one window: borderless, rounded, skinned, dragged by its surface. Its
// section buttons switch which of the four panels fills the content area; hidden panels
// are shrunk to nothing and keep their state.
class CCorvalin : public MessageReceiver<QWidget> {
public:
    enum ButtonId { kGame = 1, kRes = 2, kAbout = 4, kMinimize = 5, kClose = 6, kScore = 7 };
    static constexpr int kWidth = layout::kWindowRect.right;
    static constexpr int kHeight = layout::kWindowRect.bottom;

    CCorvalin();
    ~CCorvalin() override;

    // Where the window stands on a screen of that size: centred as a 640 x 380 window,
    // plus the 2-pixel edge that the visible area starts inside it.
    static QPoint PlaceOnScreen(const QSize& screen);

    GameFrame* Game() const { return m_gameFrame; }
    ResFrame* Res() const { return m_resFrame; }
    AboutFrame* About() const { return m_aboutFrame; }
    ScoreWnd* Score() const { return m_scoreWnd; }
    const std::vector<ImageButton*>& SectionButtons() const { return m_sectionButtons; }

protected:
    qintptr OnMessage(unsigned message, quintptr first, qintptr second) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateChildren();
    void ShowSection(QWidget* panel);
    // Selects one section button and clears the others, as a click on it does.
    void SelectSectionButton(ImageButton* chosen);
    void PlayPicture();

    // Section buttons, then minimise and close: the order they see the mouse and are drawn.
    SkinButtons m_buttons{this};
    ImageButton* m_gameButton = nullptr;
    ImageHolder m_title;
    ImageHolder m_background;
    std::vector<ImageButton*> m_sectionButtons;
    GameFrame* m_gameFrame = nullptr;
    ResFrame* m_resFrame = nullptr;
    AboutFrame* m_aboutFrame = nullptr;
    ScoreWnd* m_scoreWnd = nullptr;

    bool m_dragging = false;  // moved by hand where the window system cannot move it
    QPoint m_dragPressGlobal;
    QPoint m_dragWindowStart;
};
