// libFuzzer target: see fuzzEntry::artListXml.
#include "fuzzEntries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return fuzzEntry::artListXml(data, size);
}
