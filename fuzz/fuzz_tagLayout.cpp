// libFuzzer target: see fuzzEntry::tagLayout.
#include "fuzzEntries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return fuzzEntry::tagLayout(data, size);
}
