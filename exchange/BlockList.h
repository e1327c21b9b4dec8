#pragma once
// A growable list kept in fixed blocks of 1000 records. Appending never
// moves what is already stored, so reading a drawing of any size stays
// linear, and the capacity runs 1000, 2000, 3000... as records arrive.
// Records are made as they are appended, so a block costs nothing beyond
// its memory until it is used, and each record is written once.
#include <algorithm>
#include <cstddef>
#include <memory>
#include <new>
#include <utility>
#include <vector>

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
        if (count_ % BlockSize == 0 && count_ / BlockSize == blocks_.size()) {
            blocks_.reserve(blocks_.size() + 1);
            // Raw memory from the array allocator; the records are made here.
            blocks_.push_back(static_cast<T*>(::operator new[](BlockSize * sizeof(T))));
        }
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
            ::operator delete[](blocks_[b]);
        }
        std::vector<T*>().swap(blocks_);
        count_ = 0;
    }

private:
    static_assert(alignof(T) <= __STDCPP_DEFAULT_NEW_ALIGNMENT__);

    void TakeFrom(BlockList& other) noexcept
    {
        blocks_ = std::move(other.blocks_);
        other.blocks_.clear();
        count_ = std::exchange(other.count_, 0);
    }

    std::vector<T*> blocks_;
    std::size_t count_ = 0;
};
