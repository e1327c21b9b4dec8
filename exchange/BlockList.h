#pragma once
// A growable list kept in fixed blocks of 1000 records. Appending never
// moves what is already stored, so reading a drawing of any size stays
// linear, and the capacity runs 1000, 2000, 3000... as records arrive.
//
// The first blocks come from the ordinary heap. A list that grows beyond
// them takes its further blocks from slabs of a few megabytes in large
// pages, where the system has them: a drawing of a million records then
// costs a few dozen page faults instead of twenty thousand, and releasing
// the list gives back whole slabs.
#include <algorithm>
#include <cstddef>
#include <memory>
#include <new>
#include <utility>
#include <vector>

#include "platform/LargeMemory.h"

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
    // Records are made as they are appended, so a block costs nothing
    // beyond its memory until it is used.
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
        for (std::size_t b = 0; b < blocks_.size(); ++b) {
            std::destroy_n(blocks_[b], std::min(BlockSize, count_ - std::min(count_, b * BlockSize)));
            if (b < HeapBlocks)
                ::operator delete[](blocks_[b]);
        }
        std::vector<T*>().swap(blocks_);
        for (const Slab& slab : slabs_)
            platform::FreeLarge(slab.Memory, slab.Bytes);
        std::vector<Slab>().swap(slabs_);
        slabNext_ = nullptr;
        slabBlocksLeft_ = 0;
        count_ = 0;
    }

private:
    static constexpr std::size_t HeapBlocks = 8;
    static constexpr std::size_t SlabBytes = std::size_t{4} << 20;
    static constexpr std::size_t BlocksPerSlab = std::max<std::size_t>(1, SlabBytes / (BlockSize * sizeof(T)));

    static_assert(alignof(T) <= __STDCPP_DEFAULT_NEW_ALIGNMENT__);

    struct Slab {
        void* Memory;
        std::size_t Bytes;
    };

    void AddBlock()
    {
        blocks_.reserve(blocks_.size() + 1);
        if (blocks_.size() < HeapBlocks) {
            // Raw memory from the array allocator: records are made in Append.
            blocks_.push_back(static_cast<T*>(::operator new[](BlockSize * sizeof(T))));
            return;
        }
        if (slabBlocksLeft_ == 0) {
            slabs_.reserve(slabs_.size() + 1);
            const std::size_t bytes = BlocksPerSlab * BlockSize * sizeof(T);
            void* memory = platform::AllocateLarge(bytes);
            if (memory == nullptr)
                throw std::bad_alloc();
            slabs_.push_back({memory, bytes});
            slabNext_ = static_cast<T*>(memory);
            slabBlocksLeft_ = BlocksPerSlab;
        }
        blocks_.push_back(slabNext_);
        slabNext_ += BlockSize;
        --slabBlocksLeft_;
    }

    void TakeFrom(BlockList& other) noexcept
    {
        blocks_ = std::move(other.blocks_);
        slabs_ = std::move(other.slabs_);
        slabNext_ = std::exchange(other.slabNext_, nullptr);
        slabBlocksLeft_ = std::exchange(other.slabBlocksLeft_, 0);
        count_ = std::exchange(other.count_, 0);
        other.blocks_.clear();
        other.slabs_.clear();
    }

    std::vector<T*> blocks_;
    std::vector<Slab> slabs_;
    T* slabNext_ = nullptr;
    std::size_t slabBlocksLeft_ = 0;
    std::size_t count_ = 0;
};
