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

#if defined(__SSE2__)
// The usual line, at most 64 bytes with 64 readable, of bytes kept as they
// are and blanks or tabs only: its tokens are the runs between the blanks,
// found from bit masks of the whole line at once. False, with nothing
// done, for any other line (a quote, an equals sign, a control byte, a
// byte from 0x80, more than 31 tokens), which the byte by byte scan takes.
bool SplitPlainLine(std::string_view line, std::size_t readable, TokenList& tokens)
{
    const std::size_t size = line.size();
    if (size > 64 || readable < 64)
        return false;
    const __m128i blank = _mm_set1_epi8(0x20), tab = _mm_set1_epi8('\t'), quote = _mm_set1_epi8('"'),
                  equals = _mm_set1_epi8('=');
    uint64_t separators = 0, other = 0;
    for (int part = 0; part < 4; ++part) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(line.data() + 16 * part));
        const __m128i separator = _mm_or_si128(_mm_cmpeq_epi8(v, blank), _mm_cmpeq_epi8(v, tab));
        // Signed: bytes from 0x80 compare below the blank.
        const __m128i odd = _mm_or_si128(_mm_cmplt_epi8(v, blank), _mm_or_si128(_mm_cmpeq_epi8(v, quote), _mm_cmpeq_epi8(v, equals)));
        separators |= static_cast<uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(separator))) << (16 * part);
        other |= static_cast<uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(odd))) << (16 * part);
    }
    const uint64_t inLine = size == 64 ? ~uint64_t{0} : (uint64_t{1} << size) - 1;
    if ((other & ~separators & inLine) != 0)
        return false;
    const uint64_t kept = ~separators & inLine;
    uint64_t starts = kept & ~(kept << 1);
    uint64_t lasts = kept & ~(kept >> 1);  // the last byte of each run
    const int count = __builtin_popcountll(starts);
    if (count > MaxTokens - 1)
        return false;

    for (int i = 0; i < tokens.Count; ++i)
        tokens.Tokens[i] = std::string_view();
    tokens.Copies.clear();
    int k = 0;
    for (; starts != 0; starts &= starts - 1, lasts &= lasts - 1) {
        const int first = __builtin_ctzll(starts), last = __builtin_ctzll(lasts);
        tokens.Tokens[k++] = line.substr(static_cast<std::size_t>(first), static_cast<std::size_t>(last - first + 1));
    }
    // After a last separator an empty token is open, as with any scan.
    const bool endsInToken = size > 0 && ((kept >> (size - 1)) & 1) != 0;
    tokens.Count = endsInToken ? k : k + 1;
    return true;
}
#endif

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
#if defined(__SSE2__)
    if (SplitPlainLine(line, readable, tokens))
        return false;
#endif
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
