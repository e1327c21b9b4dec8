// On Windows pages are mapped as they are first written: nothing is lent
// ahead, and no thread is started for it.
#include "platform/PagePrefetch.h"

namespace platform {

PrefetchTicket PrefetchPages(void*, std::size_t) { return 0; }

void TakePages(PrefetchTicket) {}

void WaitForPrefetches() {}

}  // namespace platform
