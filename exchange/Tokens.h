#pragma once
// One tokenised line of the exchange file.
#include <string>
#include <string_view>

constexpr int MaxTokens = 32;

struct TokenList {
    // Views into the line, or into Copies for a token that lost a byte from
    // its middle (a dropped control byte or quote). They stay valid while
    // the line lives and until the next TokeniseLine on this list.
    std::string_view Tokens[MaxTokens];
    int Count = 0;  // tokens opened: k + 1 after the last byte, at most 32
    std::string Copies;

    const std::string_view& operator[](int i) const { return Tokens[i]; }
};

// Splits a line (without its line end) by the exchange file's rules:
// Shift-JIS pairs are never split, the first double quote or equals sign
// ends splitting for the rest of the line, blanks and tabs separate tokens
// before that, control bytes and 0xFE/0xFF are dropped, and a lead byte
// that ends the line ends tokenising. A line holds at most 32 tokens: the
// separator that would open a 33rd ends tokenising, so everything from
// there on is dropped and Count stays 32.
void TokeniseLine(std::string_view line, TokenList& tokens);

// The same for a line inside a buffer that may be read for `readable`
// bytes from the line's start (readable >= line.size()), so that the scan
// can look ahead in blocks. True when the line held a CR, which the
// exchange file's line splitting would have removed first.
bool TokeniseBufferedLine(std::string_view line, std::size_t readable, TokenList& tokens);
