#include "game/GameWnd.h"

#include <QMouseEvent>
#include <QPainter>

#include "platform/Messages.h"
#include "res/HandCursor.h"
#include "skin/PackageImage.h"

const QRgb GameWnd::kLineColor = qRgb(108, 212, 255);

GameWnd::GameWnd(QWidget* parent, const ImagePackage& pictures)
    : QWidget(parent), m_pictures(pictures) {
    setObjectName("GameWnd");
    setGeometry(0, 0, kWidth, kHeight);
    // Every paint covers the whole area; nothing needs erasing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(HandCursor());
}

GameWnd::~GameWnd() = default;

void GameWnd::LoadPicture(const std::string& name, const GridSize& size) {
    m_picture = GetImage(m_pictures, name);
    m_pictureBitmapStale = true;
    m_board.Reset(size);
}

void GameWnd::StartGame() { m_board.Shuffle(); }

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
    if (m_pictureBitmapStale) RenderPictureBitmap();

    const int cols = m_board.Cols();
    const int rows = m_board.Rows();
    painter.fillRect(0, 0, kWidth, kHeight, QColor(kLineColor));
    const QRect source0(0, 0, kWidth / cols, kHeight / rows);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            const int tile = m_board.CellValue(r, c);
            if (tile == PuzzleBoard::kEmptyCell) continue;
            const int x0 = c * kWidth / cols;
            const int x1 = (c + 1) * kWidth / cols;
            const int y0 = r * kHeight / rows;
            const int y1 = (r + 1) * kHeight / rows;
            const QRect source =
                source0.translated(tile % 10 * kWidth / cols, tile / 10 * kHeight / rows);
            painter.drawImage(QRect(x0, y0, x1 - x0, y1 - y0), m_pictureBitmap, source);
            // The tile's last column and last row show the background as a separator.
            painter.fillRect(x1 - 1, y0, 1, y1 - y0, QColor(kLineColor));
            painter.fillRect(x0, y1 - 1, x1 - x0, 1, QColor(kLineColor));
        }
    }
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
    const PuzzleBoard::Cell cell = m_board.CellAt(point.x(), point.y());
    const ClickResult result = m_board.ClickCell(cell.row, cell.col);
    if (!result.counted) return;
    SendMessage(parentWidget(), UM_TILESMOVED, static_cast<quintptr>(result.moved), 0);
    if (result.solved) PostMessage(parentWidget(), UM_PUZZLESOLVED, 0, 0);
    update();
}
