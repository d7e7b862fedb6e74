#include "game/GameWnd.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <algorithm>
#include <iterator>
#include <utility>

#include "core/solver/Solver.h"
#include "game/HintTexts.h"
#include "platform/Messages.h"
#include "platform/QtTranslation.h"
#include "res/HandCursor.h"
#include "skin/FocusRing.h"
#include "skin/PackageImage.h"

const QRgb GameWnd::kLineColor = qRgb(108, 212, 255);

namespace {

// The ring shows for two quarter seconds, hides for one, twice: two pulses in 1.5 s.
constexpr int kRingTickMs = 250;
constexpr int kRingTicks = 6;
constexpr int kSolutionClickMs = 125;

}  // namespace

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
    // TRANSLATORS: the spoken name of the puzzle board
    setAccessibleName(QTr("Board"));
    m_ringTimer.setInterval(kRingTickMs);
    connect(&m_ringTimer, &QTimer::timeout, this, [this] { RingTick(); });
    m_solutionTimer.setInterval(kSolutionClickMs);
    connect(&m_solutionTimer, &QTimer::timeout, this, [this] {
        const HintPlan::Hint hint = NextHint();
        ClickCell({hint.cell / m_board.Cols(), hint.cell % m_board.Cols()});
        if (!m_board.InPlay()) StopSolution();
    });
}

GameWnd::~GameWnd() = default;

void GameWnd::LoadPicture(const std::string& name, const GridSize& size) {
    m_picture = GetImage(m_pictures, name);
    m_pictureBitmapStale = true;
    m_tiles.Clear();
    m_board.Reset(size);
    EndHelp();
    BoardReset(this, m_board);
}

void GameWnd::StartGame() {
    m_board.Shuffle();
    EndHelp();
    TilesMoved(this, m_board);
}

void GameWnd::EndHelp() {
    m_hints.Forget();
    m_helped = false;
    m_ringCell = -1;
    m_ringTimer.stop();
    StopSolution();
    setAccessibleDescription({});
}

HintPlan::Hint GameWnd::NextHint() {
    std::vector<int> ids;
    for (int row = 0; row < m_board.Rows(); ++row)
        for (int col = 0; col < m_board.Cols(); ++col) ids.push_back(m_board.CellValue(row, col));
    m_helped = true;
    return m_hints.Next(ReadTileIds(m_board.Rows(), m_board.Cols(), ids).board, kHintBudget);
}

void GameWnd::ShowHint() {
    if (!m_board.InPlay()) return;
    const HintPlan::Hint hint = NextHint();
    m_ringCell = hint.cell;
    m_ringTicks = 0;
    m_ringTimer.start();
    const int cols = m_board.Cols();
    setAccessibleDescription(HintText(hint.cell / cols - m_board.EmptyRow(),
                                      hint.cell % cols - m_board.EmptyCol(), hint.tiles));
    update();
}

void GameWnd::RingTick() {
    if (++m_ringTicks >= kRingTicks) {
        m_ringTimer.stop();
        m_ringCell = -1;
    }
    update();
}

bool GameWnd::RingShows() const { return m_ringCell >= 0 && m_ringTicks % 3 != 2; }

void GameWnd::PlaySolution() {
    if (!m_board.InPlay() || PlaysSolution()) return;
    m_helped = true;
    m_solutionTimer.start();
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
    // The hint's ring, in the device pixels of the tile it marks.
    if (RingShows())
        DrawFocusRing(painter, QRegion(m_tiles.CellRect(m_ringCell / cols, m_ringCell % cols)));
}

void GameWnd::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    ComposeFrame(painter);
}

// Mouse events stop here: the panel behind must not see presses on the board.
void GameWnd::mousePressEvent(QMouseEvent*) {}

void GameWnd::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    // Any click stops the solution where it is; play goes on from there.
    if (PlaysSolution()) {
        StopSolution();
        return;
    }
    if (event->button() == Qt::RightButton && rect().contains(point)) {
        ShowHint();
        return;
    }
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
    if (PlaysSolution()) {
        StopSolution();
        return true;
    }
    if (event.key() == Qt::Key_H && (event.modifiers() & ~Qt::ShiftModifier) == Qt::NoModifier) {
        if (event.modifiers() & Qt::ShiftModifier) {
            PlaySolution();
        } else {
            ShowHint();
        }
        return true;
    }
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
