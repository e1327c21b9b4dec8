#pragma once
// Cuts the exchange file's bytes into lines (file and line-end in the
// grammar at the head of ExchangeReader.cpp) and tokenises each. Each
// tokenised line goes to the sink, a callable taking TokenList&; the views
// in it stay valid until the sink returns.
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

#include "exchange/Tokens.h"

// A line or a token copy longer than this gives its memory back afterwards.
constexpr std::size_t LongLine = 64 * 1024;

// Cuts a byte stream into lines. Lines may run across chunks and be of any
// length; the work is linear in the bytes fed.
template <typename Sink>
class LineSplitter {
public:
    explicit LineSplitter(Sink sink) : sink_(sink) {}

    bool Ended() const { return ended_; }

    void Feed(const char* data, std::size_t size)
    {
        if (ended_)
            return;
        if (const void* eof = std::memchr(data, 0x1A, size)) {
            size = static_cast<std::size_t>(static_cast<const char*>(eof) - data);
            ended_ = true;
        }
        const char* p = data;
        const char* end = data + size;
        fed_ = end;
        while (p < end) {
            const char* lf = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
            if (lf == nullptr) {
                AppendWithoutCr(p, end);
                break;
            }
            CompleteLine(p, lf);
            p = lf + 1;
        }
        if (ended_)
            Finish();
    }

    // The last line needs no line end.
    void Finish()
    {
        if (!pending_.empty())
            Take(pending_);
        Release();
    }

private:
    void CompleteLine(const char* begin, const char* end)
    {
        if (pending_.empty()) {
            // The usual case: the whole line lies in this chunk and its only
            // CR is the one of CR LF, so it is tokenised where it lies. The
            // tokeniser tells of any other CR: then the line is split as the
            // file's rules say, without its CRs, and tokenised again.
            std::string_view line(begin, static_cast<std::size_t>(end - begin));
            if (!line.empty() && line.back() == '\r')
                line.remove_suffix(1);
            if (!TokeniseBufferedLine(line, static_cast<std::size_t>(fed_ - begin), tokens_)) {
                sink_(tokens_);
                ReleaseCopies();
                return;
            }
        }
        AppendWithoutCr(begin, end);
        Take(pending_);
        if (pending_.capacity() > LongLine)
            Release();  // don't hold on to a megabyte line
        else
            pending_.clear();
    }

    void AppendWithoutCr(const char* p, const char* end)
    {
        while (p < end) {
            const char* cr = static_cast<const char*>(std::memchr(p, '\r', static_cast<std::size_t>(end - p)));
            const char* stop = cr != nullptr ? cr : end;
            pending_.append(p, static_cast<std::size_t>(stop - p));
            p = cr != nullptr ? cr + 1 : end;
        }
    }

    void Take(const std::string& line)
    {
        TokeniseLine(line, tokens_);
        sink_(tokens_);
        ReleaseCopies();
    }

    // Don't hold on to a megabyte line.
    void Release() { std::string().swap(pending_); }
    void ReleaseCopies()
    {
        if (tokens_.Copies.capacity() > LongLine)
            std::string().swap(tokens_.Copies);
    }

    Sink sink_;
    std::string pending_;
    TokenList tokens_;
    const char* fed_ = nullptr;  // end of the bytes being fed
    bool ended_ = false;
};
