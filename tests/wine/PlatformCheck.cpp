// The Windows side of platform/: paths in any script, files as bytes,
// whole-file writes that never leave a partial file, Shift-JIS conversion.
#include "WineTest.h"

#include <algorithm>
#include <cmath>

#include "platform/Charset.h"
#include "platform/ExecutablePath.h"
#include "platform/Files.h"

namespace wt {

namespace {

void CheckCharset()
{
    Case c(L"Shift-JIS and UTF-8 through code page 932");
    const struct {
        std::string Sjis;
        std::string Utf8;
    } toUtf8[] = {
        {"abc", "abc"},
        {std::string("a\0b", 3), std::string("a\0b", 3)},
        {"\x82\xA0", "\xE3\x81\x82"},                  // hiragana a
        {"\xB1", "\xEF\xBD\xB1"},                      // half-width katakana a
        {"\x81\x5F", "\xEF\xBC\xBC"},                  // full-width backslash
        {"\x87\x40", "\xE2\x91\xA0"},                  // circled one
        {"\x81", "\xEF\xBF\xBD"},                      // lone lead byte at the end
        {"a\x81", "a\xEF\xBF\xBD"},
        {"\x85\x40z", "\xEF\xBF\xBDz"},                // unassigned pair: one replacement, z survives
    };
    for (const auto& row : toUtf8)
        c.Bytes(platform::SjisToUtf8(row.Sjis), row.Utf8, L"SjisToUtf8 of " + Hex(row.Sjis));
    const struct {
        std::string Utf8;
        std::string Sjis;
    } toSjis[] = {
        {"", ""},
        {"abc", "abc"},
        {"\xE3\x81\x82", "\x82\xA0"},
        {"\xE2\x91\xA0", "\x87\x40"},
        {"\xED\x95\x9C", "?"},                 // Hangul: not in Shift-JIS
        {"\xC3\xA9", "?"},                     // e acute: no best-fit "e"
        {"\xFF", "?"},                         // not UTF-8
    };
    for (const auto& row : toSjis)
        c.Bytes(platform::Utf8ToSjis(row.Utf8), row.Sjis, L"Utf8ToSjis of " + Hex(row.Utf8));
}

// Sine and cosine as correctly rounded libraries give them, also where the
// x87 instructions lose digits (near multiples of pi/2).
void CheckTrigonometry()
{
    Case c(L"sine and cosine");
    const struct {
        bool Cosine;
        double X;
        double Expected;
    } rows[] = {
        {true, 0x1.921fb54442d18p+0, 0x1.1a62633145c07p-54},   // pi/2
        {false, 0x1.921fb54442d18p+1, 0x1.1a62633145c07p-53},  // pi
        {true, 0x1.0c152382d7365p+0, 0x1.0000000000001p-1},   // pi/3
        {false, 0x1.0c152382d7365p-1, 0x1.fffffffffffffp-2},  // pi/6
        {true, -0x1.2d97c7f3321d2p+2, -0x1.a79394c9e8a0ap-53}, // -3 pi/2
        {false, 0x1.9p+6, -0x1.03425b78c4db8p-1},              // 100
        {true, 0x1.81cd6c8b43958p+13, 0x1.6b94c3bbe24b8p-1},  // 12345.678
        {false, 0x1.2d97c7f3321d2p+2, -1.0},                   // 3 pi/2
        {true, 0.0, 1.0},
    };
    for (const auto& row : rows) {
        // volatile: the values must come from the library at run time.
        volatile double x = row.X;
        const double actual = row.Cosine ? std::cos(x) : std::sin(x);
        c.Check(actual == row.Expected, std::wstring(row.Cosine ? L"cos(" : L"sin(") + std::to_wstring(row.X) +
                                            L") = " + std::to_wstring(actual) + L", differs in its last digits");
    }
    // Both of one angle: the compiler makes this one sincos call.
    volatile double quarter = 0x1.921fb54442d18p+0;
    const double angle = quarter;
    const double sine = std::sin(angle);
    const double cosine = std::cos(angle);
    c.Check(sine == 1.0 && cosine == 0x1.1a62633145c07p-54, L"sine and cosine of pi/2 together");
    volatile long double half = 0x1.921fb54442d18p+0L;
    c.Check(static_cast<double>(std::cos(half)) == 0x1.1a62633145c07p-54, L"cosl of the double nearest pi/2");
    volatile double negativeZero = -0.0;
    c.Check(std::signbit(std::sin(negativeZero)), L"sin(-0) is -0");
}

void CheckFiles(const Settings& settings)
{
    Case c(L"files on Windows");
    const std::wstring folder = JoinPath(settings.Root, L"files_測定_한국");
    RemoveTree(folder);
    MakeFolder(folder);
    const std::string folderUtf8 = Utf8(folder) + "\\";

    // A name Shift-JIS cannot spell reaches the file system intact.
    const std::wstring name = L"設定_한국.dat";
    const std::string path = folderUtf8 + Utf8(name);
    const std::string bytes("hq\r\n\x82\xA0\0\xFF\r\n", 10);
    c.Check(platform::WriteWholeFile(path, bytes), L"WriteWholeFile into a folder named in Korean");
    c.Check(Exists(JoinPath(folder, name)), L"the file has its Unicode name");
    std::string read;
    c.Check(platform::ReadWholeFile(path, read) && read == bytes, L"ReadWholeFile gives the bytes back unchanged");
    c.Check(platform::FileExists(path), L"FileExists of the file");
    c.Check(!platform::FileExists(folderUtf8), L"FileExists is false for a folder");

    // Replacing: a shorter content leaves nothing of the longer one.
    c.Check(platform::WriteWholeFile(path, "x"), L"WriteWholeFile over an existing file");
    c.Check(platform::ReadWholeFile(path, read) && read == "x", L"the old content is gone: " + Hex(read));

    // A write that cannot finish keeps the previous file and leaves no
    // temporary one.
    MakeFolder(JoinPath(folder, name + L".tmp"));
    c.Check(!platform::WriteWholeFile(path, "new"), L"WriteWholeFile reports a failure");
    c.Check(platform::ReadWholeFile(path, read) && read == "x", L"the previous file is kept");
    RemoveTree(JoinPath(folder, name + L".tmp"));

    HANDLE lock = CreateFileW(JoinPath(folder, name).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    c.Check(lock != INVALID_HANDLE_VALUE, L"cannot lock the file");
    ULONGLONG start = GetTickCount64();
    platform::FileError lockedError;
    const bool lockedWrite = platform::WriteWholeFile(path, "new", platform::WithoutTemporary::Fail, &lockedError);
    ULONGLONG waited = GetTickCount64() - start;
    CloseHandle(lock);
    c.Check(!lockedWrite, L"WriteWholeFile over a file open elsewhere without sharing reports a failure");
    c.Check(lockedError.Passing && waited >= 1900 && waited < 4000,
            L"a held file is waited for about two seconds: error " + Number(lockedError.Code) + L" after " +
                Number(static_cast<long long>(waited)) + L" ms");
    // The system's reason, in the user's language.
    const std::wstring reason = FromSjis(platform::FileErrorText(lockedError));
    c.Check(std::any_of(reason.begin(), reason.end(), [](wchar_t ch) { return ch >= 0x3000; }),
            L"the reason is given in Japanese: " + reason);

    // A read-only file is not waited for.
    SetFileAttributesW(JoinPath(folder, name).c_str(), FILE_ATTRIBUTE_READONLY);
    start = GetTickCount64();
    platform::FileError readOnlyError;
    const bool readOnlyWrite = platform::WriteWholeFile(path, "new", platform::WithoutTemporary::Fail, &readOnlyError);
    waited = GetTickCount64() - start;
    SetFileAttributesW(JoinPath(folder, name).c_str(), FILE_ATTRIBUTE_NORMAL);
    c.Check(!readOnlyWrite && readOnlyError.Code == ERROR_ACCESS_DENIED && !readOnlyError.Passing && waited < 500,
            L"a read-only file is reported at once: error " + Number(readOnlyError.Code) + L" after " +
                Number(static_cast<long long>(waited)) + L" ms");
    c.Check(platform::ReadWholeFile(path, read) && read == "x", L"the locked file is kept: " + Hex(read));
    c.Check(!Exists(JoinPath(folder, name + L".tmp")), L"no temporary file after the failed write");

    c.Check(!platform::WriteWholeFile(folderUtf8 + "missing\\file.txt", "x"), L"no write into a missing folder");
    c.Check(!Exists(JoinPath(folder, L"missing")), L"the missing folder stays missing");
    c.Check(!platform::WriteWholeFile("", "x"), L"no write to an empty path");
    c.Check(!platform::ReadWholeFile(folderUtf8 + "none.txt", read), L"ReadWholeFile of a missing file");
    c.Check(!platform::RemoveFile(folderUtf8 + "none.txt"), L"RemoveFile of a missing file");
    c.Check(platform::RemoveFile(path) && !Exists(JoinPath(folder, name)), L"RemoveFile");

    // Reading in pieces: counts, then 0 at the end.
    platform::WriteWholeFile(path, "12345");
    platform::InputFile input;
    char buffer[2];
    c.Check(input.Open(path), L"InputFile opens the file");
    long long counts[4] = {input.Read(buffer, 2), input.Read(buffer, 2), input.Read(buffer, 2), input.Read(buffer, 2)};
    c.Check(counts[0] == 2 && counts[1] == 2 && counts[2] == 1 && counts[3] == 0, L"InputFile reads 2, 2, 1, then 0");
    input.Close();
    c.Equal(input.Read(buffer, 2), -1, L"InputFile reads nothing once closed");

    // The executable's own path, as Windows knows it.
    wchar_t module[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    c.Equal(Wide(platform::ExecutablePath()), module, L"ExecutablePath");
    const std::wstring executableFolder = Wide(platform::ExecutableFolder());
    c.Check(!executableFolder.empty() && executableFolder.back() == L'\\' &&
                std::wstring(module).rfind(executableFolder, 0) == 0,
            L"ExecutableFolder is the executable's folder with its delimiter: " + executableFolder);
    RemoveTree(folder);
}

// A program folder whose path fills most of MAX_PATH with characters of
// three UTF-8 bytes each: the program still finds itself.
void CheckLongPath(const Settings& settings)
{
    Case c(L"executable path near MAX_PATH");
    std::wstring folder = JoinPath(settings.Root, L"long");
    RemoveTree(folder);
    while (folder.size() < 200)
        folder = JoinPath(folder, L"寸法フォルダ_0123");
    if (!c.Check(MakeFolder(folder), L"cannot create " + folder))
        return;
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring copy = JoinPath(folder, L"q308-wine-test.exe");
    const std::wstring output = JoinPath(settings.Root, L"long-path.txt");
    DeleteFileW(output.c_str());
    if (!c.Check(CopyFileW(self, copy.c_str(), FALSE) != 0, L"cannot copy the driver"))
        return;
    std::wstring commandLine = L"q308-wine-test.exe exe-path \"" + output + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!c.Check(CreateProcessW(copy.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                &startup, &process) != 0,
                 L"cannot start the driver from " + copy))
        return;
    WaitForSingleObject(process.hProcess, 30000);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    std::string reported;
    ReadBytes(output, reported);
    c.Equal(Wide(reported), copy, L"ExecutablePath from a long path");
    RemoveTree(JoinPath(settings.Root, L"long"));
}

}  // namespace

void CheckPlatform(const Settings& settings)
{
    CheckCharset();
    CheckTrigonometry();
    CheckFiles(settings);
    CheckLongPath(settings);
}

}  // namespace wt
