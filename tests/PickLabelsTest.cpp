// The picked points' numbers beside their marks: clear of the dimension's
// value and lines, and of each other, wherever there is room.
#include <gtest/gtest.h>

#include "preview/PickLabels.h"

using namespace preview;

namespace {

Shape Text(Point at, double length, double height)
{
    Shape s;
    s.Kind = ShapeKind::Text;
    s.Style = Role::OutputText;
    s.Centre = at;
    s.Length = length;
    s.Height = height;
    s.Utf8 = "2400";
    return s;
}

Shape Line(Point a, Point b, Role role = Role::OutputLine)
{
    Shape s;
    s.Style = role;
    s.Points = {a, b};
    return s;
}

}  // namespace

TEST(PickLabels, ClearOfTheValueTheLinesAndEachOther)
{
    // One pixel a unit, origin at pixel (0, 200): a horizontal dimension
    // line at y = 100 with the value above its middle, and points 3 and 4
    // picked on the line under the value, as users pick them.
    const Fit fit{1, 0, 200};
    Picture picture;
    picture.Shapes = {Line({0, 100}, {300, 100}), Text({130, 102}, 40, 12), Line({-50, 0}, {400, 400}, Role::Input)};
    picture.Picked = {{1, {0, 20}}, {2, {300, 20}}, {3, {150, 100}}, {4, {142, 100}}};
    const Box area = BoxOf(0, 0, 400, 300);
    const std::vector<LabelPlace> labels = PlacePickLabels(picture, fit, 7, 12, 5, area);
    ASSERT_EQ(labels.size(), 4u);
    const Box value = BoxOf(130, 200 - 114, 170, 200 - 102);
    for (std::size_t i = 0; i < labels.size(); ++i) {
        SCOPED_TRACE(labels[i].Number);
        EXPECT_FALSE(Meets(labels[i].At, value)) << "over the value";
        EXPECT_FALSE(Meets(labels[i].At, BoxOf(0, 99.5, 300, 100.5))) << "over the dimension line";
        for (std::size_t j = 0; j < i; ++j)
            EXPECT_FALSE(Meets(labels[i].At, labels[j].At)) << "over label " << labels[j].Number;
    }
    // A mark with nothing near keeps the usual place, upper right; the
    // host's own drawing is no obstacle.
    EXPECT_EQ(labels[0].At.MinX, 5);
    EXPECT_EQ(labels[0].At.MaxY, 200 - 20 - 2.5);
}

TEST(PickLabels, MarksOutsideTheAreaHaveNone)
{
    const Fit fit{1, 0, 0};
    Picture picture;
    picture.Picked = {{1, {10, -10}}, {2, {5000, -10}}, {3, {1e300, 0}}};
    const std::vector<LabelPlace> labels = PlacePickLabels(picture, fit, 7, 12, 5, BoxOf(0, 0, 100, 100));
    ASSERT_EQ(labels.size(), 1u);
    EXPECT_EQ(labels[0].Number, 1);
}
