#pragma once
#include <string>

// Reads the whole exchange file at path (UTF-8 path) into DrawingState.
// False when the file is missing or cannot be read to its end.
bool ReadExchangeFile(const std::string& path);

// Tokenises one line (without its line end) and applies it to DrawingState.
void ParseExchangeLine(const std::string& line);
