// The system's message texts made fit to show, over arbitrary text: every
// insert and escape is consumed (with an empty insert nothing grows), and
// the text never ends in a line end or a blank.
#include <cstdint>
#include <string>

#include "common/failure_words.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Two bytes a unit, as FormatMessageW writes them.
    std::wstring text;
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        text += static_cast<wchar_t>(data[i] | data[i + 1] << 8);
    }
    const std::wstring tidy = tuvex::TidySystemText(text, L"");
    FUZZ_CHECK(tidy.size() <= text.size());
    FUZZ_CHECK(tidy.empty() || (tidy.back() != L'\r' && tidy.back() != L'\n' && tidy.back() != L' '));
    const std::wstring filled = tuvex::TidySystemText(text, L"C:\\x.exe");
    FUZZ_CHECK(filled.size() >= tidy.size());
    return 0;
}
