#pragma once
// The preview's picture painted with GDI into a device context, through a
// given fit (the window's view): the host's drawing in grey, the picked
// points marked and numbered, and the dimension in colour over them (faint
// when it can no longer be drawn), everything cut to the area.
//
// The host's drawing is painted by a renderer on a thread of its own and
// kept as a bitmap of the view it was painted for; a frame of a drag paints
// the dimension alone over it, however large the drawing. When the view
// changes (a notch, a pan, a resize), the renderer is asked for the new
// view; until it has painted it, the last picture is shown moved and
// scaled to the new view, so that every gesture is answered at once.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <memory>

#include "frontends/win32/DpiScale.h"
#include "frontends/win32/DrawingRenderer.h"
#include "preview/Fit.h"
#include "preview/PaintPlan.h"
#include "preview/Shapes.h"

namespace win32 {

class PreviewPainter {
public:
    PreviewPainter() = default;
    ~PreviewPainter();
    PreviewPainter(const PreviewPainter&) = delete;
    PreviewPainter& operator=(const PreviewPainter&) = delete;

    // Where the renderer announces a finished picture: the window paints again.
    void Notify(HWND window, UINT message) { renderer_.Notify(window, message); }

    // Paints area of dc: the drawing (none without a plan), the picked
    // points and the dimension's picture. The drawing is painted for
    // keptHeight pixels from the area's top (at least the area's height),
    // so that a strip below it that takes a line more or less costs no new
    // picture. True when the drawing shown is the one of this view; false
    // while it is the last one moved and scaled (the renderer's message
    // comes when the right one is ready).
    bool Paint(HDC dc, const RECT& area, int keptHeight, const std::shared_ptr<const preview::PaintPlan>& plan,
               const preview::Picture& dimension, const preview::Fit& fit, const DpiScale& scale);

    // The dialog is going: nothing more is painted off its thread.
    void Stop() { renderer_.Stop(); }

private:
    void MakeFrame(HDC dc, int width, int height);

    DrawingRenderer renderer_;
    DrawingPicture shown_;  // the drawing as last painted, for the view it was painted for
    HBITMAP frame_ = nullptr;
    int frameWidth_ = 0, frameHeight_ = 0;
};

}  // namespace win32
