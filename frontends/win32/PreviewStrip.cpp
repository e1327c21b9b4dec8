#include "frontends/win32/PreviewStrip.h"

#include <algorithm>

#include "preview/TextWrap.h"

namespace win32 {

namespace {

constexpr COLORREF Background = RGB(231, 231, 231);
constexpr COLORREF Foreground = RGB(0, 0, 0);
// In 96-DPI pixels: the height of one line's strip, as it always was, and
// the room above, below and beside the lines.
constexpr int OneLineHeight = 24;
constexpr int Padding = 4;

int LineHeight(HDC dc)
{
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    return std::max(1L, metrics.tmHeight);
}

}  // namespace

std::vector<std::wstring> WrapToWidth(HDC dc, const std::vector<std::wstring>& paragraphs, int width, int maxLines)
{
    return preview::WrapText(paragraphs, std::max(1, width), maxLines, [dc](std::wstring_view text) {
        SIZE size{};
        GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
        return static_cast<int>(size.cx);
    });
}

PreviewStrip::~PreviewStrip()
{
    if (background_ != nullptr)
        DeleteObject(background_);
}

bool PreviewStrip::Create(HWND parent)
{
    window_ = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_OWNERDRAW | SS_NOPREFIX, 0, 0, 10,
                              OneLineHeight, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    background_ = CreateSolidBrush(Background);
    return window_ != nullptr;
}

bool PreviewStrip::SetLines(const std::vector<std::wstring>& lines)
{
    if (lines == lines_)
        return false;
    lines_ = lines;
    std::wstring text;
    for (const std::wstring& line : lines_)
        text += (text.empty() ? L"" : L"\r\n") + line;
    SetWindowTextW(window_, text.c_str());
    InvalidateRect(window_, nullptr, FALSE);
    return true;
}

int PreviewStrip::HeightFor(int width, int maxHeight, const DpiScale& scale) const
{
    const int least = scale.Length(OneLineHeight);
    if (window_ == nullptr)
        return least;
    HDC dc = GetDC(window_);
    const HGDIOBJ old = SelectObject(dc, font_ != nullptr ? static_cast<HGDIOBJ>(font_) : GetStockObject(DEFAULT_GUI_FONT));
    const int lineHeight = LineHeight(dc);
    const int lines = static_cast<int>(WrapToWidth(dc, lines_, width - 2 * scale.Length(Padding), 100).size());
    SelectObject(dc, old);
    ReleaseDC(window_, dc);
    return std::max(least, std::min(maxHeight, lines * lineHeight + 2 * scale.Length(Padding)));
}

void PreviewStrip::Draw(const DRAWITEMSTRUCT& item, const DpiScale& scale) const
{
    HDC dc = item.hDC;
    const RECT& rect = item.rcItem;
    FillRect(dc, &rect, background_);
    const HGDIOBJ old = SelectObject(dc, font_ != nullptr ? static_cast<HGDIOBJ>(font_) : GetStockObject(DEFAULT_GUI_FONT));
    const int lineHeight = LineHeight(dc);
    const int padding = scale.Length(Padding);
    const int width = rect.right - rect.left - 2 * padding;
    const int maxLines = std::max(1, static_cast<int>((rect.bottom - rect.top - padding) / lineHeight));
    const std::vector<std::wstring> lines = WrapToWidth(dc, lines_, width, maxLines);
    SetTextColor(dc, Foreground);
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_TOP | TA_CENTER | TA_NOUPDATECP);
    // The block of lines centred both ways, as the one line always was.
    int y = rect.top + (rect.bottom - rect.top - static_cast<int>(lines.size()) * lineHeight) / 2;
    const int x = (rect.left + rect.right) / 2;
    for (const std::wstring& line : lines) {
        ExtTextOutW(dc, x, y, ETO_CLIPPED, &rect, line.c_str(), static_cast<UINT>(line.size()), nullptr);
        y += lineHeight;
    }
    SelectObject(dc, old);
}

}  // namespace win32
