#include "exchange/Tokens.h"

#include <algorithm>
#include <array>
#include <cstdint>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// What each byte does while splitting is active. Once it is not, blanks,
// quotes and equals signs are kept like any other byte and a tab is dropped.
enum ByteClass : uint8_t { Kept, Lead, Separator, Quote, Equals, Dropped };

constexpr std::array<uint8_t, 256> MakeClasses()
{
    std::array<uint8_t, 256> classes{};
    for (int b = 0; b < 256; ++b) {
        if ((b >= 0x80 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFD))
            classes[b] = Lead;
        else if (b == ' ' || b == '\t')
            classes[b] = Separator;
        else if (b == '"')
            classes[b] = Quote;
        else if (b == '=')
            classes[b] = Equals;
        else if (b > 0x20 && b <= 0xFD)
            classes[b] = Kept;
        else
            classes[b] = Dropped;
    }
    return classes;
}

constexpr std::array<uint8_t, 256> Classes = MakeClasses();

// End of the run of Kept bytes that starts at i. Numbers and keywords are
// such runs; where SSE2 is at hand, sixteen bytes are looked at at a time.
std::size_t KeptRunEnd(const unsigned char* bytes, std::size_t i, std::size_t size, std::size_t readable)
{
#if defined(__SSE2__)
    const __m128i blank = _mm_set1_epi8(0x20), quote = _mm_set1_epi8('"'), equals = _mm_set1_epi8('=');
    while (i + 16 <= readable) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i));
        // Signed: bytes from 0x80 compare below the blank and leave the fast path.
        const __m128i special =
            _mm_or_si128(_mm_cmpgt_epi8(blank, v), _mm_or_si128(_mm_cmpeq_epi8(v, blank),
                                                                _mm_or_si128(_mm_cmpeq_epi8(v, quote), _mm_cmpeq_epi8(v, equals))));
        const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(special));
        if (mask != 0) {
            i += static_cast<std::size_t>(__builtin_ctz(mask));
            // Only a half-width kana among the bytes it stopped at is kept.
            if (i >= size || bytes[i] < 0xA0)
                return std::min(i, size);
            break;
        }
        i += 16;
    }
    if (i >= size)
        return size;
#else
    (void)readable;
#endif
    while (i < size && Classes[bytes[i]] == Kept)
        ++i;
    return i;
}

// The token being built: a run of the line while no byte inside it has
// been dropped, else a piece of the list's Copies.
class TokenBuilder {
public:
    TokenBuilder(std::string_view line, std::string& copies) : line_(line), copies_(copies) {}

    bool Empty() const { return size_ == 0; }

    void Append(std::size_t at, std::size_t size)
    {
        if (size_ == 0) {
            start_ = at;
            copied_ = false;
            size_ = size;
        } else if (!copied_ && start_ + size_ == at) {
            size_ += size;  // the usual case: the token runs on in the line
        } else {
            AppendAfterGap(at, size);
        }
    }

    std::string_view Take()
    {
        const std::string_view token = size_ == 0 ? std::string_view()
                                       : copied_  ? std::string_view(copies_.data() + start_, size_)
                                                  : line_.substr(start_, size_);
        size_ = 0;
        return token;
    }

private:
    [[gnu::noinline]] void AppendAfterGap(std::size_t at, std::size_t size)
    {
        if (!copied_) {
            // A byte was dropped inside the token: from here on it is a copy.
            // Copies never holds more than the line, so reserving that much
            // keeps the views already taken into it valid.
            if (copies_.capacity() < line_.size())
                copies_.reserve(line_.size());
            const std::size_t offset = copies_.size();
            copies_.append(line_.data() + start_, size_);
            start_ = offset;
            copied_ = true;
        }
        copies_.append(line_.data() + at, size);
        size_ += size;
    }

    std::string_view line_;
    std::string& copies_;
    std::size_t start_ = 0;
    std::size_t size_ = 0;
    bool copied_ = false;
};

}  // namespace

bool TokeniseBufferedLine(std::string_view line, std::size_t readable, TokenList& tokens)
{
    for (int i = 0; i < tokens.Count; ++i)
        tokens.Tokens[i] = std::string_view();
    tokens.Copies.clear();

    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(line.data());
    const std::size_t size = line.size();
    TokenBuilder token(line, tokens.Copies);
    bool carriageReturn = false;
    int k = 0;
    std::size_t i = 0;

    // While splitting is active.
    while (i < size) {
        const uint8_t c = Classes[bytes[i]];
        if (c == Kept) {
            const std::size_t end = KeptRunEnd(bytes, i + 1, size, readable);
            token.Append(i, end - i);
            i = end;
        } else if (c == Separator) {
            if (!token.Empty()) {
                if (k + 1 == MaxTokens) {
                    i = size;  // no room for a 33rd token
                    break;
                }
                tokens.Tokens[k++] = token.Take();
            }
            ++i;
        } else if (c == Lead) {
            if (i + 1 == size) {
                i = size;  // half a character: dropped
                break;
            }
            carriageReturn |= bytes[i + 1] == '\r';
            token.Append(i, 2);
            i += 2;
        } else if (c == Quote) {
            ++i;  // the quote itself is dropped
            break;
        } else if (c == Equals) {
            token.Append(i, 1);
            ++i;
            break;
        } else {
            carriageReturn |= bytes[i] == '\r';
            ++i;
        }
    }

    // Splitting ended by a quote or an equals sign: every byte from 0x20 to
    // 0xFD is kept, pairs are still never split.
    while (i < size) {
        const unsigned char b = bytes[i];
        if (Classes[b] == Lead) {
            if (i + 1 == size)
                break;
            carriageReturn |= bytes[i + 1] == '\r';
            token.Append(i, 2);
            i += 2;
        } else if (b >= 0x20 && b <= 0xFD) {
            std::size_t end = i + 1;
            while (end < size && bytes[end] >= 0x20 && Classes[bytes[end]] != Lead && bytes[end] <= 0xFD)
                ++end;
            token.Append(i, end - i);
            i = end;
        } else {
            carriageReturn |= b == '\r';
            ++i;
        }
    }
    tokens.Tokens[k] = token.Take();
    tokens.Count = k + 1;
    // Where tokenising stopped early, the bytes left make no difference.
    return carriageReturn;
}

void TokeniseLine(std::string_view line, TokenList& tokens)
{
    TokeniseBufferedLine(line, line.size(), tokens);
}
