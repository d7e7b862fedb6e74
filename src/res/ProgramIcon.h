#pragma once

#include <QIcon>
#include <QImage>

// The program's icon, painted at the given edge length in pixels (square, transparent
// outside its rounded corners): a 3 by 3 sunset puzzle with its last tile out.
QImage PaintProgramIcon(int size);

// The icon at the sizes window systems ask for.
QIcon ProgramIcon();
