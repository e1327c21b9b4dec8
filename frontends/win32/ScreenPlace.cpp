#include "frontends/win32/ScreenPlace.h"

#include <algorithm>


namespace win32 {

RECT NearestWorkArea(const RECT& rect)
{
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (GetMonitorInfoW(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &monitor))
        return monitor.rcWork;
    return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

POINT WhollyOnScreen(int left, int top, int width, int height)
{
    // Looked up with values no damaged file can make overflow.
    left = std::clamp(left, -1000000, 1000000);
    top = std::clamp(top, -1000000, 1000000);
    width = std::clamp(width, 0, 100000);
    height = std::clamp(height, 0, 100000);
    const RECT work = NearestWorkArea({left, top, left + width, top + height});
    left = std::max(static_cast<int>(work.left), std::min(left, static_cast<int>(work.right) - width));
    top = std::max(static_cast<int>(work.top), std::min(top, static_cast<int>(work.bottom) - height));
    return {left, top};
}

}  // namespace win32
