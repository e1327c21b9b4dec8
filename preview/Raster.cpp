#include "preview/Raster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "preview/PixelClip.h"

namespace preview {

namespace {

// To the nearest integer, halves up, for values already cut to the area;
// by a cast, which compiles to one instruction where floor is a call.
int Nearest(double v)
{
    const double up = v + 0.5;
    const int cut = static_cast<int>(up);
    return up < cut ? cut - 1 : cut;
}

}  // namespace

Raster::Raster(uint32_t* pixels, int width, int height, uint32_t colour, int pen)
    : pixels_(pixels), width_(std::max(0, width)), height_(std::max(0, height)), colour_(colour),
      pen_(std::clamp(pen, 1, 64))
{
    // A pixel is hit when the rounded point is on it: cut just inside the
    // half pixel round the area, widened by the pen's reach.
    const double reach = pen_ / 2 + 0.5 - 1e-6;
    cut_.Add(-reach, -reach);
    cut_.Add(width_ - 1 + reach, height_ - 1 + reach);
}

void Raster::Plot(int x, int y)
{
    if (x >= 0 && x < width_ && y >= 0 && y < height_)
        pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)] = colour_;
}

void Raster::Dab(int x, int y)
{
    if (pen_ == 1) {
        Plot(x, y);
        return;
    }
    // Centred as GDI centres a pen: one of an even width reaches a pixel
    // further up and left.
    const int from = -pen_ / 2;
    for (int dy = from; dy < from + pen_; ++dy)
        for (int dx = from; dx < from + pen_; ++dx)
            Plot(x + dx, y + dy);
}

void Raster::Disc(int x, int y, int radius)
{
    const int r = std::max(0, radius), reach = r * r + r;
    for (int dy = -r; dy <= r; ++dy)
        for (int dx = -r; dx <= r; ++dx)
            if (dx * dx + dy * dy <= reach)
                Plot(x + dx, y + dy);
}

void Raster::Line(int x0, int y0, int x1, int y1)
{
    if (pen_ == 1 && x0 >= 0 && x0 < width_ && x1 >= 0 && x1 < width_ && y0 >= 0 && y0 < height_ && y1 >= 0 &&
        y1 < height_) {
        // Both ends inside, so every pixel between: written without a test,
        // stepping along the longer axis, a row or a column at a time.
        const long stepX = x0 < x1 ? 1 : -1, stepY = y0 < y1 ? width_ : -static_cast<long>(width_);
        long along = std::abs(x1 - x0), across = std::abs(y1 - y0), stepAlong = stepX, stepAcross = stepY;
        if (across > along) {
            std::swap(along, across);
            std::swap(stepAlong, stepAcross);
        }
        uint32_t* p = pixels_ + static_cast<std::size_t>(y0) * static_cast<std::size_t>(width_) + x0;
        long error = along / 2;
        for (long i = 0; i <= along; ++i) {
            *p = colour_;
            p += stepAlong;
            error -= across;
            if (error < 0) {
                error += along;
                p += stepAcross;
            }
        }
        return;
    }
    // Bresenham: one pixel a step along the longer axis.
    const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int error = dx + dy;
    for (;;) {
        Dab(x0, y0);
        if (x0 == x1 && y0 == y1)
            return;
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x0 += sx;
        }
        if (twice <= dx) {
            error += dx;
            y0 += sy;
        }
    }
}

void Raster::Segment(Point a, Point b)
{
    const auto inside = [this](const Point& p) {
        return p.X >= cut_.MinX && p.X <= cut_.MaxX && p.Y >= cut_.MinY && p.Y <= cut_.MaxY;
    };
    if (width_ == 0 || height_ == 0 || (!(inside(a) && inside(b)) && !ClipSegment(a, b, cut_)))
        return;
    Line(Nearest(a.X), Nearest(a.Y), Nearest(b.X), Nearest(b.Y));
}

void Raster::Circle(Point centre, double radius)
{
    if (width_ == 0 || height_ == 0 || !std::isfinite(centre.X) || !std::isfinite(centre.Y) || !std::isfinite(radius))
        return;
    const double r = std::max(1.0, radius);
    if (centre.X + r < cut_.MinX || centre.X - r > cut_.MaxX || centre.Y + r < cut_.MinY || centre.Y - r > cut_.MaxY)
        return;
    if (r > LargestCircle) {
        const std::vector<Point> arc = VisibleArc(centre, r, cut_);
        for (std::size_t i = 1; i < arc.size(); ++i)
            Segment(arc[i - 1], arc[i]);
        return;
    }
    // The midpoint circle, an eighth of it reflected into the rest; with
    // every pixel tested only where some may fall outside.
    const int cx = Nearest(centre.X), cy = Nearest(centre.Y);
    int x = Nearest(r), y = 0, error = 1 - x;
    const bool inside = pen_ == 1 && cx - x >= 0 && cx + x < width_ && cy - x >= 0 && cy + x < height_;
    const auto put = [&](int px, int py) {
        if (inside)
            pixels_[static_cast<std::size_t>(py) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(px)] =
                colour_;
        else
            Dab(px, py);
    };
    while (x >= y) {
        for (const auto& [px, py] : {std::pair{x, y}, std::pair{y, x}}) {
            put(cx + px, cy + py);
            put(cx - px, cy + py);
            put(cx + px, cy - py);
            put(cx - px, cy - py);
        }
        ++y;
        if (error < 0) {
            error += 2 * y + 1;
        } else {
            --x;
            error += 2 * (y - x) + 1;
        }
    }
}

}  // namespace preview
