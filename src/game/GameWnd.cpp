#include "game/GameWnd.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <iterator>
#include <utility>

#include "platform/Messages.h"
#include "res/HandCursor.h"
#include "skin/PackageImage.h"

const QRgb GameWnd::kLineColor = qRgb(108, 212, 255);

GameWnd::GameWnd(QWidget* parent, const ImagePackage& pictures)
    : QWidget(parent), m_pictures(pictures) {
    // Before anything Qt might tell assistive technology about, which fixes the interface.
    InstallBoardAccessibility();
    setObjectName("GameWnd");
    setGeometry(0, 0, kWidth, kHeight);
    // Every paint covers the whole area; nothing needs erasing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(HandCursor());
    // A click or Tab gives the board the arrow keys; it shows no focus mark.
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("Board"));
}

GameWnd::~GameWnd() = default;

void GameWnd::LoadPicture(const std::string& name, const GridSize& size) {
    m_picture = GetImage(m_pictures, name);
    m_pictureBitmapStale = true;
    m_tiles.Clear();
    m_board.Reset(size);
    BoardReset(this, m_board);
}

void GameWnd::StartGame() {
    m_board.Shuffle();
    TilesMoved(this, m_board);
}

void GameWnd::RenderPictureBitmap() {
    if (m_pictureBitmap.isNull()) m_pictureBitmap = QImage(kWidth, kHeight, QImage::Format_RGB32);
    // A picture of another size stands unscaled at the top left, on the background colour.
    m_pictureBitmap.fill(kLineColor);
    QPainter painter(&m_pictureBitmap);
    m_picture->DrawInto(painter, 0, 0, static_cast<int>(m_picture->GetWidth()),
                        static_cast<int>(m_picture->GetHeight()));
    m_pictureBitmapStale = false;
}

void GameWnd::ComposeFrame(QPainter& painter) {
    if (!m_picture) {
        // Without a picture the board is played blind on a plain area.
        painter.fillRect(0, 0, kWidth, kHeight, QColor(kLineColor));
        return;
    }
    const int cols = m_board.Cols();
    const int rows = m_board.Rows();
    const qreal ratio = painter.device()->devicePixelRatioF();
    if (!m_tiles.IsCutFor(cols, rows, ratio)) {
        if (m_pictureBitmapStale) RenderPictureBitmap();
        m_tiles.Cut(m_pictureBitmap, cols, rows, ratio, kLineColor);
        // The tiles hold every pixel the board shows; the bitmap is made again for the next cut.
        m_pictureBitmap = QImage();
        m_pictureBitmapStale = true;
    }

    // Tiles and the empty cell are placed in device pixels, so every separator stays one
    // device pixel wide and no edge is blended.
    painter.save();
    painter.scale(1 / ratio, 1 / ratio);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            const int tile = m_board.CellValue(r, c);
            if (tile != PuzzleBoard::kEmptyCell) {
                m_tiles.Draw(painter, tile, r, c);
            } else {
                painter.fillRect(m_tiles.CellRect(r, c), QColor(kLineColor));
            }
        }
    }
    painter.restore();
}

void GameWnd::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    ComposeFrame(painter);
}

// Mouse events stop here: the panel behind must not see presses on the board.
void GameWnd::mousePressEvent(QMouseEvent*) {}

void GameWnd::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    // A release off the board after pressing on it is no click on any cell.
    if (event->button() != Qt::LeftButton || !m_board.InPlay() || !rect().contains(point)) return;
    ClickCell(m_board.CellAt(point.x(), point.y()));
}

void GameWnd::ClickCell(const PuzzleBoard::Cell& cell) {
    const ClickResult result = m_board.ClickCell(cell.row, cell.col);
    if (!result.counted) return;
    SendMessage(parentWidget(), UM_TILESMOVED, static_cast<quintptr>(result.moved), 0);
    if (result.solved) PostMessage(parentWidget(), UM_PUZZLESOLVED, 0, 0);
    update();
    TilesMoved(this, m_board);
}

bool GameWnd::PlayKey(const QKeyEvent& event) {
    if ((event.modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) return false;
    using Slide = PuzzleBoard::Slide;
    static constexpr std::pair<int, Slide> kArrows[] = {{Qt::Key_Left, Slide::Left},
                                                        {Qt::Key_Right, Slide::Right},
                                                        {Qt::Key_Up, Slide::Up},
                                                        {Qt::Key_Down, Slide::Down}};
    const auto* arrow = std::find_if(std::begin(kArrows), std::end(kArrows),
                                     [&](const auto& pair) { return pair.first == event.key(); });
    if (arrow == std::end(kArrows)) return false;
    if (const auto tile = m_board.TileToSlide(arrow->second)) ClickCell(*tile);
    return true;
}

void GameWnd::keyPressEvent(QKeyEvent* event) {
    if (!PlayKey(*event)) event->ignore();
}
