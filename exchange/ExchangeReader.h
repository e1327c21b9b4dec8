#pragma once
#include <cstddef>
#include <string>

enum class ReaderThreads {
    Machine,  // two for a file of a megabyte or more on a machine with a second processor
    One,
    Two,      // one reads and tokenises ahead, the caller applies the lines
};

// Reads the whole exchange file at path (UTF-8 path) into DrawingState.
// False when the file is missing or cannot be read to its end. The model
// is the same however many threads read it.
bool ReadExchangeFile(const std::string& path, ReaderThreads threads = ReaderThreads::Machine);

// Splits a byte buffer into lines exactly as ReadExchangeFile splits the
// file and applies each; false when memory ran out on the way (the lines
// before that stay applied).
bool ParseExchangeBytes(const char* data, std::size_t size);

// Tokenises one line (without its line end) and applies it to DrawingState.
void ParseExchangeLine(const std::string& line);
