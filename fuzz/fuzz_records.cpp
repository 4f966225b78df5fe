// libFuzzer target: see fuzzEntry::records.
#include "fuzzEntries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return fuzzEntry::records(data, size);
}
