#pragma once
// A picture painted with GDI into a device context, through a given fit
// (the window's view): the input in grey, the picked points marked and
// numbered, and the dimension in colour over them (faint when it can no
// longer be drawn), everything cut to the area. The input is kept as a
// bitmap of the current view and painted again only when the view, the
// area or the density changes, so that a frame of a drag costs the
// dimension alone, however large the drawing.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstddef>

#include "frontends/win32/DpiScale.h"
#include "preview/Fit.h"
#include "preview/Shapes.h"

namespace win32 {

class PreviewPainter {
public:
    PreviewPainter() = default;
    ~PreviewPainter();
    PreviewPainter(const PreviewPainter&) = delete;
    PreviewPainter& operator=(const PreviewPainter&) = delete;

    // Paints area of dc. The input is kept for keptHeight pixels from the
    // area's top (at least the area's height), so that a strip below it
    // that takes a line more or less costs no new bitmap. With shiftOnly, a
    // view that differs from the kept one by a pan alone shows the kept
    // input moved along (what it does not cover blank) and the call returns
    // true: the caller paints again with shiftOnly false once the pan rests.
    bool Paint(HDC dc, const RECT& area, int keptHeight, const preview::Picture& picture, const preview::Fit& fit,
               const DpiScale& scale, bool shiftOnly = false);

private:
    bool KeptFor(int width, int height, const preview::Fit& fit, int dpi, std::size_t inputCount) const;
    void MakeInput(HDC dc, int width, int height, const preview::Picture& picture, std::size_t inputCount,
                   const preview::Fit& fit, const DpiScale& scale);
    void MakeFrame(HDC dc, int width, int height);

    HBITMAP input_ = nullptr;
    int inputWidth_ = 0, inputHeight_ = 0, inputDpi_ = 0;
    std::size_t inputCount_ = 0;
    preview::Fit inputFit_;
    HBITMAP frame_ = nullptr;
    int frameWidth_ = 0, frameHeight_ = 0;
};

}  // namespace win32
