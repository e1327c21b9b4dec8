#pragma once
// A picture painted with GDI into a device context: fitted to the area
// with a margin, y up, one scale; the input in grey, the dimension in
// colour (faint when it can no longer be drawn), the picked points marked
// and numbered.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include "frontends/win32/DpiScale.h"
#include "preview/Shapes.h"

namespace win32 {

// Marks, margins and strokes are sized in 96-DPI pixels and scaled.
void PaintPicture(HDC dc, const RECT& area, const preview::Picture& picture, const DpiScale& scale);

}  // namespace win32
