#include "common/preview_zoom_steps.h"

#include <array>

namespace common {

int NextZoomStep(int zoom, bool up)
{
    static constexpr std::array<int, 6> Steps = {25, 50, 75, 100, 150, 200};
    if (up) {
        for (const int step : Steps)
            if (step > zoom)
                return step;
    } else {
        for (auto it = Steps.rbegin(); it != Steps.rend(); ++it)
            if (*it < zoom)
                return *it;
    }
    return zoom;
}

} // namespace common
