// Reporting, text and file helpers of the test driver.
#include "WineTest.h"

#include <algorithm>
#include <cstdio>

#include "platform/WideText.h"

namespace wt {

namespace {

int passedCases = 0;
int failedCases = 0;
std::wstring samplesFolder;
std::wstring hostSamplesFolder;

std::wstring Shorten(const std::wstring& text)
{
    return text.size() <= 400 ? text : text.substr(0, 400) + L"...";
}

}  // namespace

// ---- reporting --------------------------------------------------------

void MakeDpiAware()
{
    using SetContext = BOOL(WINAPI*)(HANDLE);
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    const auto setContext = reinterpret_cast<SetContext>(
        reinterpret_cast<void*>(GetProcAddress(user32, "SetProcessDpiAwarenessContext")));
    // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2
    if (setContext == nullptr || !setContext(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4))))
        SetProcessDPIAware();
}

void Print(const std::wstring& text)
{
    const std::string line = Utf8(text) + "\n";
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fflush(stdout);
}

int PassedCases() { return passedCases; }
int FailedCases() { return failedCases; }

Case::Case(std::wstring name) : name_(std::move(name)) {}

Case::~Case()
{
    if (failures_ == 0) {
        ++passedCases;
        Print(L"PASS " + name_);
    } else {
        ++failedCases;
        Print(L"FAIL " + name_ + L" (" + Number(failures_) + L" failed checks)");
    }
}

bool Case::Check(bool ok, const std::wstring& what)
{
    if (!ok) {
        ++failures_;
        Print(L"  " + name_ + L": " + what);
    }
    return ok;
}

bool Case::Equal(const std::wstring& actual, const std::wstring& expected, const std::wstring& what)
{
    return Check(actual == expected,
                 what + L": \"" + Shorten(actual) + L"\", expected \"" + Shorten(expected) + L"\"");
}

bool Case::Equal(long long actual, long long expected, const std::wstring& what)
{
    return Check(actual == expected, what + L": " + Number(actual) + L", expected " + Number(expected));
}

bool Case::Bytes(const std::string& actual, const std::string& expected, const std::wstring& what)
{
    if (actual == expected)
        return true;
    std::size_t at = 0;
    while (at < actual.size() && at < expected.size() && actual[at] == expected[at])
        ++at;
    const std::size_t from = at < 16 ? 0 : at - 16;
    return Check(false, what + L" differ at byte " + Number(static_cast<long long>(at)) + L" (" +
                            Number(static_cast<long long>(actual.size())) + L" bytes, expected " +
                            Number(static_cast<long long>(expected.size())) + L"): " +
                            Hex(actual.substr(from, 48)) + L" / expected " + Hex(expected.substr(from, 48)));
}

// ---- text -------------------------------------------------------------

std::string Utf8(const std::wstring& wide) { return platform::Utf8FromWide(wide); }
std::wstring Wide(const std::string& utf8) { return platform::WideFromUtf8(utf8); }
std::string Sjis(const std::wstring& wide) { return platform::SjisFromWide(wide); }
std::wstring FromSjis(const std::string& sjis) { return platform::WideFromSjis(sjis); }

std::wstring Hex(const std::string& bytes)
{
    static const wchar_t digits[] = L"0123456789ABCDEF";
    std::wstring text;
    for (unsigned char b : bytes) {
        if (!text.empty())
            text += L' ';
        text += digits[b >> 4];
        text += digits[b & 15];
    }
    return text;
}

std::wstring Number(long long value) { return std::to_wstring(value); }

// ---- files ------------------------------------------------------------

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name)
{
    if (folder.empty() || folder.back() == L'\\' || folder.back() == L'/')
        return folder + name;
    return folder + L"\\" + name;
}

bool ReadBytes(const std::wstring& path, std::string& bytes)
{
    bytes.clear();
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    char buffer[65536];
    DWORD got = 0;
    bool ok = true;
    while ((ok = ReadFile(file, buffer, sizeof buffer, &got, nullptr) != 0) && got > 0)
        bytes.append(buffer, got);
    CloseHandle(file);
    return ok;
}

bool WriteBytes(const std::wstring& path, const std::string& bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) != 0 &&
                    written == bytes.size();
    return CloseHandle(file) != 0 && ok;
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void RemoveTree(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
        return;
    }
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(JoinPath(path, L"*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name != L"." && name != L"..")
                RemoveTree(JoinPath(path, name));
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(path.c_str());
}

bool MakeFolder(const std::wstring& path)
{
    if (CreateDirectoryW(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS)
        return true;
    const std::size_t cut = path.find_last_of(L"\\/");
    if (cut == std::wstring::npos || cut == 0)
        return false;
    return MakeFolder(path.substr(0, cut)) && (CreateDirectoryW(path.c_str(), nullptr) != 0);
}

void SetSamplesFolders(const std::wstring& fixtures, const std::wstring& hostSamples)
{
    samplesFolder = fixtures;
    hostSamplesFolder = hostSamples;
}

std::string Sample(const std::wstring& name)
{
    std::string bytes;
    if (!ReadBytes(JoinPath(samplesFolder, name), bytes))
        Print(L"  cannot read the sample " + JoinPath(samplesFolder, name));
    return bytes;
}

std::optional<std::string> HostSample(const std::wstring& name)
{
    std::string bytes;
    if (hostSamplesFolder.empty() || !ReadBytes(JoinPath(hostSamplesFolder, name), bytes))
        return std::nullopt;
    return bytes;
}

const std::vector<KindFacts>& Kinds()
{
    static const std::vector<KindFacts> kinds = {
        {L"", L"垂直寸法線Ｂ", L"q304.dat", L"◇垂直寸法線の設定は"},
        {L"/h", L"水平寸法線Ｂ", L"q308h.dat", L"◇水平寸法線の設定は"},
        {L"/a", L"平行寸法線Ｂ", L"q308a.dat", L"◇平行寸法線の設定は"},
        // The chains keep their single kind's settings.
        {L"/c", L"垂直直列寸法線Ｂ", L"q304.dat", L"◇垂直直列寸法線は"},
        {L"/hc", L"水平直列寸法線Ｂ", L"q308h.dat", L"◇水平直列寸法線は"},
        {L"/ac", L"平行直列寸法線Ｂ", L"q308a.dat", L"◇平行直列寸法線は"},
    };
    return kinds;
}

const KindFacts& KindOf(const std::wstring& argument)
{
    for (const KindFacts& kind : Kinds())
        if (CompareStringOrdinal(argument.c_str(), -1, kind.Argument, -1, TRUE) == CSTR_EQUAL)
            return kind;
    return Kinds().front();
}

}  // namespace wt
