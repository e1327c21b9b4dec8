#pragma once
// Where a window may stand on the screens there are now.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace win32 {

// The work area of the screen nearest to rect.
RECT NearestWorkArea(const RECT& rect);

// A remembered position may lie on a monitor that is gone, or come from a
// damaged file. If no usable part of the title bar would be on a screen,
// the window is moved onto the nearest one instead, as the user could not
// reach it otherwise; else it stays where it was asked to. The title bar is
// measured at the window's density.
POINT ReachablePosition(int left, int top, int width, int height, int dpi);

}  // namespace win32
