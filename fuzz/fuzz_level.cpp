#include "fuzz_inputs.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    veltrane::fuzz::fuzzLevel({data, size});
    return 0;
}
