// Arbitrary bytes as the settings file q304.dat, loaded as the dialog does
// when it is shown. Afterwards every list and radio group holds an index
// its control can have; and where every one of them has a selection, as
// OK requires before it saves, saving what was loaded and reading it back
// restores every control exactly.
#include <cstddef>
#include <cstdint>
#include <string>

#include "dialog/Settings.h"
#include "dialog/Unit1.h"
#include "exchange/DrawingState.h"
#include "FuzzSupport.h"

using fuzzsupport::Require;

namespace {

void RequireIndexInRange(int index, std::size_t items, const char* what)
{
    Require(index >= -1 && index < static_cast<int>(items), what);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const std::string& folder = fuzzsupport::ScratchFolder();
    fuzzsupport::WriteFile(folder + "q304.dat", std::string(reinterpret_cast<const char*>(data), size));

    // No exchange file in the folder: the model keeps its initial values.
    TForm1 form;
    form.ProgramFolder = folder;
    form.FormShow();

    for (TComboBox* box : {&form.ComboBox1, &form.ComboBox2, &form.ComboBox3, &form.ComboBox4, &form.ComboBox5})
        RequireIndexInRange(box->ItemIndex, box->Items.size(), "a list's index is one of its items or none");
    for (TRadioGroup* group : {&form.RadioGroup1, &form.RadioGroup2})
        RequireIndexInRange(group->ItemIndex, group->Items.size(), "a radio group's index is one of its buttons or none");
    Require(form.Left == form.SavedLeft && form.Top == form.SavedTop, "the dialog stands where the file says");

    bool allSelected = true;
    for (TComboBox* box : {&form.ComboBox1, &form.ComboBox2, &form.ComboBox3, &form.ComboBox4, &form.ComboBox5})
        allSelected = allSelected && box->ItemIndex >= 0;
    for (TRadioGroup* group : {&form.RadioGroup1, &form.RadioGroup2})
        allSelected = allSelected && group->ItemIndex >= 0;
    if (!allSelected) {
        FreeDrawingState();
        return 0;
    }
    const SettingsRunValues run = SettingsRunFromModel();
    const std::string saved = RenderSettings(form.CurrentSettings(), run);
    SettingsValues again;
    ParseSettings(saved, true, again);
    form.ApplySettings(again);
    Require(RenderSettings(form.CurrentSettings(), run) == saved, "a saved file reads back to the same controls");

    FreeDrawingState();
    return 0;
}
