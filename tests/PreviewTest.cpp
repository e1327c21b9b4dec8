#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <numbers>
#include <regex>
#include <sstream>

#include "platform/Files.h"
#include "tools/preview/ElementShapes.h"
#include "tools/preview/MarkerShapes.h"
#include "tools/preview/PreviewLoader.h"
#include "tools/preview/SvgWriter.h"

using namespace preview;

namespace {

const std::string GoldenDir = Q308_SOURCE_DIR "/tests/golden/preview/";

// Literals in this file are Shift-JIS; the SVG is UTF-8.
std::string Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

std::string ReadFile(const std::string& path)
{
    std::string bytes;
    EXPECT_TRUE(platform::ReadWholeFile(path, bytes)) << path;
    return bytes;
}

class TempFolder {
public:
    TempFolder()
    {
        path_ = std::filesystem::temp_directory_path() /
                ("q308-preview-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() { std::filesystem::remove_all(path_); }

    // Writes an exchange file of the given lines, CR LF ended.
    std::string Exchange(const std::string& name, std::initializer_list<std::string> lines) const
    {
        std::string bytes;
        for (const std::string& line : lines)
            bytes += line + "\r\n";
        const std::string path = (path_ / name).string();
        EXPECT_TRUE(platform::WriteWholeFile(path, bytes));
        return path;
    }
    std::string Path(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

Preview Load(const std::string& input, const std::string& output)
{
    Preview preview;
    std::string error;
    EXPECT_TRUE(LoadPreview(input, output, preview, error)) << error;
    return preview;
}

// Every number rounded to three decimals, so a reference survives changes
// in how many digits the writer prints.
std::string NormaliseNumbers(const std::string& svg)
{
    // A number starts where no word, colour or number goes on.
    static const std::regex Number(R"((^|[^\w#.-])(-?\d+(\.\d+)?))");
    std::string out;
    auto last = svg.cbegin();
    for (std::sregex_iterator it(svg.begin(), svg.end(), Number), end; it != end; ++it) {
        out.append(last, (*it)[2].first);
        out += FormatNumber(std::round(std::stod((*it)[2].str()) * 1000) / 1000, 3);
        last = (*it)[2].second;
    }
    out.append(last, svg.cend());
    return out;
}

using XmlDoc = std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)>;

XmlDoc ParseXml(const std::string& svg)
{
    return XmlDoc(xmlReadMemory(svg.data(), static_cast<int>(svg.size()), "preview.svg", nullptr,
                                XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING),
                  &xmlFreeDoc);
}

std::string Attr(xmlNode* node, const char* name)
{
    xmlChar* value = xmlGetProp(node, reinterpret_cast<const xmlChar*>(name));
    std::string text = value ? reinterpret_cast<const char*>(value) : "";
    xmlFree(value);
    return text;
}

double Num(xmlNode* node, const char* name) { return std::stod(Attr(node, name)); }

bool Is(xmlNode* node, const char* name) { return xmlStrEqual(node->name, reinterpret_cast<const xmlChar*>(name)); }

struct Found {
    std::vector<Point> Extents;     // SVG coordinates of everything drawn
    std::vector<std::string> Texts; // content of every text element
};

// Walks the drawing and collects the points that bound each drawn item: line
// ends, polygon corners, circle extremes, and the corners of every text's
// box from its position, rotation, length and size.
void Collect(xmlNode* node, Found& found)
{
    for (; node; node = node->next) {
        if (node->type != XML_ELEMENT_NODE)
            continue;
        if (Is(node, "line")) {
            found.Extents.push_back({Num(node, "x1"), Num(node, "y1")});
            found.Extents.push_back({Num(node, "x2"), Num(node, "y2")});
        } else if (Is(node, "polyline") || Is(node, "polygon")) {
            std::istringstream points(Attr(node, "points"));
            double x, y;
            char comma;
            while (points >> x >> comma >> y)
                found.Extents.push_back({x, y});
        } else if (Is(node, "circle")) {
            const double cx = Num(node, "cx"), cy = Num(node, "cy"), r = Num(node, "r");
            found.Extents.insert(found.Extents.end(), {{cx - r, cy - r}, {cx + r, cy + r}});
        } else if (Is(node, "text")) {
            const double x = Num(node, "x"), y = Num(node, "y");
            double angle = 0;
            std::sscanf(Attr(node, "transform").c_str(), "rotate(%lf", &angle);
            const std::string length = Attr(node, "textLength"), size = Attr(node, "font-size");
            const double l = length.empty() ? 0 : std::stod(length), h = size.empty() ? 0 : std::stod(size);
            const double c = std::cos(angle * std::numbers::pi / 180), s = std::sin(angle * std::numbers::pi / 180);
            found.Extents.insert(found.Extents.end(), {{x, y}, {x + l * c, y + l * s}, {x + h * s, y - h * c},
                                                       {x + l * c + h * s, y + l * s - h * c}});
            xmlChar* content = xmlNodeGetContent(node);
            found.Texts.push_back(reinterpret_cast<const char*>(content));
            xmlFree(content);
            continue;
        }
        Collect(node->children, found);
    }
}

// Parses the picture, checks it is an svg document whose viewBox holds every
// drawn item, and returns what it found.
Found CheckPicture(const std::string& svg)
{
    Found found;
    XmlDoc doc = ParseXml(svg);
    EXPECT_TRUE(doc) << "not well-formed XML";
    if (!doc)
        return found;
    xmlNode* root = xmlDocGetRootElement(doc.get());
    EXPECT_TRUE(Is(root, "svg"));
    double left, top, width, height;
    EXPECT_EQ(std::sscanf(Attr(root, "viewBox").c_str(), "%lf %lf %lf %lf", &left, &top, &width, &height), 4);
    Collect(root->children, found);
    EXPECT_GT(found.Extents.size(), 0u);
    const double slack = 1e-3 * std::max(width, height);  // printed rounding
    for (const Point& p : found.Extents) {
        EXPECT_GE(p.X, left - slack);
        EXPECT_LE(p.X, left + width + slack);
        EXPECT_GE(p.Y, top - slack);
        EXPECT_LE(p.Y, top + height + slack);
    }
    return found;
}

bool Contains(const std::vector<std::string>& texts, const std::string& part)
{
    for (const std::string& t : texts)
        if (t.find(part) != std::string::npos)
            return true;
    return false;
}

}  // namespace

TEST(Preview, MatchesTheReferencePictures)
{
    for (const char* name : {"centred", "beyond-start", "beyond-end", "axis-30"}) {
        SCOPED_TRACE(name);
        const std::string dir = GoldenDir + name + "/";
        const std::string svg = WriteSvg(Load(dir + "input.txt", dir + "output.txt"));
        EXPECT_EQ(NormaliseNumbers(svg), NormaliseNumbers(ReadFile(dir + "expected.svg")));
        const Found found = CheckPicture(svg);
        EXPECT_TRUE(Contains(found.Texts, "value: 40"));
        EXPECT_TRUE(Contains(found.Texts, Utf8(u8"部品 A&B <1>")));  // unescaped again by the parser
    }
}

TEST(Preview, CountsWhatItDoesNotDrawAndSizesTextsByTypeAndScale)
{
    TempFolder folder;
    const std::string input = folder.Exchange(
        "in.txt", {"hq", "hs 1 2 1 1 1 1 1 1 1 1 1 1 1 1 1 1", "hch 2 2.5 3 4 5 6 7 8 9 3",
                   "hcw 2 2.5 3 4 5 6 7 8 9 6", "hp1 0 0", "hp2 0 40", "hp4 5 5"});
    const std::string output = folder.Exchange(
        "out.txt", {"lg1", "cn4", "ch 0 0 10 0 \"A<B", "cn0 1.5 1 0 2", "ch 0 0 0 10 \"x", "cn3", "msg",
                    "0 0 0 40", "cs -1 20 0 10 \"\"40\"", "pt 1 1 1 0 -3", "pt 2 2 1 0 6", "BL 0 0 blk",
                    "sl 0 0 1 0 1 1 0 1", "what is this", "", "z3"});
    const Preview p = Load(input, output);
    const LegendFacts& f = p.Facts;

    EXPECT_EQ(f.OutputRecords, 15);  // the blank line is no record
    EXPECT_EQ(f.AttributeRecords, 6);
    EXPECT_EQ(f.DimensionLines, 1);
    EXPECT_EQ(f.UnreadRecords, 1);
    EXPECT_EQ(f.Output.Drawn, 4);  // two texts, the figure, the triangle
    EXPECT_EQ(f.Output.Undrawn.at("point marker of code -3"), 1);
    EXPECT_EQ(f.Output.Undrawn.at("block"), 1);
    EXPECT_EQ(f.Output.Undrawn.at("solid"), 1);
    EXPECT_TRUE(f.HasValue);
    EXPECT_EQ(f.ValueUtf8, "\"40\"");
    EXPECT_TRUE(f.HasLayerGroup);
    EXPECT_EQ(f.LayerGroup, 1);
    EXPECT_EQ(f.LayerScale, 2.0);
    EXPECT_EQ(f.MissingPicks, (std::vector<int>{3}));

    std::vector<const Shape*> texts;
    for (const Shape& s : p.Shapes)
        if (s.Kind == ShapeKind::Text)
            texts.push_back(&s);
    ASSERT_EQ(texts.size(), 3u);
    // Type 4 of the input (4 wide, 4 high) on a layer group of scale 2.
    EXPECT_DOUBLE_EQ(texts[0]->Height, 8.0);
    EXPECT_DOUBLE_EQ(texts[0]->Length, 12.0);  // three half-width characters of 2 mm
    EXPECT_DOUBLE_EQ(texts[0]->AngleDeg, 0.0);
    // The free size of the "cn0" record.
    EXPECT_DOUBLE_EQ(texts[1]->Height, 2.0);
    EXPECT_DOUBLE_EQ(texts[1]->Length, 1.5);
    EXPECT_DOUBLE_EQ(texts[1]->AngleDeg, 90.0);
    // Type 3 for the figure's value.
    EXPECT_DOUBLE_EQ(texts[2]->Height, 6.0);

    const Found found = CheckPicture(WriteSvg(p));
    EXPECT_TRUE(Contains(found.Texts, "A<B"));
    EXPECT_TRUE(Contains(found.Texts, "1 x record the reader ignores"));
    EXPECT_TRUE(Contains(found.Texts, "1 x point marker of code -3"));
    EXPECT_TRUE(Contains(found.Texts, "(missing or unusable): 3"));
}

TEST(Preview, OutputIsReadInTheHostsAttributes)
{
    TempFolder folder;
    const std::string input = folder.Exchange(
        "in.txt", {"hs 1 1 5 1 1 1 1 1 1 1 1 1 1 1 1 1", "lg2", "cn0 1 2 0 3", "lg0", "cn1", "hp1 0 0"});
    const std::string output = folder.Exchange("out.txt", {"ch 0 0 10 0 \"ab", "pt 0 0 2 0 7"});
    const Preview p = Load(input, output);
    ASSERT_EQ(p.Shapes.size(), 2u);
    EXPECT_DOUBLE_EQ(p.Shapes[0].Height, 10.0);  // free size 2 high on a group of scale 5
    EXPECT_DOUBLE_EQ(p.Shapes[0].Length, 5.0);
    EXPECT_DOUBLE_EQ(p.Shapes[1].Radius, 1.25 * 2 * 5);
    EXPECT_FALSE(p.Facts.HasLayerGroup);
    EXPECT_EQ(p.Facts.LayerGroup, 2);
    EXPECT_EQ(p.Facts.LayerScale, 5.0);
    EXPECT_TRUE(Contains(CheckPicture(WriteSvg(p)).Texts, "layer group 2 (the host's, none in the output), scale 1:5"));
}

TEST(Preview, EmptyOutputStillMakesAPicture)
{
    TempFolder folder;
    const std::string input = folder.Exchange("in.txt", {"hq"});
    const std::string output = folder.Exchange("out.txt", {"hq"});
    const Preview p = Load(input, output);
    EXPECT_FALSE(p.Facts.HasValue);
    EXPECT_FALSE(p.Facts.HasLayerGroup);
    EXPECT_EQ(p.Facts.OutputRecords, 1);
    EXPECT_EQ(p.Facts.AttributeRecords, 1);
    const Found found = CheckPicture(WriteSvg(p));
    EXPECT_TRUE(Contains(found.Texts, "value: none in the output"));
}

TEST(Preview, FarAwayAndOddTextsStayInsideAValidPicture)
{
    TempFolder folder;
    // A broken double-byte pair, markup characters and quotes in texts; a
    // rotated text and an arc far from everything else.
    const std::string input = folder.Exchange(
        "in.txt", {"hp1 0 0", "hp2 1e13 0", "ch 100000 -50000 -3 -4 \"\x81\x7F<&>'\"\x82",
                   "ci -80000 90000 500 10 350 0.5 30", "ci 1 1 -5", "ci 1 1 5 0 90 0 0", "0 0 0 -2e12"});
    const std::string output = folder.Exchange("out.txt", {"lg0", "cs 0 0 10 0 \"a&b\"c"});
    const Preview p = Load(input, output);
    EXPECT_EQ(p.Facts.Input.Undrawn.at("circle"), 1);  // negative radius
    EXPECT_EQ(p.Facts.Input.Undrawn.at("arc"), 1);     // flatness 0
    EXPECT_EQ(p.Facts.Input.Undrawn.at("line with unusable values"), 1);
    EXPECT_EQ(p.Facts.MissingPicks, (std::vector<int>{2, 3, 4}));
    const Found found = CheckPicture(WriteSvg(p));
    EXPECT_TRUE(Contains(found.Texts, "a&b\"c"));
    EXPECT_TRUE(Contains(found.Texts, "<&>'\""));
}

TEST(Preview, MissingFilesAreReported)
{
    TempFolder folder;
    const std::string present = folder.Exchange("in.txt", {"hq"});
    Preview p;
    std::string error;
    EXPECT_FALSE(LoadPreview(folder.Path("none.txt"), present, p, error));
    EXPECT_NE(error.find("input"), std::string::npos);
    EXPECT_FALSE(LoadPreview(present, folder.Path("none.txt"), p, error));
    EXPECT_NE(error.find("output"), std::string::npos);
}

TEST(Preview, ProgramWritesBesideTheOutputAndRefusesBadUsage)
{
    TempFolder folder;
    const std::string input = folder.Exchange("in.txt", {"hp1 0 0"});
    const std::string output = folder.Exchange("JWC_TEMP.TXT", {"0 0 10 10"});
    const std::string tool = Q308_BINARY_DIR "/tools/preview/q308-preview";
    EXPECT_EQ(std::system((tool + " '" + input + "' '" + output + "' >/dev/null").c_str()), 0);
    EXPECT_TRUE(platform::FileExists(folder.Path("JWC_TEMP.svg")));
    EXPECT_NE(std::system((tool + " '" + input + "' 2>/dev/null").c_str()), 0);
    EXPECT_NE(std::system((tool + " '" + input + "' '" + folder.Path("none") + "' 2>/dev/null").c_str()), 0);
}

TEST(PointMarker, EveryCodeHasAShapeAtItsPlaceAndSize)
{
    for (int code = FirstMarkerCode; code <= LastMarkerCode; ++code) {
        SCOPED_TRACE(code);
        for (double angle : {0.0, 135.0}) {
            std::vector<Shape> one, two;
            ASSERT_TRUE(AddPointMarker(code, 10, 20, 1, angle, Role::OutputMarker, one));
            ASSERT_TRUE(AddPointMarker(code, 10, 20, 2, angle, Role::OutputMarker, two));
            Box a, b;
            for (const Shape& s : one)
                a.Add(ShapeBounds(s));
            for (const Shape& s : two)
                b.Add(ShapeBounds(s));
            // Near the point, within the room the program allows a marker...
            EXPECT_LE(std::max({std::fabs(a.MinX - 10), a.MaxX - 10, std::fabs(a.MinY - 20), a.MaxY - 20}), 7.7);
            // ...and twice as large at scale 2.
            EXPECT_NEAR(b.Width(), 2 * a.Width(), 1e-9);
            EXPECT_NEAR(b.Height(), 2 * a.Height(), 1e-9);
        }
    }
    std::vector<Shape> none;
    for (int code : {-3, 0, 12})
        EXPECT_FALSE(AddPointMarker(code, 0, 0, 1, 0, Role::OutputMarker, none));
    EXPECT_FALSE(AddPointMarker(6, NAN, 0, 1, 0, Role::OutputMarker, none));
    EXPECT_TRUE(none.empty());
}

TEST(PointMarker, ArrowHeadsPointAlongTheAngleWithTheTipAtThePoint)
{
    for (int code : {1, 6, 9, 11}) {
        for (double angle : {0.0, 90.0, 210.0}) {
            SCOPED_TRACE(std::to_string(code) + " at " + std::to_string(angle));
            std::vector<Shape> shapes;
            ASSERT_TRUE(AddPointMarker(code, 5, 5, 1, angle, Role::OutputMarker, shapes));
            const double ux = std::cos(angle * std::numbers::pi / 180), uy = std::sin(angle * std::numbers::pi / 180);
            double nearest = 1e9, farthest = 0;
            for (const Shape& s : shapes)
                for (const Point& q : s.Points) {
                    const double along = (q.X - 5) * ux + (q.Y - 5) * uy;
                    EXPECT_LE(along, 1e-9);  // the body lies behind the tip
                    nearest = std::min(nearest, std::hypot(q.X - 5, q.Y - 5));
                    farthest = std::max(farthest, -along);
                }
            EXPECT_NEAR(nearest, 0, 1e-9);
            EXPECT_NEAR(farthest, 7.5, 1e-9);
        }
    }
}

TEST(ElementShape, CirclesAndArcsOnlyWhenTheirValuesMakeSense)
{
    struct Case {
        double Values[7];
        bool Drawn;
        Point First, Last;  // of an arc's path
    };
    const Case arcs[] = {
        {{0, 0, 2, 0, 90, 1, 0}, true, {2, 0}, {0, 2}},
        {{0, 0, 2, 0, 90, 0.5, 90}, true, {0, 2}, {-1, 0}},  // tilted, half as high as wide
        {{1, 1, 1, 270, 0, 1, 0}, true, {1, 0}, {2, 1}},     // runs counter-clockwise through 0
        {{0, 0, 0, 0, 90, 1, 0}, false, {}, {}},
        {{0, 0, 2, 0, 90, -1, 0}, false, {}, {}},
        {{0, 0, INFINITY, 0, 90, 1, 0}, false, {}, {}},
    };
    for (const Case& c : arcs) {
        ArcElement arc;
        std::copy(c.Values, c.Values + 7, arc.Values);
        std::vector<Shape> out;
        ASSERT_EQ(AddArcShape(arc, Role::Input, out), c.Drawn);
        if (!c.Drawn) {
            EXPECT_TRUE(out.empty());
            continue;
        }
        EXPECT_FALSE(out[0].Closed);
        EXPECT_NEAR(out[0].Points.front().X, c.First.X, 1e-9);
        EXPECT_NEAR(out[0].Points.front().Y, c.First.Y, 1e-9);
        EXPECT_NEAR(out[0].Points.back().X, c.Last.X, 1e-9);
        EXPECT_NEAR(out[0].Points.back().Y, c.Last.Y, 1e-9);
    }

    ArcElement whole;
    const double ellipse[] = {0, 0, 4, 30, 30, 0.5, 0};
    std::copy(ellipse, ellipse + 7, whole.Values);
    std::vector<Shape> out;
    ASSERT_TRUE(AddArcShape(whole, Role::Input, out));
    EXPECT_TRUE(out[0].Closed);
    const Box box = ShapeBounds(out[0]);
    EXPECT_NEAR(box.Width(), 8, 0.05);
    EXPECT_NEAR(box.Height(), 4, 0.05);

    CircleElement circle;
    const double bad[][3] = {{0, 0, 0}, {0, 0, -1}, {NAN, 0, 1}};
    for (const auto& v : bad) {
        std::copy(v, v + 3, circle.Values);
        EXPECT_FALSE(AddCircleShape(circle, Role::Input, out));
    }
}

TEST(ElementShape, PolylineSegmentsBecomeOnePath)
{
    TempFolder folder;
    const std::string input = folder.Exchange(
        "in.txt", {"pl", "0 0 1 0", "1 0 1 1", "1 1 0 1", "#", "0 1 0 0", "pl", "5 5 6 6", "7 7 8 8"});
    const std::string output = folder.Exchange("out.txt", {"hq"});
    const Preview p = Load(input, output);
    ASSERT_EQ(p.Shapes.size(), 4u);
    EXPECT_EQ(p.Shapes[0].Points.size(), 4u);  // three joined segments
    EXPECT_EQ(p.Shapes[1].Points.size(), 2u);  // after "#", a line of its own
    EXPECT_EQ(p.Shapes[2].Points.size(), 2u);  // a polyline whose segments do not meet
    EXPECT_EQ(p.Facts.Input.Drawn, 6);
}

TEST(SvgText, EscapesMarkupAndDropsWhatXmlCannotCarry)
{
    const std::pair<std::string, std::string> cases[] = {
        {"a&b", "a&amp;b"},
        {"<x>", "&lt;x&gt;"},
        {"\"'", "&quot;&apos;"},
        {std::string("a\x01\x1f\tb"), "a\tb"},
        {Utf8(u8"寸法"), Utf8(u8"寸法")},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(EscapeXml(in), out) << in;
}

TEST(SvgText, NumbersAndPaths)
{
    const std::pair<std::string, std::string> numbers[] = {
        {FormatNumber(1.23456, 3), "1.235"}, {FormatNumber(-0.0001, 3), "0"}, {FormatNumber(2.5, 4), "2.5"},
        {FormatNumber(-40, 2), "-40"},      {FormatNumber(1e20, 1), "100000000000000000000"},
    };
    for (const auto& [got, want] : numbers)
        EXPECT_EQ(got, want);
    const std::pair<std::string, std::string> paths[] = {
        {"/tmp/JWC_TEMP.TXT", "/tmp/JWC_TEMP.svg"},
        {"out", "out.svg"},
        {"/a.b/out", "/a.b/out.svg"},
        {"/a/.hidden", "/a/.hidden.svg"},
    };
    for (const auto& [in, out] : paths)
        EXPECT_EQ(DefaultSvgPath(in), out);
}
