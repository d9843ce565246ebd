// Shortened error output: the text shown, with its omission line, is judged
// by the message dialog as the kind it is written in, and is never much
// longer than the bytes kept.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "common/messages.h"
#include "common/unicode_text.h"
#include "exec/error_capture.h"
#include "fuzz_check.h"

// The first byte gives the filter's kind and the first part's length in
// UTF-16 units; the rest of the input is the output, kept in a capture of
// that first part and a last part of up to 64 bytes.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2) {
        return 0;
    }
    const auto filterKind = static_cast<tuvex::TextKind>(data[0] % 3);
    const std::string output(reinterpret_cast<const char*>(data) + 1, size - 1);
    tuvex::ErrorCapture capture({2 * std::size_t(data[0] / 3), 64});
    std::memcpy(capture.Extend(output.size()), output.data(), output.size());
    capture.Commit(output.size());
    const std::string shown = tuvex::ErrorTextToShow(capture, filterKind);
    FUZZ_CHECK(shown.size() <= output.size() + 200);
    if (capture.omittedBytes() == 0) {
        FUZZ_CHECK(shown == output);
        return 0;
    }
    // The omission line reads in the kind that the dialog finds.
    switch (tuvex::JudgeTextKind(shown, filterKind)) {
    case tuvex::TextKind::Multibyte:
        FUZZ_CHECK(shown.find(tuvex::messages::kOmittedBytesBefore) != std::string::npos);
        break;
    case tuvex::TextKind::Utf8:
        FUZZ_CHECK(shown.find(tuvex::messages::kOmittedBytesBeforeUtf8) != std::string::npos);
        break;
    case tuvex::TextKind::Utf16: {
        const std::u16string_view before = tuvex::messages::kOmittedBytesBeforeUtf16;
        FUZZ_CHECK(shown.find(std::string(reinterpret_cast<const char*>(before.data()), 2 * before.size())) % 2 == 0);
        break;
    }
    }
    return 0;
}
