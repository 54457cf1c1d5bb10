// Fits a form's controls to the font and screen they are shown on. The design places them in
// twips for the small system font it was drawn with. The whole layout is first scaled by how
// much larger the form's font is than that one (fontScale); then every control that still
// cannot show its text grows to what the text needs, and whatever stands to its right (or
// below) moves on by as much (fitToText). Frames grow round their contents. Controls, captions,
// order and grouping stay as designed.
#pragma once

#include <QPointF>
#include <QSize>
#include <QWidget>
#include <vector>

namespace quelo::qt {

// The size a control needs to show its text whole; an empty size when it has no text to fit.
QSize textNeed(const QWidget& control);
// Lists, grids and text areas can use more room down, and across as boxes of a line can too.
bool growsDown(const QWidget* w);
bool growsAcross(const QWidget* w);
// How much larger than the design's font the form's font is, across and down (at least 1).
QPointF fontScale(const QWidget& form);
// Grows `controls` (every control of a form; frames' controls are their children) to their text.
void fitToText(QWidget& form, const std::vector<QWidget*>& controls);
// Splits `items` where no item crosses a line between them: into rows when `rows`, else columns.
std::vector<std::vector<QWidget*>> cut(std::vector<QWidget*> items, bool rows);
// The order a reader meets the controls in: rows top to bottom, split into columns where the
// rows share no line; a frame's controls stand where the frame stands, and frames themselves
// are left out.
std::vector<QWidget*> readingOrder(QWidget& form, const std::vector<QWidget*>& controls);

}  // namespace quelo::qt
