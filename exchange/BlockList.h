#pragma once
// A growable list kept in fixed blocks of 1000 records. Appending never
// moves what is already stored, so reading a drawing of any size stays
// linear, and the capacity runs 1000, 2000, 3000... as records arrive.
#include <cstddef>
#include <memory>
#include <vector>

template <typename T>
class BlockList {
public:
    static constexpr std::size_t BlockSize = 1000;

    std::size_t Count() const { return count_; }
    std::size_t Capacity() const { return blocks_.size() * BlockSize; }

    // Appends a value-initialised record and returns it for filling in.
    T& Append()
    {
        if (count_ % BlockSize == 0 && count_ / BlockSize == blocks_.size())
            blocks_.push_back(std::make_unique<T[]>(BlockSize));
        T& record = blocks_[count_ / BlockSize][count_ % BlockSize];
        ++count_;
        return record;
    }

    T& operator[](std::size_t i) { return blocks_[i / BlockSize][i % BlockSize]; }
    const T& operator[](std::size_t i) const { return blocks_[i / BlockSize][i % BlockSize]; }

    // Empties the list and releases its storage; harmless on an empty list.
    void Release()
    {
        blocks_.clear();
        blocks_.shrink_to_fit();
        count_ = 0;
    }

private:
    std::vector<std::unique_ptr<T[]>> blocks_;
    std::size_t count_ = 0;
};
