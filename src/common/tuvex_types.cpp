#include "common/tuvex_types.h"

#include "common/messages.h"

namespace tuvex {

ByteString MessageWithCode(std::string_view prefix, std::int64_t code)
{
    ByteString text(prefix);
    text += std::to_string(code);
    text += ')';
    return text;
}

ByteString MessageOverLimit(std::string_view subject, std::uint64_t count, std::uint64_t limit, std::string_view unit)
{
    ByteString text(subject);
    text.append(messages::kCountAfterSubject).append(std::to_string(count)).append(unit);
    text.append(messages::kLimitAfterCount).append(std::to_string(limit)).append(unit);
    return text.append(messages::kOverLimitAfterLimit);
}

}  // namespace tuvex
