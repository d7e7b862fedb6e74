#include "core/board/PuzzleBoard.h"

#include <cstdlib>
#include <ctime>

void PuzzleBoard::Reset(const GridSize& size) {
    m_cols = size.cols;
    m_rows = size.rows;
    m_inPlay = false;
    PutEveryCellHome();
}

void PuzzleBoard::PutEveryCellHome() {
    for (int row = 0; row < kMaxRows; ++row) {
        for (int col = 0; col < kMaxCols; ++col) m_cells[row][col] = row * 10 + col;
    }
}

void PuzzleBoard::Shuffle() { ShuffleWithSeed(static_cast<std::uint32_t>(std::time(nullptr))); }

void PuzzleBoard::ShuffleWithSeed(std::uint32_t seed) {
    m_inPlay = true;
    m_random.Seed(seed);
    PutEveryCellHome();
    m_emptyCol = m_cols - 1;
    m_emptyRow = m_rows - 1;
    m_cells[m_emptyRow][m_emptyCol] = kEmptyCell;

    for (int i = 0; i < kShuffleSlides; ++i) {
        int a = m_random.Next();
        int b = m_random.Next();
        if (a % 2 == 1) {
            SlideRowTo(b % m_cols);
        } else {
            SlideColumnTo(b % m_rows);
        }
    }
    SlideRowTo(m_cols - 1);
    SlideColumnTo(m_rows - 1);
}

int PuzzleBoard::SlideColumnTo(int row) {
    const int col = m_emptyCol;
    for (int r = m_emptyRow; r > row; --r) m_cells[r][col] = m_cells[r - 1][col];
    for (int r = m_emptyRow; r < row; ++r) m_cells[r][col] = m_cells[r + 1][col];
    m_cells[row][col] = kEmptyCell;
    int moved = std::abs(row - m_emptyRow);
    m_emptyRow = row;
    return moved;
}

int PuzzleBoard::SlideRowTo(int col) {
    const int row = m_emptyRow;
    for (int c = m_emptyCol; c > col; --c) m_cells[row][c] = m_cells[row][c - 1];
    for (int c = m_emptyCol; c < col; ++c) m_cells[row][c] = m_cells[row][c + 1];
    m_cells[row][col] = kEmptyCell;
    int moved = std::abs(col - m_emptyCol);
    m_emptyCol = col;
    return moved;
}

ClickResult PuzzleBoard::ClickCell(int row, int col) {
    ClickResult result;
    if (!m_inPlay || row < 0 || row >= m_rows || col < 0 || col >= m_cols) return result;
    if (col == m_emptyCol) {
        result.moved = SlideColumnTo(row);
    } else if (row == m_emptyRow) {
        result.moved = SlideRowTo(col);
    } else {
        return result;
    }
    result.counted = true;
    if (IsSolved()) {
        m_cells[m_emptyRow][m_emptyCol] = m_emptyRow * 10 + m_emptyCol;
        m_inPlay = false;
        result.solved = true;
    }
    return result;
}

bool PuzzleBoard::IsSolved() const {
    for (int row = 0; row < m_rows; ++row) {
        for (int col = 0; col < m_cols; ++col) {
            if (m_cells[row][col] != row * 10 + col) return row == m_rows - 1 && col == m_cols - 1;
        }
    }
    return true;
}
