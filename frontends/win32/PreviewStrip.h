#pragma once
// The lines under the preview's picture: a static control, so that tests
// and screen readers read its text, that draws itself broken to its width
// and, where even that leaves too many lines, shortened at the end of its
// last line, never at its start.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>
#include <vector>

#include "frontends/win32/DpiScale.h"

namespace win32 {

// paragraphs broken to width pixels in the font selected into dc.
std::vector<std::wstring> WrapToWidth(HDC dc, const std::vector<std::wstring>& paragraphs, int width, int maxLines);

class PreviewStrip {
public:
    PreviewStrip() = default;
    ~PreviewStrip();
    PreviewStrip(const PreviewStrip&) = delete;
    PreviewStrip& operator=(const PreviewStrip&) = delete;

    bool Create(HWND parent);
    HWND Window() const { return window_; }
    void SetFont(HFONT font) { font_ = font; }
    // Its text, one line a paragraph; true when it changed.
    bool SetLines(const std::vector<std::wstring>& lines);
    // The height its lines take at that width, at least one line's, at most maxHeight.
    int HeightFor(int width, int maxHeight, const DpiScale& scale) const;
    // The parent's WM_DRAWITEM for it.
    void Draw(const DRAWITEMSTRUCT& item, const DpiScale& scale) const;
    // The parent's window went: the control went with it.
    void Forget() { window_ = nullptr; }

private:
    HWND window_ = nullptr;
    HFONT font_ = nullptr;
    HBRUSH background_ = nullptr;
    std::vector<std::wstring> lines_;
};

}  // namespace win32
