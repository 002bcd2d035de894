// One repaint of a network's view as its host paints it: the network draws
// on target through a canvas moved by the scroll position, then lets go of
// the canvas. paint is Paint (the whole picture, virtual) unless named.
#pragma once

#include "network/drawing/network_add_draw.h"
#include "platform/translated_canvas.h"

#include <QPoint>

namespace bench {

inline void PaintView(network::TVYRNetworkAddDraw& net, platform::Canvas& target, QPoint scroll,
                      void (network::TVYRNetworkAddDraw::*paint)() = &network::TVYRNetworkAddDraw::Paint)
{
    platform::TranslatedCanvas screen(target, -scroll);
    net.SetCanvas(&screen);
    (net.*paint)();
    net.SetCanvas(nullptr);
}

} // namespace bench
