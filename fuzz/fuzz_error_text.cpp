// Shortened error output: the text with the omission line reads as the same
// kind of text to the message dialog as the kept bytes did, for either
// terminator, and is never much longer than they are.
#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>

#include "dialog/message_dialog.h"
#include "exec/error_capture.h"
#include "fuzz_check.h"

namespace {

tuvex::TextKind KindOf(std::string text, std::size_t terminatorBytes)
{
    text.append(terminatorBytes, '\0');
    return tuvex::DetectTextKind(text.data(), text.size(), &CountUnlessFF);
}

}  // namespace

// The first byte gives the first part's length in UTF-16 units (the capture
// keeps an even count); the rest of the input is split there.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) {
        return 0;
    }
    const std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::size_t firstSize = std::min<std::size_t>(2 * data[0], input.size() & ~std::size_t(1));
    const std::string first = input.substr(0, firstSize);
    const std::string last = input.substr(firstSize);
    for (std::size_t terminatorBytes : {1u, 2u}) {
        const tuvex::TextKind kind = KindOf(first + last, terminatorBytes);
        const std::string shortened = tuvex::ShortenedErrorText(first, last, 2 * size, kind);
        FUZZ_CHECK(KindOf(shortened, terminatorBytes) == kind);
        FUZZ_CHECK(shortened.size() <= input.size() + 200);
    }
    return 0;
}
