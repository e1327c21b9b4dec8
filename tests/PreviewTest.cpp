// The preview: reference pictures of worked cases, what it counts instead of
// drawing, texts sized by type and scale, and valid XML whose viewBox holds
// everything drawn.
#include <libxml/parser.h>
#include <libxml/tree.h>

#include <cmath>
#include <map>
#include <memory>
#include <numbers>
#include <regex>
#include <sstream>
#include <tuple>

#include "support/DialogHarness.h"
#include "preview/ElementShapes.h"
#include "preview/MarkerShapes.h"
#include "tools/preview/PreviewLoader.h"
#include "preview/SvgWriter.h"
#include "tools/preview/Legend.h"

using namespace preview;
using harness::ExchangeText;
using harness::ScratchFolder;
using harness::WriteBytes;

namespace {

// Literals in this file are Shift-JIS; the SVG is UTF-8.
std::string Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

Preview Load(const std::string& input, const std::string& output)
{
    Preview preview;
    std::string error;
    EXPECT_TRUE(LoadPreview(input, output, preview, error)) << error;
    return preview;
}

// The two exchange files written as the host and the program would, then loaded.
Preview LoadLines(const std::vector<std::string>& input, const std::vector<std::string>& output)
{
    const ScratchFolder folder;
    WriteBytes(folder.File("in.txt"), ExchangeText(input));
    WriteBytes(folder.File("out.txt"), ExchangeText(output));
    return Load(folder.File("in.txt"), folder.File("out.txt"));
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

std::string Attr(xmlNode* node, const char* name)
{
    xmlChar* value = xmlGetProp(node, reinterpret_cast<const xmlChar*>(name));
    std::string text = value ? reinterpret_cast<const char*>(value) : "";
    xmlFree(value);
    return text;
}

double Num(xmlNode* node, const char* name)
{
    const std::string text = Attr(node, name);
    return text.empty() ? 0 : std::stod(text);
}

bool Is(xmlNode* node, const char* name) { return xmlStrEqual(node->name, reinterpret_cast<const xmlChar*>(name)); }

// Walks the drawing, collecting the points that bound each drawn item (line
// ends, polygon corners, circle extremes, the corners of every text's box
// from its position, rotation, length and size) and the texts' contents.
void Collect(xmlNode* node, std::vector<Point>& extents, std::string& texts)
{
    for (; node; node = node->next) {
        if (node->type != XML_ELEMENT_NODE)
            continue;
        if (Is(node, "line")) {
            extents.insert(extents.end(), {{Num(node, "x1"), Num(node, "y1")}, {Num(node, "x2"), Num(node, "y2")}});
        } else if (Is(node, "polyline") || Is(node, "polygon")) {
            std::istringstream points(Attr(node, "points"));
            double x, y;
            char comma;
            while (points >> x >> comma >> y)
                extents.push_back({x, y});
        } else if (Is(node, "circle")) {
            const double cx = Num(node, "cx"), cy = Num(node, "cy"), r = Num(node, "r");
            extents.insert(extents.end(), {{cx - r, cy - r}, {cx + r, cy + r}});
        } else if (Is(node, "text")) {
            const double x = Num(node, "x"), y = Num(node, "y"), l = Num(node, "textLength"), h = Num(node, "font-size");
            double angle = 0;
            std::sscanf(Attr(node, "transform").c_str(), "rotate(%lf", &angle);
            const double c = std::cos(angle * std::numbers::pi / 180), s = std::sin(angle * std::numbers::pi / 180);
            extents.insert(extents.end(),
                           {{x, y}, {x + l * c, y + l * s}, {x + h * s, y - h * c}, {x + l * c + h * s, y + l * s - h * c}});
            xmlChar* content = xmlNodeGetContent(node);
            texts += reinterpret_cast<const char*>(content) + std::string("\n");
            xmlFree(content);
            continue;
        }
        Collect(node->children, extents, texts);
    }
}

// Parses the picture with a real XML parser, checks it is an svg document
// whose viewBox holds every drawn item, and returns its texts, one a line.
std::string CheckPicture(const std::string& svg)
{
    const std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)> doc(
        xmlReadMemory(svg.data(), static_cast<int>(svg.size()), "preview.svg", nullptr,
                      XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING),
        &xmlFreeDoc);
    if (!doc) {
        ADD_FAILURE() << "not well-formed XML";
        return "";
    }
    xmlNode* root = xmlDocGetRootElement(doc.get());
    EXPECT_TRUE(Is(root, "svg"));
    double left, top, width, height;
    EXPECT_EQ(std::sscanf(Attr(root, "viewBox").c_str(), "%lf %lf %lf %lf", &left, &top, &width, &height), 4);
    std::vector<Point> extents;
    std::string texts;
    Collect(root->children, extents, texts);
    EXPECT_GT(extents.size(), 0u);
    const double slack = 1e-3 * std::max(width, height);  // printed rounding
    for (const Point& p : extents) {
        EXPECT_TRUE(p.X >= left - slack && p.X <= left + width + slack) << p.X;
        EXPECT_TRUE(p.Y >= top - slack && p.Y <= top + height + slack) << p.Y;
    }
    return texts;
}

bool Has(const std::string& texts, const std::string& part) { return texts.find(part) != std::string::npos; }

}  // namespace

