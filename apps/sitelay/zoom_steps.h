// The zoom steps of the main window and the texts of its status bar.
#pragma once

#include <QPoint>
#include <QString>

namespace sitelay {

// One step in: 3/2 of the zoom, raised to a multiple of 5.
int ZoomInStep(int zoom);
// One step out: 3/4 of the zoom, raised to a multiple of 5.
int ZoomOutStep(int zoom);

// Panel 3: the site position in millimetres to the nearest 100 mm, halves
// to the even neighbour, from a world point in 0.1 mm.
QString MousePositionText(QPoint world);

} // namespace sitelay
