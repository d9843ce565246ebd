// Text-kind detection: the verdict follows the first rule that decides, for
// any bytes and any answer of the multibyte count. UTF-8 only for
// well-formed UTF-8; otherwise odd lengths and CR LF before any zero byte are
// always multibyte.
#include <cstdint>
#include <optional>
#include <string>

#include "common/unicode_text.h"
#include "dialog/message_dialog.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // A message buffer always ends in its terminator.
    std::string buffer(reinterpret_cast<const char*>(data), size);
    buffer.push_back('\0');
    const tuvex::TextKind kind = tuvex::DetectTextKind(buffer.data(), buffer.size(), &CountUnlessFF);
    const std::string text = buffer.substr(0, buffer.find('\0'));
    if (kind == tuvex::TextKind::Utf8) {
        FUZZ_CHECK(tuvex::IsValidUtf8(text));
        return 0;
    }
    const bool utf16 = kind == tuvex::TextKind::Utf16;
    if (buffer.size() % 2 != 0) {
        FUZZ_CHECK(!utf16);
        return 0;
    }
    for (std::size_t i = 0; i + 2 < buffer.size(); ++i) {
        if (buffer[i] == '\0') {
            FUZZ_CHECK(utf16);
            break;
        }
        if (buffer[i] == '\r' && buffer[i + 1] == '\n') {
            FUZZ_CHECK(!utf16);
            break;
        }
    }
    const std::size_t units = tuvex::Utf16TextUnits(buffer.data(), buffer.size());
    FUZZ_CHECK(units <= buffer.size() / 2);
    return 0;
}
