#pragma once
// What each fuzz target does with one input. Shared by the libFuzzer targets
// and by the regression test that replays every input they ever crashed on.

#include <cstddef>
#include <cstdint>

namespace fuzzEntry {
// Each returns 0; a fault shows as a crash, a sanitizer report or an abort.
int loadDb(const uint8_t* data, size_t size);
int commaList(const uint8_t* data, size_t size);
int qntText(const uint8_t* data, size_t size);
int settings(const uint8_t* data, size_t size);
int artListXml(const uint8_t* data, size_t size);
int records(const uint8_t* data, size_t size);
int tagLayout(const uint8_t* data, size_t size);
} // namespace fuzzEntry
