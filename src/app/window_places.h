#pragma once
// Where a window reopens: where the student left it, unless too little of it would be seen on
// the screens there are now (a screen unplugged, a smaller resolution).

#include <vector>

namespace zorvan::app {

// A window's frame or a screen's free area, in pixels of the desktop.
struct WindowPlace {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const WindowPlace&) const = default;
};

// The place as it was when a strip of its top edge (where the title bar is grabbed) can be seen
// on a screen; otherwise moved, and shrunk when it is larger, onto the screen it overlaps most
// (the nearest when it overlaps none). With no screen it stays as it was.
WindowPlace OnScreen(WindowPlace window, const std::vector<WindowPlace>& screens);

// The place moved, when it is not already, to lie wholly on the screen it overlaps most (the
// nearest when it overlaps none): for the place a window is first built with, chosen for a screen
// larger than some are. It stays as it was when no screen holds it whole, or with no screen.
WindowPlace WhollyOnScreen(WindowPlace window, const std::vector<WindowPlace>& screens);

}  // namespace zorvan::app
