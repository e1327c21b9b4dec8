#pragma once
// The ordered stored lines of the output, each at most 255 bytes, and the
// writer that turns them into the exchange file the host reads back.
#include <string>
#include <string_view>

#include "exchange/BlockList.h"
#include "platform/Files.h"

constexpr std::size_t MaxStoredLineBytes = 255;

struct OutputStoreRecord {
    BlockList<std::string> Lines;
};

extern OutputStoreRecord OutputStore;

// Appends one stored line, cut at 255 bytes (even inside a double-byte pair).
void AppendOutputLine(std::string_view line);

// Replaces the file at path (UTF-8 path) with the stored lines: CR LF line
// ends, a line ending in a double quote joined with the next, "hq" for an
// empty store. On any I/O error no file is left behind and false returned.
bool WriteExchangeFile(const std::string& path);

// For a caller that may try again: the same write, but on failure the file
// at path is left as it was and error says why.
bool TryWriteExchangeFile(const std::string& path, platform::FileError& error);
// Giving up after TryWriteExchangeFile failed: what WriteExchangeFile does
// on failure.
void DiscardExchangeFile(const std::string& path);

// The exact bytes WriteExchangeFile writes.
std::string RenderExchangeFile();
