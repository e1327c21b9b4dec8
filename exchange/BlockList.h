#pragma once
// A growable list kept in fixed blocks of 1000 records. Appending never
// moves what is already stored, so reading a drawing of any size stays
// linear, and the capacity runs 1000, 2000, 3000... as records arrive.
// Records are made as they are appended, so a block costs nothing beyond
// its memory until it is used, and each record is written once.
//
// Blocks are carved from chunks of 1, 1, 2 and then 4 blocks. From the
// third chunk on a list is a long one: the chunk after the one being filled
// is taken at once and lent (PageLending.h), so that a helper thread may
// have its pages supplied meanwhile and appending seldom waits for the OS.
#include <algorithm>
#include <cstddef>
#include <memory>
#include <new>
#include <utility>
#include <vector>

#include "exchange/PageLending.h"

template <typename T>
class BlockList {
public:
    static constexpr std::size_t BlockSize = 1000;

    BlockList() = default;
    BlockList(const BlockList&) = delete;
    BlockList& operator=(const BlockList&) = delete;
    BlockList(BlockList&& other) noexcept { TakeFrom(other); }
    BlockList& operator=(BlockList&& other) noexcept
    {
        if (this != &other) {
            Release();
            TakeFrom(other);
        }
        return *this;
    }
    ~BlockList() { Release(); }

    std::size_t Count() const { return count_; }
    std::size_t Capacity() const { return blocks_.size() * BlockSize; }

    // Appends a value-initialised record and returns it for filling in.
    T& Append()
    {
        if (count_ % BlockSize == 0 && count_ / BlockSize == blocks_.size())
            AddBlock();
        T* record = ::new (static_cast<void*>(blocks_[count_ / BlockSize] + count_ % BlockSize)) T();
        ++count_;
        return *record;
    }

    T& operator[](std::size_t i) { return blocks_[i / BlockSize][i % BlockSize]; }
    const T& operator[](std::size_t i) const { return blocks_[i / BlockSize][i % BlockSize]; }

    // Empties the list and releases its storage; harmless on an empty list.
    void Release() noexcept
    {
        for (std::size_t b = 0; b < blocks_.size(); ++b)
            std::destroy_n(blocks_[b], std::min(BlockSize, count_ - std::min(count_, b * BlockSize)));
        for (T* chunk : chunks_)
            ::operator delete[](chunk);
        TakePages(std::exchange(spareTicket_, 0));
        ::operator delete[](spare_);
        std::vector<T*>().swap(blocks_);
        std::vector<T*>().swap(chunks_);
        spare_ = free_ = chunkEnd_ = nullptr;
        count_ = 0;
    }

private:
    static_assert(alignof(T) <= __STDCPP_DEFAULT_NEW_ALIGNMENT__);

    // Blocks in the chunk after `chunks` chunks.
    static std::size_t ChunkBlocks(std::size_t chunks)
    {
        return chunks < 2 ? 1 : std::min<std::size_t>(std::size_t{1} << (chunks - 1), 4);
    }

    void AddBlock()
    {
        blocks_.reserve(blocks_.size() + 1);
        if (free_ == chunkEnd_)
            AddChunk();
        blocks_.push_back(free_);
        free_ += BlockSize;
    }

    void AddChunk()
    {
        chunks_.reserve(chunks_.size() + 1);
        const std::size_t blocks = ChunkBlocks(chunks_.size());
        // Raw memory from the array allocator; the records are made in Append.
        TakePages(std::exchange(spareTicket_, 0));
        T* chunk = spare_ != nullptr ? std::exchange(spare_, nullptr)
                                     : static_cast<T*>(::operator new[](blocks * BlockSize * sizeof(T)));
        chunks_.push_back(chunk);
        free_ = chunk;
        chunkEnd_ = chunk + blocks * BlockSize;
        if (chunks_.size() >= 3) {
            // The spare is only a head start: without memory for it the
            // next chunk is asked for when it is needed.
            const std::size_t bytes = ChunkBlocks(chunks_.size()) * BlockSize * sizeof(T);
            spare_ = static_cast<T*>(::operator new[](bytes, std::nothrow));
            if (spare_ != nullptr)
                spareTicket_ = LendPages(spare_, bytes);
        }
    }

    void TakeFrom(BlockList& other) noexcept
    {
        blocks_ = std::move(other.blocks_);
        chunks_ = std::move(other.chunks_);
        other.blocks_.clear();
        other.chunks_.clear();
        count_ = std::exchange(other.count_, 0);
        spare_ = std::exchange(other.spare_, nullptr);
        free_ = std::exchange(other.free_, nullptr);
        chunkEnd_ = std::exchange(other.chunkEnd_, nullptr);
        spareTicket_ = std::exchange(other.spareTicket_, 0);
    }

    std::vector<T*> blocks_;  // in use, in order
    std::vector<T*> chunks_;  // the memory they lie in
    std::size_t count_ = 0;
    T* free_ = nullptr;      // the next unused block of the last chunk
    T* chunkEnd_ = nullptr;  // the end of the last chunk
    T* spare_ = nullptr;     // the next chunk, taken ahead
    LendingTicket spareTicket_ = 0;  // while it is lent
};
