#pragma once
// Reading the exchange file on two threads: one reads the bytes, cuts them
// into lines and tokenises them, a batch of lines at a time; the calling
// thread applies the lines in their order as the batches come. The lines
// and their tokens are exactly those of reading on one thread.
#include "platform/Files.h"

struct TokenList;

enum class ReadAheadResult {
    Read,      // every line applied
    Failed,    // a read error or no memory; the lines before it are applied
    NoThread,  // no second thread to be had: nothing was read
};

// Reads the open file to its end (or its 0x1A), calling apply for every line.
ReadAheadResult ReadAhead(platform::InputFile& file, void (*apply)(TokenList&));
