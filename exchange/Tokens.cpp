#include "exchange/Tokens.h"

#include "helpers/SjisText.h"

void TokeniseLine(std::string_view line, TokenList& tokens)
{
    for (std::string& token : tokens.Tokens)
        token.clear();

    int k = 0;
    bool splitActive = true;
    const std::size_t size = line.size();
    for (std::size_t i = 0; i < size; ++i) {
        const unsigned char b = static_cast<unsigned char>(line[i]);
        if (IsLeadByte(b)) {
            if (i + 1 == size)
                break;  // half a character: dropped
            tokens.Tokens[k].append(line.data() + i, 2);
            ++i;
        } else if (b == '"' && splitActive) {
            splitActive = false;
        } else if (b == '=' && splitActive) {
            tokens.Tokens[k].push_back('=');
            splitActive = false;
        } else if ((b == ' ' || b == '\t') && splitActive) {
            if (!tokens.Tokens[k].empty()) {
                if (k + 1 == MaxTokens)
                    break;  // no room for a 33rd token
                ++k;
            }
        } else if (b >= 0x20 && b <= 0xFD) {
            tokens.Tokens[k].push_back(static_cast<char>(b));
        }
        // Control bytes, tabs inside quoted text, 0xFE and 0xFF are dropped.
    }
    tokens.Count = k + 1;
}
