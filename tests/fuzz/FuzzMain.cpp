// libFuzzer's entry, one program per target (TARN_FUZZ_ONE names the target).
#include "FuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) { return TARN_FUZZ_ONE(data, size); }
