// What a terminal shows: no escape character, carriage return, backspace or
// other control character but tab is left, every line ends in CR LF, and no
// line is longer than the terminal's width and its break mark.
#include <cstdint>
#include <string>

#include "dialog/terminal_text.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::u16string text(size / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        text[i] = static_cast<char16_t>(data[2 * i] | data[2 * i + 1] << 8);
    }
    const std::u16string shown = tuvex::TerminalText(text);
    FUZZ_CHECK(shown.size() <= 2 * text.size() + 3 * (text.size() / tuvex::kTerminalColumns + 1));
    std::size_t lineLength = 0;
    for (std::size_t i = 0; i < shown.size(); ++i) {
        const char16_t c = shown[i];
        if (c == u'\r') {
            FUZZ_CHECK(i + 1 < shown.size() && shown[i + 1] == u'\n');
            continue;
        }
        if (c == u'\n') {
            FUZZ_CHECK(i > 0 && shown[i - 1] == u'\r');
            lineLength = 0;
            continue;
        }
        FUZZ_CHECK(c == u'\t' || (c >= 0x20 && c != 0x7F && (c < 0x80 || c > 0x9F)));
        ++lineLength;
        FUZZ_CHECK(lineLength <= 2 * tuvex::kTerminalColumns + 1);  // a character beyond the first plane takes two units
    }
    return 0;
}
