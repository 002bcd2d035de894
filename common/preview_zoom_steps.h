// The zoom steps of the preview window's zoom in and zoom out.
#pragma once

namespace common {

// Up: the first of 25, 50, 75, 100, 150, 200 above zoom; down: the first
// below it counting from 200. zoom itself when there is none.
int NextZoomStep(int zoom, bool up);

} // namespace common
