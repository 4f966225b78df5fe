// libFuzzer target: see fuzzEntry::qntText.
#include "fuzzEntries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return fuzzEntry::qntText(data, size);
}
