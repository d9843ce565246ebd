// Error output as real programs write it (see error_output_corpus.py), for
// the tests of how the message window reads and shows it.
#pragma once

#include <string_view>

#include "common/tuvex_types.h"

namespace tuvex::test {

struct ErrorOutputSample {
    std::string_view name;
    std::string_view bytes;   // what the child writes
    TextKind kind;            // what they are read as
    std::u16string_view shown;  // what the message window shows
};

using namespace std::string_view_literals;

inline constexpr ErrorOutputSample kErrorOutputCorpus[] = {
#include "error_output_corpus.inc"
};

}  // namespace tuvex::test
