// libFuzzer entry point: see fuzz_checks.h for what must hold.

#include "fuzz_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tarvenol::fuzz::CheckPointsTable(data, size);
  return 0;
}
