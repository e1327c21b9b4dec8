#pragma once
// The dimension that one press of OK builds, and its phases, in the order
// Button1Click runs them: read and check the controls, set up the drawing,
// the extension lines, the value text, then the value's place, the
// dimension line or figure, run-outs and end markers.
#include <cstdint>
#include <functional>
#include <string>

#include <optional>

#include "dialog/DimensionKind.h"
#include "dialog/PointD.h"

class TForm1;

// p turned about centre by angle degrees, counter-clockwise: every rotation
// of the construction.
PointD Rotated(const PointD& p, const PointD& centre, double angle);

// The checked control values of one press of OK. Lengths are drawing-size
// millimetres when read; the four distances become drawing units in the set-up.
struct DimensionOptionsRecord {
    int32_t StartMarker = 0;
    int32_t EndMarker = 0;
    double MarkerScale = 1.0;
    double ArrowLength = 3.0;
    double ArrowAngle = 15.0;
    int32_t TextTypeChoice = 0;
    std::string Prefix;
    std::string Suffix;
    int32_t Decimals = 3;
    int32_t RoundingMode = 2;
    int32_t ZeroDisplay = 0;
    int32_t UnitChoice = 0;
    bool UseSeparators = false;
    bool AppendUnit = false;
    bool FullWidth = false;
    bool AsFigure = false;
    double ValueOffset = 0.0;
    double ExtensionGap = 0.0;
    double ExtensionOvershoot = 0.0;
    double ReverseOvershoot = 0.0;
};

struct ValueTextTypeRecord {
    int32_t Number = 1;  // 0: free size
    double Width = 3.0;
    double Height = 3.0;
    double Spacing = 0.0;
    int32_t Color = 2;
};

enum ValueSideKind : int32_t {
    Centre = 0,
    BeyondStart = 1,
    BeyondEnd = 2,
};

struct DimensionConstruction {
    DimensionOptionsRecord DimensionOptions;
    DimensionKind Kind = DimensionKind::Vertical;
    // Points 3 and 4 where the user placed them; unset: the host's picks.
    std::optional<PointD> MovedP3, MovedP4;
    double LayerScale = 1.0;
    // The axis the vertical construction runs in: the host's, or turned for the kind.
    double AxisAngle = 0.0;
    PointD P1, P2, P3, P4;  // picked points 1 to 4
    PointD DimLineStart, DimLineEnd;
    double MeasuredLength = 0.0;

    ValueTextTypeRecord ValueTextType;
    std::string ValueText;

    double ValueWidth = 0.0;  // drawing-size millimetres
    double ValueAngle = 0.0;  // degrees
    ValueSideKind ValueSide = Centre;
    double ValueRunout = 0.0;  // drawing units
    PointD ValueAnchor, ValueOrigin, ValueDirection;
    bool ArrowsReversed = false;
    // A span of a chain whose first point an earlier span already drew:
    // its extension line, and its point marker where it is the same, are
    // not drawn again.
    bool SkipStartExtension = false;
    bool SkipStartMarker = false;
};

struct ChainRow;

// The message of the program's one message box.
inline constexpr const char* ZeroLengthMessage = "寸法が「0」になりますので作図出来ません";
// A chain's, when the host handed over fewer than two measured points.
inline constexpr const char* TooFewPointsMessage = "測る点が２点以上ないため直列寸法を作図出来ません";

// Reads every control into options and checks them in the dialog's order.
// Returns the name of the first control holding a bad value, or "" when
// all pass.
std::string ReadDimensionOptions(const TForm1& form, DimensionOptionsRecord& options);

// The scale of the host's current layer group: drawing-size mm to drawing units.
double CurrentLayerScale();
// From the model: LayerScale (and the four distances scaled by it), the
// picked points, DimLineStart, DimLineEnd and MeasuredLength.
void DeriveDimensionLine(DimensionConstruction& c);
// The four distances from drawing-size mm to drawing units.
void ScaleDistances(DimensionConstruction& c);
// From P1, P2, P3 and AxisAngle: DimLineStart, DimLineEnd and MeasuredLength.
void DeriveLineEnds(DimensionConstruction& c);
// Picked point number (1..99) of the model; the origin when not picked.
PointD PickedPointAt(int number);
// The host's attributes in force for everything this run draws.
void EmitAttributeSetUp();

void DrawExtensionLines(const DimensionConstruction& c);

ValueTextTypeRecord ChooseValueTextType(int32_t textTypeChoice);
std::string BuildValueText(const DimensionOptionsRecord& options, const PointD& start, const PointD& end);

// ValueWidth, ValueAngle, ValueSide, ValueRunout, ValueAnchor, ValueOrigin, ValueDirection.
void PlaceValue(DimensionConstruction& c);
// The dimension line with the value, or one dimension figure; then the
// reversal decision, run-outs, both end markers and the text-type restore.
void DrawDimension(DimensionConstruction& c);

// Room the marker takes along the dimension line, in drawing units.
double MarkerReach(int32_t kind, const DimensionOptionsRecord& options, double layerScale);
// The marker at point p; angle in degrees, pointing from the other end to
// p (turned by 180 when the arrows are reversed).
void DrawMarker(int32_t kind, const PointD& p, double angle, const DimensionOptionsRecord& options,
                double layerScale);

enum class ConstructionOutcome {
    Drawn,       // every record emitted
    Refused,     // a control holds a value OK does not take; nothing emitted
    ZeroLength,  // the checks passed, the dimension has no length; nothing emitted
    TooFewPoints,  // a chain with fewer than two measured points; nothing emitted
};

// What OK does besides drawing, at its place in the sequence; a look at the
// records without pressing OK passes none.
struct ConstructionEffects {
    std::function<void()> ChecksPassed;   // the settings are saved here
    std::function<void()> DrawingStarts;  // the busy text is shown here
};

// How every construction begins: the controls read into c and checked
// (false, naming the first bad one in badControl), the settings saved, the
// kind noted.
bool AcceptControls(const TForm1& form, DimensionConstruction& c, std::string& badControl,
                    const ConstructionEffects& effects);

// Every phase of OK in its order, from the form's current values, emitting
// to whatever store the emitters write to. On Refused, badControl names the
// first control whose value failed its check.
// For a chain kind c gets the first drawn span and row, when given, the whole row.
ConstructionOutcome ConstructDimension(const TForm1& form, DimensionConstruction& c, std::string& badControl,
                                       const ConstructionEffects& effects = {}, ChainRow* row = nullptr);
