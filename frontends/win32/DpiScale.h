#pragma once
// The one place where the form's 96-DPI pixels become pixels of the monitor
// the dialog stands on. Edges are scaled, never sizes, so two controls that
// touch at 96 DPI still touch at any density, and every value is rounded by
// the same rule (to nearest, halves away from zero).
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace win32 {

constexpr int DesignDpi = 96;

struct DpiScale {
    int Dpi = DesignDpi;

    int Length(int value) const { return MulDiv(value, Dpi, DesignDpi); }
    // A rectangle given as left, top, width and height in 96-DPI pixels.
    RECT Rect(int left, int top, int width, int height) const
    {
        return {Length(left), Length(top), Length(left + width), Length(top + height)};
    }
};

// The functions below use what the running Windows offers and fall back to
// the system-wide values where it has no density per monitor (before
// Windows 10), so the program still starts there.

// The density of the monitor the window stands on.
int DpiOfWindow(HWND window);
// The frame around a client rectangle, at that density.
void AdjustFrameForDpi(RECT& rect, DWORD style, DWORD exStyle, int dpi);
// A system metric (SM_CXICON, SM_CYCAPTION, ...) at that density.
int SystemMetricForDpi(int index, int dpi);

}  // namespace win32
