#pragma once
// The settings file "q304.dat" as data: one value per line, CR LF, no keys.
//
//   lines 1-2    SavedLeft, SavedTop            decimal
//   lines 3-7    ComboBox1..ComboBox5           item index
//   lines 8-16   Edit1..Edit9                   text as typed
//   lines 17-18  RadioGroup1, RadioGroup2       item index
//   lines 19-22  CheckBox1..CheckBox4           "1" / "0"
//   lines 23-31  layer group, its scale, axis angle, picked points 1-3
//                (written for reference, never read back)
//
// Parsing and rendering are plain functions on bytes; TForm1's LoadSettings
// and SaveSettings only add the file and the controls.
#include <cstdint>
#include <string>
#include <string_view>

// The dialog's values the file keeps, in the file's order.
struct SettingsValues {
    int32_t SavedLeft = 100;
    int32_t SavedTop = 100;
    int32_t ComboBoxIndex[5] = {};    // ComboBox1..ComboBox5
    std::string EditText[9];          // Edit1..Edit9
    int32_t RadioGroupIndex[2] = {};  // RadioGroup1, RadioGroup2
    bool CheckBoxChecked[4] = {};     // CheckBox1..CheckBox4
};

// What lines 23 to 31 tell of the run that saved the file.
struct SettingsRunValues {
    int32_t LayerGroup = 0;
    double LayerScale = 1.0;
    double AxisAngle = 0.0;
    double PointX[3] = {};  // picked points 1 to 3
    double PointY[3] = {};
};

inline constexpr int SettingsLinesRead = 22;
inline constexpr int SettingsLinesWritten = 31;

// Takes the first 22 lines of bytes into values, each as its control takes
// it: integers that do not parse read as 0, a negative item index as 0, a
// check box is checked by any non-zero integer. complete says the whole
// file was read: a line missing at its end then reads as empty text.
// Otherwise reading broke off, and only the lines ended by a line end are
// taken; the values of the others stay as they were.
void ParseSettings(std::string_view bytes, bool complete, SettingsValues& values);

// The 31 lines of the file, each ended by CR LF. An edit text is written up
// to its first line break, which would otherwise shift every later line.
std::string RenderSettings(const SettingsValues& values, const SettingsRunValues& run);

// Lines 23 to 31 for this run, from the model. A chain's describe its
// first span: its two measured points, then its line position.
SettingsRunValues SettingsRunFromModel(bool chain = false);
