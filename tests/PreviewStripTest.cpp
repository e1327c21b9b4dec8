// The texts of the preview's strip: lines broken to any width and
// shortened only at their end, and the coordinates a drag gives a point,
// which read back as exactly the point OK draws with.
#include <gtest/gtest.h>

#include <cmath>

#include "helpers/Numbers.h"
#include "preview/DraggedPoint.h"
#include "preview/TextWrap.h"
#include "preview/View.h"

using namespace preview;

namespace {

// Columns as a fixed-pitch Japanese font sets them: ASCII one, the rest two.
int Columns(std::wstring_view text)
{
    int columns = 0;
    for (wchar_t c : text)
        columns += c < 0x80 ? 1 : 2;
    return columns;
}

std::wstring Joined(const std::vector<std::wstring>& lines)
{
    std::wstring all;
    for (const std::wstring& line : lines)
        all += line + L"|";
    return all;
}

}  // namespace

TEST(PreviewStrip, LinesBreakBetweenCharactersButNotInsideNumbers)
{
    const struct {
        std::vector<std::wstring> Paragraphs;
        int Width, MaxLines;
        std::wstring Expected;
    } cases[] = {
        {{L"寸法値 2400"}, 40, 3, L"寸法値 2400|"},
        {{L"寸法値 2400", L"注記"}, 40, 3, L"寸法値 2400|注記|"},
        // The accepted range stays whole on its line.
        {{L"「長さ」の値は受け付けられません（0 < 値 ≦ 1000）"}, 24, 4,
         L"「長さ」の値は受け付けら|れません（0 < 値 ≦|1000）|"},
        // No line starts with a closing bracket or ends with an opening one.
        {{L"あいうえ（かき）"}, 10, 3, L"あいうえ|（かき）|"},
        // The legend's parts, set apart by blanks, stay whole where they can.
        {{L"灰色：作図データ　1～4：指示点　3・4：ドラッグで移動"}, 40, 3,
         L"灰色：作図データ　1～4：指示点|3・4：ドラッグで移動|"},
        {{L"あいうえお」か"}, 10, 3, L"あいうえ|お」か|"},
        // A coordinate pair is read as one: never split at its blank.
        {{L"移動した点：点4（2570, 3650）　指示点に戻す：Ctrl+R"}, 26, 4,
         L"移動した点：点4|（2570, 3650）|指示点に戻す：Ctrl+R|"},
        // A blank at the break goes.
        {{L"abc def ghi"}, 7, 3, L"abc def|ghi|"},
        // A word wider than the line is broken where it must be.
        {{L"1234567890"}, 4, 5, L"1234|5678|90|"},
        // Too many lines: the last one kept ends in an ellipsis, the start stays.
        {{L"一二三四五六七八九十"}, 8, 2, L"一二三四|五六七…|"},
        // A paragraph that finds no room is not dropped unseen.
        {{L"寸法値 2400", L"「長さ」は数値でないため 0 として作図します"}, 16, 1, L"寸法値 2400…|"},
        {{L"寸法値 2400", L"「長さ」は数値でないため"}, 16, 2, L"寸法値 2400|「長さ」は数値…|"},
        // Narrower than one character: one a line, never nothing.
        {{L"あい"}, 1, 3, L"あ|い|"},
        {{L""}, 10, 2, L"|"},
    };
    for (const auto& c : cases) {
        const std::vector<std::wstring> lines = WrapText(c.Paragraphs, c.Width, c.MaxLines, Columns);
        EXPECT_EQ(Joined(lines), c.Expected) << "width " << c.Width;
        EXPECT_LE(static_cast<int>(lines.size()), std::max(1, c.MaxLines));
        for (const std::wstring& line : lines)
            EXPECT_TRUE(line.size() <= 1 || Columns(line) <= c.Width) << "width " << c.Width;
    }
}

