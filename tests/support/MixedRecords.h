#pragma once
// Exchange files in the host's manner, as large as asked, for the reader's
// benchmarks and its golden tests: the usual header, four picked points,
// then count element records, CR LF. Half of them are plain lines of four
// numbers with ten decimals; the rest, in turn, Japanese "ch" texts, "pl"
// polyline starts, "ci" circles, four-point "sl" solids and "pt" points.
// The same count gives the same bytes on every machine and compiler: the
// numbers come from a fixed integer sequence and the Shift-JIS text is
// spelled out in bytes.
#include <cstdint>
#include <string>

namespace records {

class NumberSource {
public:
    explicit NumberSource(uint64_t seed) : state_(seed) {}

    // splitmix64: fixed by its definition, unlike the standard distributions.
    uint64_t Next()
    {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // A coordinate such as "-1234.5678901234": up to four integral digits
    // and always ten decimals.
    void AppendCoordinate(std::string& out)
    {
        const uint64_t r = Next();
        if (r & 1)
            out += '-';
        out += std::to_string((r >> 1) % 10000);
        out += '.';
        const std::string fraction = std::to_string((r >> 15) % 10000000000ull);
        out.append(10 - fraction.size(), '0');
        out += fraction;
    }

private:
    uint64_t state_;
};

inline std::string MixedExchangeFile(long count)
{
    // "寸法テキスト" in Shift-JIS.
    static constexpr const char* Text = "\x90\xa1\x96\x40\x83\x65\x83\x4c\x83\x58\x83\x67";
    std::string bytes =
        "hq\r\nhk 0\r\nhs 100 100 100 100 100 100 100 100 100 100 100 100 100 100 100 100\r\n"
        "hcw 2 2.5 3 3.5 4 5 6 7 8 5\r\nhch 2 2.5 3 3.5 4 5 6 7 8 2.5\r\n"
        "hcd 0 0 0.5 0.5 0.5 1 1 1 1 0.5\r\n"
        "hcc      1      1      2      2      3      3      4      5      6      2\r\nhn 0 0 0 0\r\n"
        "hp1-  -28417.3362508124 -15530.9281744203\r\nhp2   -9936.71940358122 -13278.0465216877\r\n"
        "hp3-  -8125.58137066391 -11092.6604832819\r\nhp4   -12488.0173392285 24917.3306114752\r\n"
        "lg4\r\nly9\r\nlc3\r\nlt1\r\ncn4\r\ncn\"$<\x82\x6c\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4e>\r\n";
    bytes.reserve(static_cast<std::size_t>(count) * 64 + bytes.size());
    NumberSource numbers(static_cast<uint64_t>(count));
    auto coordinates = [&](int n) {
        for (int i = 0; i < n; ++i) {
            bytes += ' ';
            numbers.AppendCoordinate(bytes);
        }
    };
    for (long i = 0; i < count; ++i) {
        switch (i % 10) {
        case 5:
            bytes += "ch";
            coordinates(2);
            bytes += " 1 0 \"";
            bytes += Text;
            bytes += std::to_string(i);
            break;
        case 6:
            bytes += "pl";
            break;
        case 7:
            bytes += "ci";
            coordinates(3);
            break;
        case 8:
            bytes += "sl";
            coordinates(8);
            break;
        case 9:
            bytes += "pt";
            coordinates(2);
            break;
        default:
            numbers.AppendCoordinate(bytes);
            coordinates(3);
            break;
        }
        bytes += "\r\n";
    }
    return bytes;
}

}  // namespace records
