#pragma once
// Output records for the host. Attribute records are change-driven through
// the OutputAttributeCache; geometry records are written on every call.
#include <cstdint>
#include <string>

#include "exchange/DrawingState.h"

struct CachedInt {
    int32_t Last = 0;
    bool MustEmit = true;
};

struct OutputAttributeCacheRecord {
    CachedInt LayerGroup;
    CachedInt Layer;
    CachedInt LineColor;
    CachedInt LineType;
    CachedInt LineWidth;
    CachedInt TextType;  // its flag also covers the free-size values
    double FreeWidth = 2.0;
    double FreeHeight = 2.0;
    double FreeSpacing = 0.0;
    int32_t FreeColor = 1;
    CachedInt TextColor;
    std::string FontName = HostDefaultFontName;
    bool FontMustEmit = true;
    CachedInt PointColor;
};

extern OutputAttributeCacheRecord OutputAttributeCache;

void ResetOutputAttributes();

void SelectLayerGroup(int32_t group);
void SelectLayer(int32_t layer);
void SelectLineColor(int32_t color, int32_t mapping);
void SelectLineType(int32_t lineType, int32_t mapping);
void SelectLineWidth(int32_t width);
void SelectTextType(int32_t textType, int32_t color, int32_t mapping, double width, double height, double spacing);
void SelectTextColor(int32_t color);
void SelectFont(const std::string& fontName);
void SelectPointColor(int32_t color, int32_t mapping);

int32_t MapColorCode(int32_t color);
int32_t MapLineTypeCode(int32_t lineType);

void EmitZFlags(uint8_t flags);
void EmitLine(double x1, double y1, double x2, double y2);
void EmitPoint(int32_t code, double x, double y, double scale, double angle);
void EmitText(int32_t kind, const std::string& text, double x, double y, double dx, double dy);
// "hr": once it has drawn the records before it, the host runs this
// transformation again.
void EmitRepeatRequest();
void EmitDimensionFigure(const std::string& text, double x1, double y1, double x2, double y2,
                         double tx, double ty, double dx, double dy);
