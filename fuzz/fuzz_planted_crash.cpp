// A target that crashes on one marker input and on nothing else: the test of
// tools/fuzz.sh plants that input to see the script fail on a crash.
#include <cstdint>
#include <cstring>

#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const char marker[] = "tuvex planted crash";
    FUZZ_CHECK(!(size == sizeof marker - 1 && std::memcmp(data, marker, size) == 0));
    return 0;
}