TEST(Preview, MatchesTheReferencePictures)
{
    for (const char* name : {"centred", "beyond-start", "beyond-end", "axis-30"}) {
        SCOPED_TRACE(name);
        const std::string dir = Q308_SOURCE_DIR "/tests/golden/preview/" + std::string(name) + "/";
        const std::string svg = WriteSvg(Load(dir + "input.txt", dir + "output.txt"));
        EXPECT_EQ(NormaliseNumbers(svg),
                  NormaliseNumbers(harness::ReadBytes(dir + "expected.svg").value_or("<missing reference>")));
        const std::string texts = CheckPicture(svg);
        EXPECT_TRUE(Has(texts, "value: 40"));
        EXPECT_TRUE(Has(texts, Utf8(u8"部品 A&B <1>")));  // unescaped again by the parser
    }
}

TEST(Preview, CountsWhatItDoesNotDrawAndSizesTextsByTypeAndScale)
{
    const Preview p = LoadLines({"hq", "hs 1 2 1 1 1 1 1 1 1 1 1 1 1 1 1 1", "hch 2 2.5 3 4 5 6 7 8 9 3",
                                 "hcw 2 2.5 3 4 5 6 7 8 9 6", "hp1 0 0", "hp2 0 40", "hp4 5 5"},
                                {"lg1", "cn4", "ch 0 0 10 0 \"A<B", "cn0 1.5 1 0 2", "ch 0 0 0 10 \"x", "cn3", "msg",
                                 "0 0 0 40", "cs -1 20 0 10 \"\"40\"", "pt 1 1 1 0 -3", "pt 2 2 1 0 6", "BL 0 0 blk",
                                 "sl 0 0 1 0 1 1 0 1", "what is this", "", "z3"});
    const LegendFacts& f = p.Facts;
    // Records (the blank line is none), of which attributes, dimension lines,
    // unread; drawn: two texts, the figure, the triangle.
    EXPECT_EQ(std::tuple(f.OutputRecords, f.AttributeRecords, f.DimensionLines, f.UnreadRecords, f.Output.Drawn),
              std::tuple(15, 6, 1, 1, 4));
    EXPECT_EQ(f.Output.Undrawn,
              (std::map<std::string, int>{{"point marker of code -3", 1}, {"block", 1}, {"solid", 1}}));
    EXPECT_EQ(std::tuple(f.HasValue, f.ValueUtf8, f.HasLayerGroup, f.LayerGroup, f.LayerScale),
              std::tuple(true, "\"40\"", true, 1, 2.0));
    EXPECT_EQ(f.MissingPicks, (std::vector<int>{3}));

    // Type 4 of the input (4 wide, 4 high) on a layer group of scale 2: three
    // half-width characters of 2 mm; the free size of "cn0"; type 3 for the value.
    std::vector<std::tuple<double, double, double>> texts;
    for (const Shape& s : p.Shapes)
        if (s.Kind == ShapeKind::Text)
            texts.emplace_back(s.Height, s.Length, s.AngleDeg);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0], std::tuple(8.0, 12.0, 0.0));
    EXPECT_EQ(texts[1], std::tuple(2.0, 1.5, 90.0));
    EXPECT_EQ(std::get<0>(texts[2]), 6.0);

    const std::string legend = CheckPicture(WriteSvg(p));
    for (const char* part : {"A<B", "1 x record the reader ignores", "1 x point marker of code -3",
                             "(missing or unusable): 3"})
        EXPECT_TRUE(Has(legend, part)) << part;
}

