#include "frontends/win32/DrawingRenderer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "frontends/win32/PreviewGdi.h"
#include "platform/Charset.h"
#include "platform/WideText.h"
#include "preview/PlanRaster.h"

namespace win32 {

namespace {

using preview::PlanKind;
using preview::PlanShape;
using preview::Point;

// The input's grey as a pixel of a 32-bit bitmap (blue, green, red, unused).
constexpr uint32_t InputPixel = (GetRValue(InputColour) << 16) | (GetGValue(InputColour) << 8) | GetBValue(InputColour);
// What the raster leaves: filled shapes and texts, painted with GDI; a
// view of many readable texts takes a while, so a newer view may still
// abandon it. False when abandoned.
bool PaintLater(Pass& pass, const std::vector<PlanShape>& later, const std::function<bool()>& abandon)
{
    std::size_t painted = 0;
    for (const PlanShape& s : later) {
        if (++painted % 64 == 0 && abandon())
            return false;
        if (s.Kind == PlanKind::Text) {
            // As the host's characters read, a bad byte one replacement.
            PaintText(pass, s.At(0), s.TextAngleDeg(), s.TextHeight(), s.TextLength(),
                      platform::WideFromUtf8(platform::SjisToUtf8(std::string(s.Sjis))),
                      platform::WideFromUtf8(platform::SjisToUtf8(std::string(s.FontSjis))), InputColour);
            continue;
        }
        SelectObject(pass.Dc, pass.Objects.Brush(InputColour));
        if (s.Kind == PlanKind::Circle) {
            PaintCircle(pass, s.At(0), s.Values[2], true);
        } else {
            std::vector<Point> pixels(s.PointCount);
            for (std::size_t k = 0; k < s.PointCount; ++k)
                pixels[k] = pass.Fit.ToPixels(s.At(k));
            PaintFilled(pass, pixels);
        }
        SelectObject(pass.Dc, GetStockObject(NULL_BRUSH));
    }
    return true;
}

bool MakeBitmap(DrawingPicture& picture, int width, int height)
{
    if (picture.Bitmap != nullptr && picture.Width == width && picture.Height == height)
        return true;
    picture.Release();
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    picture.Bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &picture.Bits, nullptr, 0);
    if (picture.Bitmap == nullptr) {
        picture.Bits = nullptr;
        return false;
    }
    picture.Width = width;
    picture.Height = height;
    return true;
}

}  // namespace

bool DrawingView::Same(const DrawingView& other) const
{
    // A view put back where it was (the strip took a line and gave it
    // back) may differ in the last bits of its origin: a millionth of a
    // pixel is the same picture.
    return Plan == other.Plan && Width == other.Width && Height == other.Height && Dpi == other.Dpi &&
           Fit.Scale == other.Fit.Scale && std::fabs(Fit.OriginX - other.Fit.OriginX) < 1e-6 &&
           std::fabs(Fit.OriginY - other.Fit.OriginY) < 1e-6;
}

void DrawingPicture::Release()
{
    if (Bitmap != nullptr)
        DeleteObject(Bitmap);
    Bitmap = nullptr;
    Bits = nullptr;
    Width = Height = 0;
    View = DrawingView{};
}

