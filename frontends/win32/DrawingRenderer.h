#pragma once
// The host's drawing painted for a view on a thread of its own, into a
// bitmap that the window then shows: a view of a million elements may take
// the better part of a second to paint, and the dialog must answer every
// key, notch and drag meanwhile. A view asked for abandons the one under
// way. The thread draws into device-independent bitmaps with DCs of its
// own; the plan it walks is never changed once made, so nothing else is
// shared but the bitmaps handed over under a lock.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

#include "frontends/win32/DpiScale.h"
#include "preview/Fit.h"
#include "preview/PaintPlan.h"

namespace win32 {

// What is painted: the plan through a fit into width x height pixels.
struct DrawingView {
    std::shared_ptr<const preview::PaintPlan> Plan;
    preview::Fit Fit;
    int Width = 0, Height = 0;
    int Dpi = DesignDpi;

    bool Same(const DrawingView& other) const;
};

// A view painted: a top-down 32-bit bitmap of its size.
struct DrawingPicture {
    HBITMAP Bitmap = nullptr;
    void* Bits = nullptr;
    int Width = 0, Height = 0;
    DrawingView View;

    void Release();
};

// Paints view into picture (its bitmap made anew when the size differs);
// false, the picture unusable, when abandon said so on the way.
bool PaintDrawing(const DrawingView& view, DrawingPicture& picture, const std::function<bool()>& abandon);

class DrawingRenderer {
public:
    DrawingRenderer();
    ~DrawingRenderer();
    DrawingRenderer(const DrawingRenderer&) = delete;
    DrawingRenderer& operator=(const DrawingRenderer&) = delete;

    // Where a finished picture is announced (a posted message).
    void Notify(HWND window, UINT message);
    // The view to paint next; nothing happens (false) when it is the one asked for last.
    bool Ask(const DrawingView& view);
    // Waits at most that long for the view asked for last; true once it is painted.
    bool Wait(DWORD milliseconds);
    // A finished picture, swapped into shown (whose bitmap the thread may
    // then reuse); false when none is waiting.
    bool Take(DrawingPicture& shown);
    // Ends the thread; nothing is painted afterwards.
    void Stop();

private:
    static DWORD WINAPI Run(void* self);
    void Loop();

    CRITICAL_SECTION lock_;
    HANDLE thread_ = nullptr;
    HANDLE wake_ = nullptr;  // auto-reset: a view was asked for, or the end
    HANDLE done_ = nullptr;  // manual reset: the view asked for last is painted
    std::atomic<unsigned> generation_{0};
    std::atomic<bool> quit_{false};
    HWND notifyWindow_ = nullptr;
    UINT notifyMessage_ = 0;
    std::optional<DrawingView> asked_, pending_;
    DrawingPicture ready_;  // under the lock
    bool readyFresh_ = false;
    DrawingPicture work_;   // the thread's own
};

}  // namespace win32
