// libFuzzer target: see fuzzEntry::settings.
#include "fuzzEntries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return fuzzEntry::settings(data, size);
}
