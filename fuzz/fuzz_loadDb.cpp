// libFuzzer target: see fuzzEntry::loadDb.
#include "fuzzEntries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return fuzzEntry::loadDb(data, size);
}
