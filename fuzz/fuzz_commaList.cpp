// libFuzzer target: see fuzzEntry::commaList.
#include "fuzzEntries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return fuzzEntry::commaList(data, size);
}
