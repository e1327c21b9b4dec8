#include "exchange/ReadAhead.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "exchange/LineSplitter.h"
#include "exchange/PageLending.h"
#include "exchange/Tokens.h"

namespace {

constexpr std::size_t BatchBytes = 128 * 1024;  // read at a time, one batch
constexpr std::size_t BatchesInFlight = 4;

// The lines of one read, tokenised. Tokens that lie in the bytes read stay
// views into them; the others (a line run across reads, a token that lost
// a byte from its middle) are copied into Owned, whose strings never move.
struct TokenBatch {
    enum class Ending { More, Last, Failed };

    std::unique_ptr<char[]> Bytes{new char[BatchBytes]};
    std::vector<std::string_view> Tokens;
    std::vector<int> Counts;  // tokens of each line
    std::deque<std::string> Owned;
    Ending End = Ending::More;

    void Clear()
    {
        Tokens.clear();
        Counts.clear();
        Owned.clear();
        End = Ending::More;
    }

    void Add(const TokenList& line)
    {
        Counts.push_back(line.Count);
        for (int i = 0; i < line.Count; ++i) {
            const std::string_view token = line[i];
            if (token.empty()) {
                Tokens.emplace_back();
            } else if (Inside(token)) {
                Tokens.push_back(token);
            } else {
                Owned.emplace_back(token);
                Tokens.emplace_back(Owned.back());
            }
        }
    }

private:
    bool Inside(std::string_view token) const
    {
        const uintptr_t begin = reinterpret_cast<uintptr_t>(Bytes.get());
        const uintptr_t at = reinterpret_cast<uintptr_t>(token.data());
        return at >= begin && at + token.size() <= begin + BatchBytes;
    }
};

// Batches go from the reading thread to the applying one and back again to
// be filled anew; at most BatchesInFlight exist.
class BatchQueue {
public:
    std::unique_ptr<TokenBatch> Empty()
    {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [this] { return cancelled_ || !empty_.empty() || made_ < BatchesInFlight; });
        if (cancelled_)
            return nullptr;
        if (empty_.empty()) {
            ++made_;
            lock.unlock();
            return std::make_unique<TokenBatch>();
        }
        std::unique_ptr<TokenBatch> batch = std::move(empty_.back());
        empty_.pop_back();
        return batch;
    }

    void Filled(std::unique_ptr<TokenBatch> batch)
    {
        Put(filled_, std::move(batch));
    }

    // The next batch in order; null once the reading thread failed without
    // a batch to say so in.
    std::unique_ptr<TokenBatch> NextFilled()
    {
        std::unique_lock<std::mutex> lock(mutex_);
        if (filled_.empty() && !failed_) {
            // Nothing to apply yet: better to supply the model's next pages
            // here than to wait for the reading thread to do it.
            lock.unlock();
            TouchLentPages();
            lock.lock();
        }
        changed_.wait(lock, [this] { return !filled_.empty() || failed_; });
        if (filled_.empty())
            return nullptr;
        std::unique_ptr<TokenBatch> batch = std::move(filled_.front());
        filled_.pop_front();
        return batch;
    }

    // Whether the applying thread has work in hand beyond the next batch.
    bool WellAhead()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return filled_.size() >= 2;
    }

    void Fail()
    {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            failed_ = true;
        }
        changed_.notify_all();
    }

    void Done(std::unique_ptr<TokenBatch> batch)
    {
        batch->Clear();
        Put(empty_, std::move(batch));
    }

    // The applying thread gives up: the reading thread stops at its next wait.
    void Cancel()
    {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            cancelled_ = true;
        }
        changed_.notify_all();
    }

private:
    void Put(std::deque<std::unique_ptr<TokenBatch>>& where, std::unique_ptr<TokenBatch> batch)
    {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            where.push_back(std::move(batch));
        }
        changed_.notify_all();
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::unique_ptr<TokenBatch>> filled_, empty_;
    std::size_t made_ = 0;
    bool cancelled_ = false;
    bool failed_ = false;
};

struct AddToBatch {
    TokenBatch** Batch;
    void operator()(TokenList& tokens) const { (*Batch)->Add(tokens); }
};

// The reading thread: every batch it fills is handed on in order, the last
// one with its ending, whatever happens.
void ReadBatches(platform::InputFile& file, BatchQueue& queue)
{
    std::unique_ptr<TokenBatch> batch;
    try {
        TokenBatch* current = nullptr;
        LineSplitter<AddToBatch> splitter{AddToBatch{&current}};
        for (;;) {
            batch = queue.Empty();
            if (batch == nullptr)
                return;  // cancelled
            current = batch.get();
            const long long count = splitter.Ended() ? 0 : file.Read(batch->Bytes.get(), BatchBytes);
            if (count < 0) {
                batch->End = TokenBatch::Ending::Failed;
                break;
            }
            if (count == 0) {
                splitter.Finish();
                batch->End = TokenBatch::Ending::Last;
                break;
            }
            splitter.Feed(batch->Bytes.get(), static_cast<std::size_t>(count));
            queue.Filled(std::move(batch));
            // Ahead of the lines being applied, the model's next chunks get
            // their pages here; else the applying thread takes that on.
            if (queue.WellAhead())
                TouchLentPages();
        }
    } catch (const std::exception&) {
        // No memory: the lines of this batch so far still go, then the end.
        if (batch != nullptr)
            batch->End = TokenBatch::Ending::Failed;
    }
    try {
        if (batch != nullptr) {
            queue.Filled(std::move(batch));
            return;
        }
    } catch (const std::exception&) {
    }
    queue.Fail();
}

}  // namespace

ReadAheadResult ReadAhead(platform::InputFile& file, void (*apply)(TokenList&))
{
    BatchQueue queue;
    std::thread reader;
    try {
        reader = std::thread([&] { ReadBatches(file, queue); });
    } catch (const std::exception&) {
        return ReadAheadResult::NoThread;
    }
    ReadAheadResult result = ReadAheadResult::Failed;
    try {
        TokenList tokens;
        for (;;) {
            std::unique_ptr<TokenBatch> batch = queue.NextFilled();
            if (batch == nullptr)
                break;
            std::size_t at = 0;
            for (const int count : batch->Counts) {
                // The list as the tokeniser leaves it: views beyond Count empty.
                for (int i = 0; i < count; ++i)
                    tokens.Tokens[i] = batch->Tokens[at + i];
                for (int i = count; i < tokens.Count; ++i)
                    tokens.Tokens[i] = std::string_view();
                tokens.Count = count;
                at += static_cast<std::size_t>(count);
                apply(tokens);
            }
            const TokenBatch::Ending end = batch->End;
            queue.Done(std::move(batch));
            if (end != TokenBatch::Ending::More) {
                result = end == TokenBatch::Ending::Last ? ReadAheadResult::Read : ReadAheadResult::Failed;
                break;
            }
        }
    } catch (const std::exception&) {
        // No memory to apply a line: what was applied stays.
    }
    queue.Cancel();
    reader.join();
    return result;
}