TEST(Preview, OutputIsReadInTheHostsAttributes)
{
    const Preview p = LoadLines({"hs 1 1 5 1 1 1 1 1 1 1 1 1 1 1 1 1", "lg2", "cn0 1 2 0 3", "lg0", "cn1", "hp1 0 0"},
                                {"ch 0 0 10 0 \"ab", "pt 0 0 2 0 7"});
    ASSERT_EQ(p.Shapes.size(), 2u);
    EXPECT_DOUBLE_EQ(p.Shapes[0].Height, 10.0);  // free size 2 high on a group of scale 5
    EXPECT_DOUBLE_EQ(p.Shapes[0].Length, 5.0);
    EXPECT_DOUBLE_EQ(p.Shapes[1].Radius, 1.25 * 2 * 5);
    EXPECT_EQ(std::tuple(p.Facts.HasLayerGroup, p.Facts.LayerGroup, p.Facts.LayerScale), std::tuple(false, 2, 5.0));
    EXPECT_TRUE(Has(CheckPicture(WriteSvg(p)), "layer group 2 (the host's, none in the output), scale 1:5"));
}

TEST(Preview, EmptyOutputStillMakesAPicture)
{
    const Preview p = LoadLines({"hq"}, {"hq"});
    EXPECT_EQ(std::tuple(p.Facts.HasValue, p.Facts.HasLayerGroup, p.Facts.OutputRecords, p.Facts.AttributeRecords),
              std::tuple(false, false, 1, 1));
    EXPECT_TRUE(Has(CheckPicture(WriteSvg(p)), "value: none in the output"));
}

TEST(Preview, FarAwayAndOddTextsStayInsideAValidPicture)
{
    // A broken double-byte pair, markup characters and quotes in texts; a
    // rotated text and an arc far from everything else.
    const Preview p = LoadLines({"hp1 0 0", "hp2 1e13 0", "ch 100000 -50000 -3 -4 \"\x81\x7F<&>'\"\x82",
                                 "ci -80000 90000 500 10 350 0.5 30", "ci 1 1 -5", "ci 1 1 5 0 90 0 0", "0 0 0 -2e12"},
                                {"lg0", "cs 0 0 10 0 \"a&b\"c"});
    EXPECT_EQ(p.Facts.Input.Undrawn,  // a negative radius, a flatness of 0, a line too long
              (std::map<std::string, int>{{"circle", 1}, {"arc", 1}, {"line with unusable values", 1}}));
    EXPECT_EQ(p.Facts.MissingPicks, (std::vector<int>{2, 3, 4}));
    const std::string texts = CheckPicture(WriteSvg(p));
    EXPECT_TRUE(Has(texts, "a&b\"c"));
    EXPECT_TRUE(Has(texts, "<&>'\""));
}

TEST(Preview, ProgramWritesBesideTheOutputAndRefusesMissingFilesAndBadUsage)
{
    const ScratchFolder folder;
    const std::string input = folder.File("in.txt"), output = folder.File("JWC_TEMP.TXT"), none = folder.File("none");
    WriteBytes(input, "hp1 0 0\r\n");
    WriteBytes(output, "0 0 10 10\r\n");
    Preview p;
    std::string error;
    EXPECT_FALSE(LoadPreview(none, output, p, error));
    EXPECT_TRUE(Has(error, "input"));
    EXPECT_FALSE(LoadPreview(input, none, p, error));
    EXPECT_TRUE(Has(error, "output"));

    const std::string tool = Q308_BINARY_DIR "/tools/preview/q308-preview '" + input + "' ";
    EXPECT_EQ(std::system((tool + "'" + output + "' >/dev/null").c_str()), 0);
    EXPECT_TRUE(harness::ReadBytes(folder.File("JWC_TEMP.svg")).has_value());
    EXPECT_NE(std::system((tool + "2>/dev/null").c_str()), 0);
    EXPECT_NE(std::system((tool + "'" + none + "' 2>/dev/null").c_str()), 0);
}

