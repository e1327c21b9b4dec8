#pragma once
// Memory for large tables that are filled as soon as they are made. Where
// the system offers large pages it asks for them, so that filling tens of
// megabytes costs tens of page faults rather than tens of thousands.
#include <cstddef>

namespace platform {

// At least bytes of zeroed memory, aligned for any type; nullptr when there
// is none to be had.
void* AllocateLarge(std::size_t bytes);
// Gives back what AllocateLarge returned, with the same size.
void FreeLarge(void* memory, std::size_t bytes);

}  // namespace platform
