#pragma once

#include <QString>

class GameWnd;
class PuzzleBoard;

// The board as assistive technology reads it: a table of rows x cols cells, each named after
// the tile it holds.

// Registers the board's interface with Qt; any number of calls, registered once.
void InstallBoardAccessibility();

// "Tile N", N being the tile's place in the whole picture counted from 1 in reading order,
// or "Empty".
QString CellName(const PuzzleBoard& board, int row, int col);

// Tell assistive technology that tiles moved, or that the board was set up anew (its size
// may have changed).
void TilesMoved(GameWnd* view);
void BoardReset(GameWnd* view);
