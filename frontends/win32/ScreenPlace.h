#pragma once
// Where a window may stand on the screens there are now.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace win32 {

// The work area of the screen nearest to rect.
RECT NearestWorkArea(const RECT& rect);

// A remembered position may lie on a monitor that is gone, come from a
// damaged file, or have been taken at another density, where the window was
// smaller. The window stands wholly on the work area of the nearest screen,
// moved the least distance from where it was asked to; where it is larger
// than that area, its top left corner shows.
POINT WhollyOnScreen(int left, int top, int width, int height);

}  // namespace win32
