#include "common/tuvex_types.h"

namespace tuvex {

ByteString MessageWithCode(std::string_view prefix, std::int64_t code)
{
    ByteString text(prefix);
    text += std::to_string(code);
    text += ')';
    return text;
}

}  // namespace tuvex
