#include "dialog/FormLayout.h"

namespace layout {
namespace {

constexpr int FormFontHeight = 13;
constexpr int HeadingFontHeight = 11;

// Shift-JIS in a monospaced face: a byte is half a character cell, and a
// cell is as wide as the font is high.
constexpr int AutoWidth(std::string_view text, int fontHeight)
{
    return static_cast<int>((text.size() * fontHeight + 1) / 2);
}

constexpr LabelDescription MakeLabel(std::string_view text, int left, int top, std::string_view control,
                                     LabelRole role, int fontHeight = FormFontHeight)
{
    return {text, left, top, AutoWidth(text, fontHeight), fontHeight, fontHeight, control, role};
}

constexpr FormDescription TheForm{
    .Caption = "垂直寸法線Ｂ",
    .ApplicationTitle = "q308_垂直寸法線Ｂ",
    .ClientWidth = 509,
    .ClientHeight = 376,
    .Left = 194,
    .Top = 107,
    .FontName = "ＭＳ ゴシック",
    .FontHeight = FormFontHeight,
    .Charset = 128,
    .Background = White,
    .Resizable = false,
    .MinimiseButton = true,
    .MaximiseButton = false,
    .ScaleWithDpi = false,
};

constexpr std::string_view MarkerItems[] = {
    "線矢印", "△", "□", "Ｏ", "○", "■", "▲", "●", "～", "＞", "／", "△",
};
constexpr std::string_view PrecisionItems[] = {
    "1", "0.1", "0.01", "0.001", "0.0001", "0.00001", "0.000001", "0.0000001", "0.00000001",
};
constexpr std::string_view RoundingItems[] = {"切り捨て", "切り上げ", "四捨五入"};
constexpr std::string_view ZeroItems[] = {"無", "有"};
constexpr std::string_view UnitItems[] = {"mm", "ｍ"};

constexpr std::string_view HelpLines[] = {
    "◇垂直寸法線の設定は",
    "　水平寸法線の設定とは",
    "　別に呼出・登録しており",
    "　水平寸法線の設定を",
    "　共有利用していません",
    "",
    "◇寸法値の水平位置を",
    "　指定出来る垂直寸法線",
    "　を作図します",
    "◇寸法値の位置指定は",
    "　寸法値が中央の場合は",
    "　　　中下点基準",
    "　寸法値が左出しの場合は",
    "　　　右下点基準　",
    "　寸法値が右出しの場合は",
    "　　　左下点基準",
    "　となります",
    "◇寸法値が寸法補助線間",
    "　及び、寸法補助線と",
    "　重なる場合には",
    "　逆矢印にはなりません",
    "",
    "◆ブロック図形内のもの",
    "　は処理出来ませんので",
    "　御注意下さい。",
    "　ブロック編集内で行う",
    "　場合には、本ソフトを",
    "　Jw_cadのインストール・",
    "　フォルダに配置して",
    "　実行を行う必要がある",
    "　場合があります。",
};

constexpr Rgb MemoBackground{187, 235, 244};
constexpr Rgb StatusBackground{231, 231, 231};

constexpr ControlDescription Combo(std::string_view name, int left, int top, int width,
                                   std::span<const std::string_view> items, int defaultIndex, int tab)
{
    return {name, ControlKind::ComboBox, left, top, width, 21, {}, items, defaultIndex, false, 0, true, 0, tab,
            false, false, false, {}};
}

constexpr ControlDescription Edit(std::string_view name, int left, int top, int width, std::string_view text,
                                  int maxLength, bool imeOff, int tab)
{
    return {name, ControlKind::Edit, left, top, width, 21, text, {}, -1, false, maxLength, imeOff, 0, tab,
            false, false, false, {}};
}

constexpr ControlDescription Radio(std::string_view name, int left, std::string_view caption,
                                   std::span<const std::string_view> items, int tab)
{
    return {name, ControlKind::RadioGroup, left, 184, 145, 41, caption, items, 0, false, 0, false, 2, tab,
            false, false, false, {}};
}

constexpr ControlDescription Check(std::string_view name, int left, int width, std::string_view caption, int tab)
{
    return {name, ControlKind::CheckBox, left, 232, width, 17, caption, {}, -1, false, 0, false, 0, tab,
            false, false, false, {}};
}

constexpr ControlDescription Button(std::string_view name, int top, std::string_view caption, bool isDefault,
                                    int tab)
{
    return {name, ControlKind::Button, 360, top, 137, 33, caption, {}, -1, false, 0, false, 0, tab,
            isDefault, !isDefault, false, {}};
}

constexpr ControlDescription TheControls[] = {
    Combo("ComboBox1", 48, 4, 81, MarkerItems, 0, 0),
    Combo("ComboBox2", 48, 28, 81, MarkerItems, 0, 1),
    Edit("Edit7", 48, 64, 33, "3", 8, true, 2),
    Edit("Edit8", 48, 88, 33, "15", 8, true, 3),
    Edit("Edit1", 72, 112, 57, "1", 16, true, 4),
    // Filled from the host's text types when the dialog is shown.
    Combo("ComboBox3", 136, 28, 169, {}, -1, 5),
    Edit("Edit2", 200, 56, 105, "", 32, false, 6),
    Edit("Edit3", 200, 80, 105, "", 32, false, 7),
    Combo("ComboBox4", 200, 136, 105, PrecisionItems, 3, 8),
    Combo("ComboBox5", 200, 160, 105, RoundingItems, 2, 9),
    Radio("RadioGroup1", 8, "小数点以下の０表示", ZeroItems, 10),
    Radio("RadioGroup2", 160, "寸法値の単位", UnitItems, 11),
    Check("CheckBox1", 8, 145, "３桁毎カンマ付加", 12),
    Check("CheckBox2", 152, 105, "単位の付加", 13),
    Check("CheckBox3", 256, 129, "寸法値を全角化", 14),
    Check("CheckBox4", 384, 105, "寸法図形化", 15),
    Edit("Edit4", 200, 252, 57, "0.5", 16, true, 16),
    Edit("Edit5", 200, 276, 57, "2", 16, true, 17),
    Edit("Edit6", 200, 300, 57, "2", 16, true, 18),
    Edit("Edit9", 200, 324, 57, "2", 16, true, 19),
    Button("Button1", 264, "ＯＫ(&Y)", true, 20),
    Button("Button2", 312, "キャンセル(&N)", false, 21),
    {"Memo1", ControlKind::Memo, 312, 0, 193, 225, {}, HelpLines, -1, false, 0, false, 0, -1, false, false, true,
     MemoBackground},
    {"LabelA1", ControlKind::StatusLabel, 0, 352, 509, 24, "　", {}, -1, false, 0, false, 0, -1, false, false,
     true, StatusBackground},
};

constexpr LabelDescription TheLabels[] = {
    MakeLabel("始点", 8, 8, "ComboBox1", LabelRole::Caption),
    MakeLabel("終点", 8, 32, "ComboBox2", LabelRole::Caption),
    MakeLabel("（線矢印）", 8, 52, "Edit7", LabelRole::Heading, HeadingFontHeight),
    MakeLabel("長さ", 8, 68, "Edit7", LabelRole::Caption),
    MakeLabel("図寸mm", 88, 68, "Edit7", LabelRole::Unit),
    MakeLabel("角度", 8, 92, "Edit8", LabelRole::Caption),
    MakeLabel("°", 88, 92, "Edit8", LabelRole::Unit),
    MakeLabel("端点倍率", 8, 116, "Edit1", LabelRole::Caption),
    MakeLabel("（点マーカ　線矢印を除く）", 128, 116, "Edit1", LabelRole::Note),
    MakeLabel("寸法値の文字種", 136, 8, "ComboBox3", LabelRole::Caption),
    MakeLabel("接頭文字", 136, 60, "Edit2", LabelRole::Caption),
    MakeLabel("接尾文字", 136, 84, "Edit3", LabelRole::Caption),
    MakeLabel("寸法値の精度", 8, 140, "ComboBox4", LabelRole::Caption),
    MakeLabel("寸法値の丸め", 8, 164, "ComboBox5", LabelRole::Caption),
    MakeLabel("寸法値と水平線との距離", 8, 256, "Edit4", LabelRole::Caption),
    MakeLabel("図寸mm", 264, 256, "Edit4", LabelRole::Unit),
    MakeLabel("計測点と寸法補助線の距離", 8, 280, "Edit5", LabelRole::Caption),
    MakeLabel("図寸mm", 264, 280, "Edit5", LabelRole::Unit),
    MakeLabel("寸法補助線のはみ出し距離", 8, 304, "Edit6", LabelRole::Caption),
    MakeLabel("図寸mm", 264, 304, "Edit6", LabelRole::Unit),
    MakeLabel("逆矢印の寸法はみだし距離", 8, 328, "Edit9", LabelRole::Caption),
    MakeLabel("図寸mm", 264, 328, "Edit9", LabelRole::Unit),
};

}  // namespace

const FormDescription& Form() { return TheForm; }

std::span<const ControlDescription> Controls() { return TheControls; }

std::span<const LabelDescription> Labels() { return TheLabels; }

const ControlDescription* FindControl(std::string_view name)
{
    for (const ControlDescription& control : TheControls)
        if (control.Name == name)
            return &control;
    return nullptr;
}

const LabelDescription* FindLabel(std::string_view controlName, LabelRole role)
{
    for (const LabelDescription& label : TheLabels)
        if (label.ControlName == controlName && label.Role == role)
            return &label;
    return nullptr;
}

}  // namespace layout
