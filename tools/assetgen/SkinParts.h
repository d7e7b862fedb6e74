#pragma once

#include <QImage>
#include <QPoint>
#include <QSize>
#include <QString>

struct Lettering;

// The painters behind each kind of skin picture. A picture that stands on the window's
// background is painted over the piece of background it covers, so its edges blend.

enum class ButtonState { Normal, MouseOn, MouseDown };

// Every picture is painted at a scale of 1 or 2 (device pixels per logical pixel): at 2, twice
// as wide and tall, drawn afresh from the same shapes and text. Pictures painted over the
// background take its scale.

// Main window: 634 by 373, a dark band around the content area.
QImage PaintBackground(int scale);
// The program's name with a small icon, over the background at topLeft.
QImage PaintTitle(const QImage& background, QPoint topLeft, QSize size);

// Pictures with words letter them as lettering says, label being the English words and name
// the picture's name, for the messages of a label that does not fit.

// Section buttons are tabs; MouseDown is also the selected look, joined to the panel below.
enum class SectionIcon { Game, Pictures, Scores, About };
QImage PaintSectionButton(const QImage& background, QPoint topLeft, QSize size, const char* label,
                          SectionIcon icon, ButtonState state, const Lettering& lettering,
                          const char* name);

enum class CaptionGlyph { Minimise, Close };
QImage PaintCaptionButton(const QImage& background, QPoint topLeft, QSize size, CaptionGlyph glyph,
                          ButtonState state);

// Buttons standing on a panel: amber, dark lettering, an icon before it unless None.
enum class ActionIcon { None, Plus, Bin };
QImage PaintActionButton(QSize size, const char* label, ActionIcon icon, ButtonState state,
                         int scale, const Lettering& lettering, const char* name);

// A link line on a panel; the hover look underlines it.
enum class LinkIcon { Mail, Globe };
QImage PaintLinkButton(QSize size, const QString& text, LinkIcon icon, bool hover, int scale);

// The about panel's card: name, version, one line.
QImage PaintAboutCard(QSize size, int scale, const Lettering& lettering, const char* name);
