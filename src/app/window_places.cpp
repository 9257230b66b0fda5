#include "app/window_places.h"

#include <algorithm>

namespace zorvan::app {
namespace {

// Enough of the title bar to take hold of.
constexpr int kGripWidth = 60;
constexpr int kGripHeight = 20;

long Overlap(const WindowPlace& a, const WindowPlace& b) {
    const long width = std::min(a.x + a.width, b.x + b.width) - std::max(a.x, b.x);
    const long height = std::min(a.y + a.height, b.y + b.height) - std::max(a.y, b.y);
    return width > 0 && height > 0 ? width * height : 0;
}

// The screen a window belongs on: the one it overlaps most, or else the nearest, centre to
// centre.
const WindowPlace& ScreenFor(const WindowPlace& window, const std::vector<WindowPlace>& screens) {
    const auto distance = [&](const WindowPlace& screen) {
        const long dx = (2L * screen.x + screen.width) - (2L * window.x + window.width);
        const long dy = (2L * screen.y + screen.height) - (2L * window.y + window.height);
        return dx * dx + dy * dy;
    };
    return *std::min_element(
        screens.begin(), screens.end(), [&](const WindowPlace& a, const WindowPlace& b) {
            const long overlapA = Overlap(window, a), overlapB = Overlap(window, b);
            return overlapA != overlapB ? overlapA > overlapB : distance(a) < distance(b);
        });
}

// Shrunk to the screen when larger, and moved the least that puts it wholly on it.
WindowPlace MovedOnto(WindowPlace window, const WindowPlace& screen) {
    window.width = std::min(window.width, screen.width);
    window.height = std::min(window.height, screen.height);
    window.x = std::clamp(window.x, screen.x, screen.x + screen.width - window.width);
    window.y = std::clamp(window.y, screen.y, screen.y + screen.height - window.height);
    return window;
}

}  // namespace

WindowPlace OnScreen(WindowPlace window, const std::vector<WindowPlace>& screens) {
    if (screens.empty()) return window;
    const WindowPlace grip{window.x, window.y, window.width, std::min(window.height, kGripHeight)};
    for (const WindowPlace& screen : screens) {
        const long seen = Overlap(grip, screen);
        if (seen >= long(std::min(window.width, kGripWidth)) * grip.height) return window;
    }
    return MovedOnto(window, ScreenFor(window, screens));
}

WindowPlace WhollyOnScreen(WindowPlace window, const std::vector<WindowPlace>& screens) {
    if (screens.empty()) return window;
    const WindowPlace& screen = ScreenFor(window, screens);
    return window.width <= screen.width && window.height <= screen.height
               ? MovedOnto(window, screen)
               : window;
}

}  // namespace zorvan::app
