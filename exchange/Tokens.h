#pragma once
// One tokenised line of the exchange file.
#include <string>

constexpr int MaxTokens = 32;

struct TokenList {
    std::string Tokens[MaxTokens];
    int Count = 0;  // tokens opened: k + 1 after the last byte

    const std::string& operator[](int i) const { return Tokens[i]; }
};

// Splits a line (without its line end) by the exchange file's rules:
// Shift-JIS pairs are never split, the first double quote or equals sign
// ends splitting for the rest of the line. Tokens past the 32nd are dropped.
void TokeniseLine(const std::string& line, TokenList& tokens);
