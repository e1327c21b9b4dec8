// Our own full-width table against the locale mapping of Windows, character
// by character, for every character the table claims to know.
#include "WineTest.h"
#include "platform/FullWidth.h"

namespace wt {

namespace {

bool UnderWine()
{
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// Wine turns a half-width sound mark that has no precomposed character to
// go with into a combining mark (U+3099, U+309A), which code page 932
// lacks, so it comes out as "?"; Windows gives the spacing marks of the
// table (0x814A, 0x814B). For the two kana whose voiced forms code page
// 932 lacks, Wine composes them and the whole character becomes "?".
bool KnownWineDifference(const std::string& locale, const std::string& table)
{
    std::string expected;
    for (std::size_t i = 0; i < table.size(); ++i) {
        const bool pair = i + 1 < table.size();
        if (pair && table[i] == '\x81' && (table[i + 1] == '\x4A' || table[i + 1] == '\x4B')) {
            expected += '?';
            ++i;
        } else if (pair && static_cast<unsigned char>(table[i]) >= 0x81) {
            expected += table.substr(i, 2);
            ++i;
        } else {
            expected += table[i];
        }
    }
    if (locale == expected)
        return true;
    return locale == "?" && (table == "\x83\x92\x81\x4A" || table == "\x83\x8F\x81\x4A");
}

}  // namespace

void CheckFullWidth()
{
    Case c(L"full-width table against the locale mapping");
    std::vector<std::string> inputs;
    for (int b = 0x20; b <= 0x7E; ++b)
        inputs.push_back(std::string(1, static_cast<char>(b)));
    for (int b = 0xA1; b <= 0xDF; ++b) {
        const char kana = static_cast<char>(b);
        inputs.push_back(std::string(1, kana));
        inputs.push_back(std::string{kana, '\xDE'});
        inputs.push_back(std::string{kana, '\xDF'});
    }
    for (int second = 0x9F; second <= 0xF1; ++second)  // hiragana
        inputs.push_back(std::string{'\x82', static_cast<char>(second)});
    // A whole piece: every printable ASCII character at once.
    std::string ascii;
    for (int b = 0x20; b <= 0x7E; ++b)
        ascii += static_cast<char>(b);
    inputs.push_back(ascii);

    const bool wine = UnderWine();
    int mismatches = 0;
    int wineDifferences = 0;
    for (const std::string& input : inputs) {
        const std::string locale = platform::MapFullWidth(input);
        const std::string table = platform::MapFullWidthByTable(input);
        if (locale != table && wine && KnownWineDifference(locale, table)) {
            ++wineDifferences;
        } else if (locale != table) {
            ++mismatches;
            c.Check(false, L"input " + Hex(input) + L" (" + FromSjis(input) + L"): locale mapping " + Hex(locale) +
                               L" (" + FromSjis(locale) + L"), table " + Hex(table) + L" (" + FromSjis(table) + L")");
        }
    }
    Print(L"  compared " + Number(static_cast<long long>(inputs.size())) + L" inputs: " + Number(mismatches) +
          L" differ, " + Number(wineDifferences) + L" differ only by Wine's combining sound marks");
}

}  // namespace wt
