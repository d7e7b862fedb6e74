#pragma once

#include <QString>

// What a screen reader says of a hint: which tile to click, where it stands from the gap and
// which way it moves; tiles > 1 when the click slides a run. dRow, dCol: from the empty cell
// to the clicked tile, one of them 0.
QString HintText(int dRow, int dCol, int tiles);

// The message shown instead of the name dialog when a game solved with help ends.
QString HelpedGameText();
