#pragma once
// Mapping memory's pages ahead of their first use. Storage that grows by
// large chunks hands the chunk it will fill next to PrefetchPages; another
// thread writes to each of its pages, so the OS supplies them there while
// the current chunk fills, and the filling thread does not stop at every
// new page.
#include <cstddef>

namespace platform {

using PrefetchTicket = unsigned long long;

// Lends [begin, begin + size) to the prefetching thread, which may set any
// of its bytes to zero; returns at once. The range must not be read or
// written until TakePages for the ticket returns. Ticket 0 means nothing
// was lent: where there is no second processor, or no thread to be had.
PrefetchTicket PrefetchPages(void* begin, std::size_t size);

// Takes the range back, unfinished or not: once this returns, the thread
// touches it no more. Harmless on ticket 0 and on a range already done.
void TakePages(PrefetchTicket ticket);

// Returns when every range lent so far is done or taken back.
void WaitForPrefetches();

}  // namespace platform
