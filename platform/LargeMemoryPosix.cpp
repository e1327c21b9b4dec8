// Large tables on POSIX systems: anonymous mappings, on Linux aligned to
// and marked for transparent huge pages.
#include "platform/LargeMemory.h"

#include <sys/mman.h>

#include <cstdint>

namespace platform {

namespace {

constexpr std::size_t HugePage = std::size_t{2} << 20;

}  // namespace

void* AllocateLarge(std::size_t bytes)
{
    // Map a huge page more than asked and trim both ends, so the table
    // starts on a huge-page boundary.
    const std::size_t mapped = bytes + HugePage;
    void* raw = ::mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED)
        return nullptr;
    const auto start = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t aligned = (start + HugePage - 1) & ~(HugePage - 1);
    if (aligned > start)
        ::munmap(raw, aligned - start);
    const std::uintptr_t end = start + mapped, tableEnd = aligned + bytes;
    const std::uintptr_t pageEnd = (tableEnd + 4095) & ~std::uintptr_t{4095};
    if (end > pageEnd)
        ::munmap(reinterpret_cast<void*>(pageEnd), end - pageEnd);
#ifdef MADV_HUGEPAGE
    ::madvise(reinterpret_cast<void*>(aligned), bytes, MADV_HUGEPAGE);  // advice only: its failure changes nothing
#endif
    return reinterpret_cast<void*>(aligned);
}

void FreeLarge(void* memory, std::size_t bytes)
{
    if (memory != nullptr)
        ::munmap(memory, bytes);
}

}  // namespace platform
