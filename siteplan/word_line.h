// The labelled line: a word written again and again along a polyline,
// turned to each segment, with pieces of line between the copies.
#pragma once

#include "platform/canvas.h"

#include <QPoint>
#include <QString>

#include <span>

namespace siteplan {

// Draws points (screen pixels) as gap pixels of line, the word, gap pixels
// of line, the word, and so on; the rhythm runs on across the vertices. A
// word is centred on the line across its height and may run past an inner
// vertex; on the last segment a word that would reach the end is replaced
// by line. The canvas pen draws the pieces; the font becomes 10 point
// "宋体" in the background colour and the brush clear. Copies and pieces
// that cannot reach the canvas's clip area are not drawn, so a line running
// far off the sheet costs no more than its visible part.
void DrawWordLine(platform::Canvas& canvas, std::span<const QPoint> points, int gap, const QString& word);

} // namespace siteplan