TEST(PreviewStrip, ADraggedPointIsRoundedWithinAPixelAndReadsBackExactly)
{
    const struct {
        View Place;
        double X, Y;
        double Step;  // the rounding it gets
    } cases[] = {
        {{{1200, 1200}, 0.108}, 333, 127, 1},          // 9.3 units a pixel
        {{{1200, 1200}, 0.0108}, 17, 290, 10},         // 93 units a pixel
        {{{0, 0}, 1.0}, 211, 150, 1},                  // exactly one unit a pixel
        {{{3.25, -7.5}, 37}, 5, 7, 0.01},              // 0.027 units a pixel
        {{{-28417.33625, 15530.92817}, 0.9}, 400, 3, 1},
        {{{1e12, -1e12}, 1e-8}, 0, 299, 1e8},          // the farthest and smallest view
        {{{0.1, 0.2}, 1e6}, 213, 149, 1e-6},           // the closest view
    };
    for (const auto& c : cases) {
        const Fit fit = FitOf(c.Place, 420, 300);
        const Point exact = ToDrawing(fit, c.X, c.Y);
        const Point at = DrawingPointAt(fit, c.X, c.Y);
        SCOPED_TRACE(CoordinateText(at.X) + ", " + CoordinateText(at.Y));
        const Point pixel = fit.ToPixels(at);
        EXPECT_LE(std::fabs(pixel.X - c.X), 0.5 + 1e-9) << "stays under the pointer";
        EXPECT_LE(std::fabs(pixel.Y - c.Y), 0.5 + 1e-9);
        EXPECT_NEAR(at.X, exact.X, c.Step / 2 * (1 + 1e-9));
        // A multiple of the step, to the precision the double has.
        EXPECT_NEAR(std::round(at.X / c.Step) * c.Step, at.X, std::fabs(at.X) * 1e-15);
        EXPECT_NEAR(std::round(at.Y / c.Step) * c.Step, at.Y, std::fabs(at.Y) * 1e-15);
        // The text reads back as the very number, as Point4=X Y reads it.
        EXPECT_EQ(StrToFloatSafe(CoordinateText(at.X)), at.X);
        EXPECT_EQ(StrToFloatSafe(CoordinateText(at.Y)), at.Y);
        EXPECT_TRUE(IsNumberText(CoordinateText(at.X)) && IsNumberText(CoordinateText(at.Y)));
    }
}

TEST(PreviewStrip, CoordinatesReadAsAUserWouldTypeThem)
{
    const struct {
        double Value;
        const char* Text;
    } cases[] = {{1234.5, "1234.5"}, {-0.25, "-0.25"}, {0.0, "0"}, {-0.0, "0"}, {1e15, "1e+15"}, {678, "678"},
                 {0.1 + 0.2, "0.30000000000000004"}};
    for (const auto& c : cases)
        EXPECT_EQ(CoordinateText(c.Value), c.Text);
    EXPECT_EQ(MovingPointLine(4, 0, {1234.5, -678}), "点4（寸法値の位置）を移動中（1234.5, -678）");
    EXPECT_EQ(MovedPointsNote({}), "");
    EXPECT_EQ(MovingPointLine(1, 3, {5, 6}), "スパン3の寸法値を移動中（5, 6）");
    EXPECT_EQ(MovedPointsNote({{"点4", {10, 20.5}}}), "移動した点：点4（10, 20.5）　指示点に戻す：Ctrl+R");
    EXPECT_EQ(MovedPointsNote({{"点3", {-1, 2}}, {"点4", {3, 4}}}),
              "移動した点：点3（-1, 2）・点4（3, 4）　指示点に戻す：Ctrl+R");
    // A row's many moved values: the first few named, the rest counted.
    const std::vector<MovedPoint> six(6, MovedPoint{"スパン1の寸法値", {0, 0}});
    EXPECT_EQ(MovedPointsNote(six), "移動した点：スパン1の寸法値（0, 0）・スパン1の寸法値（0, 0）・スパン1の寸法値（0, 0）・"
                                    "スパン1の寸法値（0, 0）ほか2か所　指示点に戻す：Ctrl+R");
}
