// Text-kind judgement: for any bytes and any filter kind, the kind judged is
// the cheapest reading, never one that cannot be; ASCII bytes are always
// code page 932 text.
#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>

#include "common/unicode_text.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) {
        return 0;
    }
    const auto filterKind = static_cast<tuvex::TextKind>(data[0] % 3);
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    const tuvex::TextKind kind = tuvex::JudgeTextKind(text, filterKind);
    if (std::all_of(text.begin(), text.end(), [](char c) { return c > 0; })) {
        FUZZ_CHECK(kind == tuvex::TextKind::Multibyte);
        return 0;
    }
    const std::optional<std::uint64_t> cost = tuvex::ReadingCost(text, kind);
    FUZZ_CHECK(cost.has_value());
    for (tuvex::TextKind other : {tuvex::TextKind::Multibyte, tuvex::TextKind::Utf8, tuvex::TextKind::Utf16}) {
        const std::optional<std::uint64_t> otherCost = tuvex::ReadingCost(text, other);
        FUZZ_CHECK(!otherCost || *cost <= *otherCost);
        FUZZ_CHECK(!otherCost || *cost < *otherCost || other != filterKind || kind == filterKind);
    }
    return 0;
}
