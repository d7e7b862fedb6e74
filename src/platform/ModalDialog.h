#pragma once

class QDialog;

// Runs dialog modally and returns its result. When it closes, the window beneath it takes the
// keyboard back: without a window manager to hand it back, no key would reach the program
// until a click.
int RunModal(QDialog& dialog);
