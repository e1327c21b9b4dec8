#pragma once
// The one model of what the host wrote into the exchange file. A plain
// process-wide record: the reader fills it, everything else reads it
// directly.
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "exchange/BlockList.h"
#include "exchange/Elements.h"

struct TextType {
    double Width = 3.0;
    double Height = 3.0;
    double Spacing = 0.0;
    int32_t Color = 2;
};

enum PickKind : int32_t {
    PickPlain = 0,   // no marker
    PickDash = 1,    // "-"
    PickLine = 2,    // "ln"
    PickCircle = 3,  // "ci"
    PickChar = 4,    // "ch"
};

struct PickedPoint {
    bool Present = false;
    double X = 0.0;
    double Y = 0.0;
    int32_t Kind = PickPlain;
};

// The font the host draws with when nothing else is named; the reader and
// the output start from it.
inline constexpr const char* HostDefaultFontName = "<ＭＳ ゴシック>";

// What the host's first records and the reader's running attributes share.
struct AttributeSet {
    int32_t LayerGroup = 0;
    int32_t Layer = 0;
    int32_t LineColor = 1;
    int32_t LineType = 1;
    int32_t LineWidth = 0;
    int32_t TextType = 1;
    double FreeWidth = 2.0;
    double FreeHeight = 2.0;
    double FreeSpacing = 0.0;
    int32_t FreeColor = 1;
};

// Attributes in force in the host, each from the first record of its kind.
struct InitialAttributeSet : AttributeSet {
    std::string FontName;  // empty until a font record names one
};

// Attributes in force while the reader walks the file.
struct ReadingAttributeSet : AttributeSet {
    int32_t TextColor = 0;
    std::string FontName = HostDefaultFontName;
    int32_t PointColor = 1;
    int32_t ExtendedColor = 0;
};

// Set by InitDrawingState, each cleared by the first record of its kind.
struct FirstRecordFlags {
    bool Lg = true;
    bool Ly = true;
    bool Lc = true;
    bool Lt = true;
    bool Lw = true;
    bool Cn = true;
};

constexpr int LayerGroupCount = 16;
constexpr int LayersPerGroup = 16;
constexpr int PickedPointSlots = 100;
constexpr int TextTypeCount = 10;

struct DrawingStateRecord {
    // Header values.
    std::string DrawingFilePath;
    double AxisAngle = 0.0;
    double LayerGroupScales[LayerGroupCount];
    double SheetSize[2] = {1189.0, 841.0};
    TextType TextTypes[TextTypeCount];  // text type n is TextTypes[n - 1]
    bool BzPresent = false;
    double HnValues[4] = {};

    InitialAttributeSet InitialAttributes;
    FirstRecordFlags First;
    bool LineWidthPresent = false;
    ReadingAttributeSet ReadingAttributes;

    // Layer tables: 16 entries and 16 x 16 entries (group * 16 + layer).
    std::vector<std::string> LayerGroupNames;
    std::vector<std::string> LayerNames;
    std::vector<int32_t> LayerGroupValues;
    std::vector<int32_t> LayerValues;

    // Entries 0..99, indexed by the number of the "hp" record.
    std::vector<PickedPoint> PickedPoints;
    int32_t PickedPointCount = 0;

    // Reader state.
    int32_t PendingHhpNumber = 0;
    int32_t PendingZFlags = 0;
    bool PolylineMode = false;
    int32_t PolylineCount = 0;
    bool DimensionMode = false;
    LineElement PendingDimensionLine;

    // Element lists and the order in which the elements were read.
    BlockList<ElementOrderEntry> ElementOrder;
    BlockList<LineElement> Lines;
    BlockList<CircleElement> Circles;
    BlockList<ArcElement> Arcs;
    BlockList<TextElement> Texts;
    BlockList<PointElement> Points;
    BlockList<PointMarkElement> PointMarks;
    BlockList<DimensionElement> Dimensions;
    BlockList<BlockElement> Blocks;
    BlockList<Solid2Element> Solid2s;
    BlockList<Solid3Element> Solid3s;
    BlockList<Solid4Element> Solid4s;
    BlockList<ScElement> Scs;
    BlockList<SeElement> Ses;
    BlockList<SoElement> Sos;
    BlockList<SgElement> Sgs;
};

extern DrawingStateRecord DrawingState;

// Every field to its initial value; also empties the OutputStore.
void InitDrawingState();
// Releases the tables, the element lists and the OutputStore's storage.
void FreeDrawingState();

// Takes a large model (not the OutputStore) out of DrawingState, which is
// left empty, and frees it on another thread while the caller goes on: for
// a large drawing that takes as long as replacing the exchange file. The
// guard waits for the thread when it ends. A small model stays for
// FreeDrawingState; without a thread the model is freed at once.
class DrawingStateRelease {
public:
    DrawingStateRelease() = default;
    DrawingStateRelease(DrawingStateRelease&&) = default;
    DrawingStateRelease& operator=(DrawingStateRelease&&) = delete;
    ~DrawingStateRelease()
    {
        if (thread_.joinable())
            thread_.join();
    }

private:
    friend DrawingStateRelease FreeDrawingStateAside();
    std::thread thread_;
};
DrawingStateRelease FreeDrawingStateAside();
