#pragma once

#include <QImage>
#include <QWidget>
#include <memory>
#include <string>

#include "core/board/PuzzleBoard.h"
#include "game/BoardAccessible.h"
#include "game/BoardTiles.h"
#include "skin/SkinImage.h"

class ImagePackage;
class QKeyEvent;

// The 400 x 300 play area: cuts the picture into tiles where the board says, turns a
// released click into a cell, and tells its parent of every counted click
// (UM_TILESMOVED, sent) and of the solve (UM_PUZZLESOLVED, posted).
class GameWnd : public QWidget, public AccessibleBoard {
public:
    static constexpr int kWidth = PuzzleBoard::kAreaWidth;
    static constexpr int kHeight = PuzzleBoard::kAreaHeight;
    static const QRgb kLineColor;  // background, separators and the empty cell

    GameWnd(QWidget* parent, const ImagePackage& pictures);
    ~GameWnd() override;

    // Replaces the picture with a fresh decode of that entry (none if there is no such
    // entry) and resets the board to that size. Does not repaint.
    void LoadPicture(const std::string& name, const GridSize& size);
    // Shuffles the board; the caller repaints.
    void StartGame();
    // An arrow key slides the tile beside the empty cell into it, counted and reported as a
    // click on that tile. True for any arrow without modifiers, whether a tile moved or not.
    bool PlayKey(const QKeyEvent& event);

    // Paints the whole 400 x 300 frame for the board's current state.
    void ComposeFrame(QPainter& painter);

    const PuzzleBoard& Board() const override { return m_board; }
    PuzzleBoard& Board() { return m_board; }
    bool HasPicture() const { return m_picture != nullptr; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void RenderPictureBitmap();
    // A click on a cell in play: counted, reported to the parent and repainted.
    void ClickCell(const PuzzleBoard::Cell& cell);

    const ImagePackage& m_pictures;
    PuzzleBoard m_board;
    std::unique_ptr<SkinImage> m_picture;
    QImage m_pictureBitmap;  // the picture at 400 x 300 while tiles are cut from it
    bool m_pictureBitmapStale = true;
    BoardTiles m_tiles;  // cut once per picture and board size
};
