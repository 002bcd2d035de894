// A handle panel of the selected work: a small blue square that the control
// draws, hit-tests and moves itself. Positions are control coordinates.
#pragma once

#include "platform/colors.h"
#include "platform/window_services.h"

#include <QRect>

#include <functional>

namespace network {

class TLankPanel {
public:
    explicit TLankPanel(int cursorId)
        : Cursor(cursorId)
    {
    }

    QRect BoundsRect() const { return QRect(Left, Top, Width, Height); }

    // Moves the panel's top-left to (left, top) and shows it; false when it
    // was already shown there, so callers can skip the repaint.
    bool ShowAt(int left, int top)
    {
        if (Visible && Left == left && Top == top)
            return false;
        Left = left;
        Top = top;
        Visible = true;
        return true;
    }

    int Left = 0;
    int Top = 0;
    int Width = 8;
    int Height = 8;
    int Cursor;
    platform::TColor Color = platform::clBlue;
    bool Visible = false;
    // Bound by the control to its HandleMoved.
    std::function<void(TLankPanel&)> OnMouseDown;
};

} // namespace network
