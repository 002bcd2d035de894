// The panel beside the cursor while a work is drawn or retimed: the work's
// duration, the position of its start node, its start and end dates.
//
// It is a tool-tip window shown without activation: it never takes the
// focus or the mouse from the window being drawn in. The values are kept
// and drawn on every repaint.
#pragma once

#include "platform/date_serial.h"

#include <QString>
#include <QStringList>
#include <QWidget>

namespace arrowplan {

class TFrmHint : public QWidget {
public:
    explicit TFrmHint(QWidget* parent = nullptr);

    // Moves the top-left corner to the screen point and shows the window.
    void ShowHintAt(int x, int y);
    void SetValues(int startNodePosition, double duration, double startDate, double endDate);

    // The cell rectangles (right and bottom included) for a window size:
    // labels at even indices, values at odd ones, row by row.
    static QRect CellRect(int index, int width, int height);
    QString CellText(int index) const;
    // The lines a cell's text is drawn in: one, or a date and its time on
    // two when one line would not fit the cell.
    QStringList CellLines(int index) const;
    // The window's font, smaller for lines too wide or too many for their
    // cell, so that they show whole.
    QFont CellFont(int index) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString values_[4];
};

// General float text: the shortest form (2.5, 3).
QString GeneralFloatText(double value);
// A date as date text, with the time only when it is not midnight.
using platform::DateTimeText;

} // namespace arrowplan
