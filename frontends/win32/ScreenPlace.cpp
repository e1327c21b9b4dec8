#include "frontends/win32/ScreenPlace.h"

#include <algorithm>

#include "frontends/win32/DpiScale.h"

namespace win32 {

RECT NearestWorkArea(const RECT& rect)
{
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (GetMonitorInfoW(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &monitor))
        return monitor.rcWork;
    return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

POINT ReachablePosition(int left, int top, int width, int height, int dpi)
{
    const RECT work = NearestWorkArea({left, top, left + width, top + height});
    const int captionHeight = SystemMetricForDpi(SM_CYCAPTION, dpi);
    RECT titleBar{left, top, left + width, top + captionHeight + SystemMetricForDpi(SM_CYFIXEDFRAME, dpi)};
    RECT visible;
    const bool reachable = IntersectRect(&visible, &titleBar, &work) &&
                           visible.right - visible.left >= std::min(width, 100) &&
                           visible.bottom - visible.top >= captionHeight / 2;
    if (!reachable) {
        left = std::max(static_cast<int>(work.left), std::min(left, static_cast<int>(work.right) - width));
        top = std::max(static_cast<int>(work.top), std::min(top, static_cast<int>(work.bottom) - height));
    }
    return {left, top};
}

}  // namespace win32