// Each code near its point, twice as large at scale 2; the arrow heads with
// their tip at the point and their body behind it along the angle.
TEST(PointMarker, EveryCodeHasAShapeAtItsPlaceSizeAndAngle)
{
    for (int code = FirstMarkerCode; code <= LastMarkerCode; ++code) {
        for (double angle : {0.0, 90.0, 135.0, 210.0}) {
            SCOPED_TRACE(std::to_string(code) + " at " + std::to_string(angle));
            std::vector<Shape> one, two;
            ASSERT_TRUE(AddPointMarker(code, 5, 5, 1, angle, Role::OutputMarker, one));
            ASSERT_TRUE(AddPointMarker(code, 5, 5, 2, angle, Role::OutputMarker, two));
            Box a, b;
            for (const Shape& s : one)
                a.Add(ShapeBounds(s));
            for (const Shape& s : two)
                b.Add(ShapeBounds(s));
            // Within the room the program allows a marker.
            EXPECT_LE(std::max({std::fabs(a.MinX - 5), a.MaxX - 5, std::fabs(a.MinY - 5), a.MaxY - 5}), 7.7);
            EXPECT_NEAR(b.Width(), 2 * a.Width(), 1e-9);
            EXPECT_NEAR(b.Height(), 2 * a.Height(), 1e-9);
            if (code != 1 && code != 6 && code != 9 && code != 11)
                continue;
            const double ux = std::cos(angle * std::numbers::pi / 180), uy = std::sin(angle * std::numbers::pi / 180);
            double nearest = 1e9, farthest = 0;
            for (const Shape& s : one)
                for (const Point& q : s.Points) {
                    const double along = (q.X - 5) * ux + (q.Y - 5) * uy;
                    EXPECT_LE(along, 1e-9);
                    nearest = std::min(nearest, std::hypot(q.X - 5, q.Y - 5));
                    farthest = std::max(farthest, -along);
                }
            EXPECT_NEAR(nearest, 0, 1e-9);
            EXPECT_NEAR(farthest, 7.5, 1e-9);
        }
    }
    std::vector<Shape> none;
    for (int code : {-3, 0, 12})
        EXPECT_FALSE(AddPointMarker(code, 0, 0, 1, 0, Role::OutputMarker, none));
    EXPECT_FALSE(AddPointMarker(6, NAN, 0, 1, 0, Role::OutputMarker, none));
    EXPECT_TRUE(none.empty());
}

TEST(ElementShape, CirclesAndArcsOnlyWhenTheirValuesMakeSense)
{
    // The ends of an arc's path; "" when nothing is drawn.
    const std::pair<ArcElement, std::string> arcs[] = {
        {{{}, {0, 0, 2, 0, 90, 1, 0}}, "2 0 0 2"},
        {{{}, {0, 0, 2, 0, 90, 0.5, 90}}, "0 2 -1 0"},  // tilted, half as high as wide
        {{{}, {1, 1, 1, 270, 0, 1, 0}}, "1 0 2 1"},     // runs counter-clockwise through 0
        {{{}, {0, 0, 0, 0, 90, 1, 0}}, ""},
        {{{}, {0, 0, 2, 0, 90, -1, 0}}, ""},
        {{{}, {0, 0, INFINITY, 0, 90, 1, 0}}, ""},
    };
    for (const auto& [arc, ends] : arcs) {
        std::vector<Shape> out;
        ASSERT_EQ(AddArcShape(arc, Role::Input, out), !ends.empty());
        ASSERT_EQ(out.size(), ends.empty() ? 0u : 1u);
        if (ends.empty())
            continue;
        EXPECT_FALSE(out[0].Closed);
        const Point first = out[0].Points.front(), last = out[0].Points.back();
        EXPECT_TRUE(harness::RecordMatches(harness::Nums({first.X, first.Y, last.X, last.Y}), ends, 1e-9));
    }
    // A whole ellipse is closed.
    std::vector<Shape> out;
    ASSERT_TRUE(AddArcShape({{}, {0, 0, 4, 30, 30, 0.5, 0}}, Role::Input, out));
    EXPECT_TRUE(out[0].Closed);
    EXPECT_TRUE(harness::RecordMatches(harness::Nums({ShapeBounds(out[0]).Width(), ShapeBounds(out[0]).Height()}),
                                       "8 4", 0.05));
    for (const CircleElement bad : {CircleElement{{}, {0, 0, 0}}, CircleElement{{}, {0, 0, -1}}, CircleElement{{}, {NAN, 0, 1}}})
        EXPECT_FALSE(AddCircleShape(bad, Role::Input, out));
}