bool PaintDrawing(const DrawingView& view, DrawingPicture& picture, const std::function<bool()>& abandon)
{
    const int width = std::max(1, view.Width), height = std::max(1, view.Height);
    if (!MakeBitmap(picture, width, height))
        return false;
    picture.View = DrawingView{};
    std::memset(picture.Bits, 0xFF, static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
    if (!view.Plan) {
        picture.View = view;
        return true;
    }
    // The strokes straight into the bitmap; what is left, with GDI after.
    const DpiScale scale{view.Dpi};
    preview::Raster raster(static_cast<uint32_t*>(picture.Bits), width, height, InputPixel,
                           std::max(1, scale.Length(1)));
    preview::PlanRaster painter(raster, view.Fit, scale.Length(DotRadius), abandon);
    if (!view.Plan->Walk(view.Fit, GuardedBox(width, height, scale), painter))
        return false;
    const std::vector<PlanShape>& later = painter.Later();
    bool finished = true;
    if (!later.empty()) {
        HDC dc = CreateCompatibleDC(nullptr);
        const HGDIOBJ old = SelectObject(dc, picture.Bitmap);
        {
            Pass pass(dc, view.Fit, scale, GuardedBox(width, height, scale), false);
            pass.UsePen(pass.Objects.Pen(InputColour, std::max(1, scale.Length(1))));
            finished = PaintLater(pass, later, abandon);
        }
        GdiFlush();
        SelectObject(dc, old);
        DeleteDC(dc);
    }
    if (finished)
        picture.View = view;
    return finished;
}

DrawingRenderer::DrawingRenderer()
{
    InitializeCriticalSection(&lock_);
    wake_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    done_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
}

DrawingRenderer::~DrawingRenderer()
{
    Stop();
    CloseHandle(wake_);
    CloseHandle(done_);
    ready_.Release();
    work_.Release();
    DeleteCriticalSection(&lock_);
}

void DrawingRenderer::Notify(HWND window, UINT message)
{
    EnterCriticalSection(&lock_);
    notifyWindow_ = window;
    notifyMessage_ = message;
    LeaveCriticalSection(&lock_);
}

void DrawingRenderer::Stop()
{
    quit_ = true;
    if (thread_ != nullptr) {
        SetEvent(wake_);
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
        thread_ = nullptr;
    }
}

bool DrawingRenderer::Ask(const DrawingView& view)
{
    if (quit_)
        return false;
    EnterCriticalSection(&lock_);
    const bool same = asked_ && asked_->Same(view);
    if (!same) {
        asked_ = view;
        pending_ = view;
        ++generation_;
        ResetEvent(done_);
    }
    LeaveCriticalSection(&lock_);
    if (same)
        return false;
    if (thread_ == nullptr) {
        thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
        // Below the dialog's thread: a key or a notch is answered first.
        if (thread_ != nullptr)
            SetThreadPriority(thread_, THREAD_PRIORITY_BELOW_NORMAL);
    }
    SetEvent(wake_);
    return true;
}

bool DrawingRenderer::Wait(DWORD milliseconds)
{
    return thread_ != nullptr && WaitForSingleObject(done_, milliseconds) == WAIT_OBJECT_0;
}

bool DrawingRenderer::Take(DrawingPicture& shown)
{
    EnterCriticalSection(&lock_);
    const bool fresh = readyFresh_;
    if (fresh) {
        std::swap(shown, ready_);
        readyFresh_ = false;
    }
    LeaveCriticalSection(&lock_);
    return fresh;
}

DWORD WINAPI DrawingRenderer::Run(void* self)
{
    static_cast<DrawingRenderer*>(self)->Loop();
    return 0;
}

void DrawingRenderer::Loop()
{
    while (!quit_) {
        WaitForSingleObject(wake_, INFINITE);
        for (;;) {
            EnterCriticalSection(&lock_);
            std::optional<DrawingView> view = std::move(pending_);
            pending_.reset();
            const unsigned generation = generation_;
            LeaveCriticalSection(&lock_);
            if (!view || quit_)
                break;
            const std::function<bool()> abandon = [&] { return quit_ || generation_ != generation; };
            if (!PaintDrawing(*view, work_, abandon))
                continue;
            EnterCriticalSection(&lock_);
            const bool wanted = generation_ == generation;
            HWND window = notifyWindow_;
            const UINT message = notifyMessage_;
            if (wanted) {
                // The picture not taken, or the one the window gave back,
                // becomes the bitmap to paint the next view in.
                std::swap(work_, ready_);
                readyFresh_ = true;
                SetEvent(done_);
            }
            LeaveCriticalSection(&lock_);
            if (wanted && window != nullptr)
                PostMessageW(window, message, 0, 0);
        }
    }
}

}  // namespace win32
