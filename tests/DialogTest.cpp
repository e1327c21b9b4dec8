// The dialog: its description, the defaults it gives the form, start-up
// with the text-type list, and every way of closing it.
#include "dialog/FormLayout.h"
#include "exchange/DrawingState.h"
#include "support/DialogHarness.h"

using namespace harness;

TEST(Dialog, FormGetsTheDescribedControls)
{
    std::string tabOrder;
    for (const layout::ControlDescription& d : layout::Controls())
        if (d.TabOrder >= 0)
            tabOrder += std::string(d.Name) + " ";
    EXPECT_EQ(tabOrder, "ComboBox1 ComboBox2 Edit7 Edit8 Edit1 ComboBox3 Edit2 Edit3 ComboBox4 ComboBox5 RadioGroup1 "
                        "RadioGroup2 CheckBox1 CheckBox2 CheckBox3 CheckBox4 Edit4 Edit5 Edit6 Edit9 Button1 Button2 ");
    for (const layout::LabelDescription& label : layout::Labels())
        EXPECT_NE(layout::FindControl(label.ControlName), nullptr) << label.ControlName;

    // The edits' lengths, "*" where the input method stays on; the defaults
    // themselves are what a start without a settings file shows.
    TForm1 form;
    std::string edits;
    for (const char* name : {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "Edit6", "Edit7", "Edit8", "Edit9"})
        edits += std::to_string(form.EditNamed(name)->MaxLength) + (form.EditNamed(name)->ImeOff ? " " : "* ");
    EXPECT_EQ(edits, "16 32* 32* 16 16 16 8 8 16 ");
    ASSERT_EQ(form.ComboBox1.Items.size(), 12u);
    EXPECT_EQ(form.ComboBox1.Items[11], form.ComboBox1.Items[1]);
    EXPECT_EQ(form.ComboBox2.Items, form.ComboBox1.Items);
    EXPECT_EQ(form.ComboBox4.Items[form.ComboBox4.ItemIndex], "0.001");
    EXPECT_EQ(form.ComboBox5.Items[form.ComboBox5.ItemIndex], "四捨五入");
    EXPECT_EQ(form.RadioGroup2.Items, (std::vector<std::string>{"mm", "ｍ"}));
    EXPECT_EQ(form.Memo1.Lines.size(), 31u);
}

TEST(Dialog, TextTypeListNamesTheHostsTypes)
{
    const struct {
        std::optional<std::string> Exchange;  // none: the host left no file
        std::string First, Second;
    } cases[] = {
        {ExchangeText({"hq", "cn0 2 2 0 1"}), "現在の文字種(Free)", "No1: W3 H3 D0"},
        {ExchangeText({"hq", "cn7"}), "現在の文字種(No7)", "No1: W3 H3 D0"},
        {ExchangeText({"hq", "hcw 2.5 3 3 3 3 3 3 3 3 3", "hch 2.5 3 3 3 3 3 3 3 3 3", "hcd 0.5 0 0 0 0 0 0 0 0 0"}),
         "現在の文字種(No1)", "No1: W2.5 H2.5 D0.5"},
        {ExchangeText({"hq", "hcw 0.00001 4 4 4 4 4 4 4 4 4", "hch 1E20 4 4 4 4 4 4 4 4 4"}), "現在の文字種(No1)",
         "No1: W1E-5 H1E20 D0"},
        {std::nullopt, "現在の文字種(No1)", "No1: W3 H3 D0"},
    };
    for (const auto& c : cases) {
        DialogRun run(c.Exchange);
        const std::vector<std::string>& items = run.Form.ComboBox3.Items;
        ASSERT_EQ(items.size(), 11u);
        EXPECT_EQ(items[0], c.First);
        EXPECT_EQ(items[1], c.Second);
        EXPECT_EQ(items[10].substr(0, 5), "No10:");
        run.Cancel();
        EXPECT_EQ(run.ExchangeBytes(), "hq\r\n");
    }
}

TEST(Dialog, SecondCloseKeepsTheFirstOutput)
{
    DialogRun run(ExchangeText({"hq", "hp1 0 0", "hp2 0 10", "hp3 5 0", "hp4 -1 5"}));
    run.PickTextType();
    run.Form.Button1Click();
    ASSERT_TRUE(run.Closed());
    const std::string written = run.ExchangeBytes();
    EXPECT_NE(written, "hq\r\n");
    run.Form.FormClose();
    EXPECT_EQ(run.ExchangeBytes(), written);
}

TEST(Dialog, ProgramFolderDefaultsToTheExecutablesFolder)
{
    TForm1 form;
    form.FormShow();
    ASSERT_FALSE(form.ProgramFolder.empty());
    EXPECT_EQ(form.ProgramFolder.back(), '/');
    EXPECT_TRUE(std::filesystem::exists(form.ProgramFolder + "DialogTest"));
    FreeDrawingState();
}