TEST(ElementShape, PolylineSegmentsBecomeOnePath)
{
    const Preview p =
        LoadLines({"pl", "0 0 1 0", "1 0 1 1", "1 1 0 1", "#", "0 1 0 0", "pl", "5 5 6 6", "7 7 8 8"}, {"hq"});
    ASSERT_EQ(p.Shapes.size(), 4u);
    EXPECT_EQ(p.Shapes[0].Points.size(), 4u);  // three joined segments
    EXPECT_EQ(p.Shapes[1].Points.size(), 2u);  // after "#", a line of its own
    EXPECT_EQ(p.Shapes[2].Points.size(), 2u);  // a polyline whose segments do not meet
    EXPECT_EQ(p.Facts.Input.Drawn, 6);
}

TEST(SvgText, EscapesMarkupAndDropsWhatXmlCannotCarry)
{
    const std::pair<std::string, std::string> cases[] = {
        {"a&b", "a&amp;b"}, {"<x>", "&lt;x&gt;"}, {"\"'", "&quot;&apos;"},
        {std::string("a\x01\x1f\tb"), "a\tb"}, {Utf8(u8"寸法"), Utf8(u8"寸法")},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(EscapeXml(in), out) << in;
}

TEST(SvgText, NumbersAndPaths)
{
    const std::pair<std::string, std::string> cases[] = {
        {FormatNumber(1.23456, 3), "1.235"}, {FormatNumber(-0.0001, 3), "0"}, {FormatNumber(2.5, 4), "2.5"},
        {FormatNumber(-40, 2), "-40"}, {FormatNumber(1e20, 1), "100000000000000000000"},
        {DefaultSvgPath("/tmp/JWC_TEMP.TXT"), "/tmp/JWC_TEMP.svg"}, {DefaultSvgPath("out"), "out.svg"},
        {DefaultSvgPath("/a.b/out"), "/a.b/out.svg"}, {DefaultSvgPath("/a/.hidden"), "/a/.hidden.svg"},
    };
    for (const auto& [got, want] : cases)
        EXPECT_EQ(got, want);
}

// The console's Preview= command: the picture of what OK would draw, with
// the status line under it, and nothing else changed.
TEST(LivePicture, MatchesTheReferencePicturesAndLeavesNoFileOfTheProgram)
{
    const std::pair<const char*, std::string> cases[] = {
        {"centred", Utf8(u8"寸法値 40")},
        {"beyond-end", Utf8(u8"寸法値 40　（逆矢印）")},
        {"axis-30", Utf8(u8"寸法値 40")},
        {"refused", Utf8(u8"「長さ」の値は受け付けられません")},
        {"zero-length", Utf8(u8"寸法が「0」になりますので作図出来ません")},
    };
    for (const auto& [name, status] : cases) {
        SCOPED_TRACE(name);
        const std::string dir = Q308_SOURCE_DIR "/tests/golden/live/" + std::string(name) + "/";
        const ScratchFolder folder;
        const std::string input = harness::ReadBytes(dir + "input.txt").value_or("");
        WriteBytes(folder.File("JWC_TEMP.TXT"), input);
        std::filesystem::copy_file(Q308_BINARY_DIR "/q308", folder.File("q308"));
        const std::string run = "cd '" + folder.Folder() + "' && ./q308 < '" + dir + "script.txt' > stdout 2> stderr";
        ASSERT_EQ(std::system(run.c_str()), 0);
        EXPECT_EQ(harness::ReadBytes(folder.File("stdout")), "preview: preview.svg\nclosed\n");
        EXPECT_EQ(harness::ReadBytes(folder.File("stderr")), "");
        EXPECT_EQ(harness::ReadBytes(folder.File("JWC_TEMP.TXT")), "hq\r\n");
        EXPECT_FALSE(std::filesystem::exists(folder.File("q304.dat")));
        EXPECT_FALSE(std::filesystem::exists(folder.File("q308.ini")));
        const std::string svg = harness::ReadBytes(folder.File("preview.svg")).value_or("<missing>");
        EXPECT_EQ(NormaliseNumbers(svg), NormaliseNumbers(harness::ReadBytes(dir + "expected.svg").value_or("")));
        EXPECT_TRUE(Has(CheckPicture(svg), status));
    }
}
