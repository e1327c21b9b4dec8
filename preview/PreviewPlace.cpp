#include "preview/PreviewPlace.h"

#include <algorithm>

namespace preview {

namespace {

// Within [low, high - length], or at low when the span is shorter.
int Fitted(int at, int length, int low, int high) { return std::max(low, std::min(at, high - length)); }

}  // namespace

PixelRect PlaceBesideDialog(const PixelRect& dialog, const PixelRect& work, int width, int minimumWidth,
                            int minimumHeight)
{
    minimumWidth = std::min(minimumWidth, work.Width());
    width = std::clamp(width, minimumWidth, std::max(minimumWidth, work.Width()));
    const int height = std::clamp(dialog.Height(), std::min(minimumHeight, work.Height()), work.Height());
    const int top = Fitted(dialog.Top, height, work.Top, work.Bottom);
    // Room between the dialog and either edge, none where the dialog
    // itself reaches past that edge.
    const int roomRight = std::max(0, work.Right - std::max(dialog.Right, work.Left));
    const int roomLeft = std::max(0, std::min(dialog.Left, work.Right) - work.Left);
    int left = 0;
    if (roomRight >= width) {
        left = std::max(dialog.Right, work.Left);
    } else if (roomLeft >= width) {
        left = std::min(dialog.Left, work.Right) - width;
    } else if (std::max(roomRight, roomLeft) >= minimumWidth) {
        width = std::max(roomRight, roomLeft);
        left = roomRight >= roomLeft ? work.Right - width : work.Left;
    } else if (const int roomBelow = std::max(0, work.Bottom - std::max(dialog.Bottom, work.Top)),
               roomAbove = std::max(0, std::min(dialog.Top, work.Bottom) - work.Top);
               std::max(roomBelow, roomAbove) >= minimumHeight && minimumHeight > 0) {
        // Below or above, clear of the dialog, as wide as it is.
        const int room = std::max(roomBelow, roomAbove);
        const int across = std::clamp(dialog.Width(), minimumWidth, std::max(minimumWidth, work.Width()));
        const int tall = std::min(room, std::max(minimumHeight, dialog.Height()));
        const int x = Fitted(dialog.Left, across, work.Left, work.Right);
        const int y = roomBelow >= roomAbove ? std::max(dialog.Bottom, work.Top) : std::min(dialog.Top, work.Bottom) - tall;
        return {x, y, x + across, y + tall};
    } else {
        width = minimumWidth;
        left = roomRight >= roomLeft ? work.Right - width : work.Left;
    }
    return {left, top, left + width, top + height};
}

bool Overlaps(const PixelRect& a, const PixelRect& b)
{
    return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

PixelRect WhollyInside(int left, int top, int width, int height, const PixelRect& work, int minimumWidth,
                       int minimumHeight)
{
    width = std::clamp(width, std::min(minimumWidth, work.Width()), work.Width());
    height = std::clamp(height, std::min(minimumHeight, work.Height()), work.Height());
    left = Fitted(left, width, work.Left, work.Right);
    top = Fitted(top, height, work.Top, work.Bottom);
    return {left, top, left + width, top + height};
}

}  // namespace preview
