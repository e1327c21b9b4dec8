// Large tables on Windows: committed virtual memory, zeroed by the system.
// Large pages there need a privilege users do not have.
#include "platform/LargeMemory.h"

#include <windows.h>

namespace platform {

void* AllocateLarge(std::size_t bytes)
{
    return ::VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
}

void FreeLarge(void* memory, std::size_t /*bytes*/)
{
    if (memory != nullptr)
        ::VirtualFree(memory, 0, MEM_RELEASE);
}

}  // namespace platform
