#pragma once
// Memory lent ahead of its use, so that a thread with time to spare has the
// OS supply its pages. Storage that grows by large chunks lends the chunk it
// will fill next; a helper thread (the one that reads the exchange file
// ahead) calls TouchLentPages between its own work and writes to each page
// of what was lent, so the page faults are served on its processor while
// the current chunk fills, and the filling thread does not stop at every
// new page. Where nobody touches, a lent range is simply taken back as it was.
#include <cstddef>

using LendingTicket = unsigned long long;

// Lends [begin, begin + size); any of its bytes may be set to zero until
// TakePages for the ticket returns, and it must not be used before that.
LendingTicket LendPages(void* begin, std::size_t size);

// Takes the range back, touched, half touched or not at all: once this
// returns, no thread writes to it any more. Harmless on ticket 0 and on a
// range already taken back.
void TakePages(LendingTicket ticket);

// Writes to the pages of every range lent and not yet taken back, oldest
// first, until none is left.
void TouchLentPages();
