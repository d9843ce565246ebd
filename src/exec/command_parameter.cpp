#include "exec/command_parameter.h"

#include <string_view>

namespace tuvex {

namespace {

// Space and the controls TAB to CR; no byte from 0x80 up, so a double-byte
// character is never taken for white space.
bool IsBlank(char byte)
{
    return byte == ' ' || (byte >= '\t' && byte <= '\r');
}

}  // namespace

CommandEntry ParseCommandParameter(const char* parameter)
{
    if (parameter == nullptr || *parameter == '\0') {
        throw ParameterError(ParameterProblem::Missing);
    }
    std::string_view rest(parameter);
    while (!rest.empty() && IsBlank(rest.front())) {
        rest.remove_prefix(1);
    }
    if (rest.empty()) {
        throw ParameterError(ParameterProblem::Blank);
    }

    CommandEntry entry;
    const std::size_t bar = rest.find('|');
    entry.command = ByteString(rest.substr(0, bar));
    if (bar != std::string_view::npos) {
        entry.arguments = ByteString(rest.substr(bar + 1));
    }
    if (entry.command.empty()) {
        throw ParameterError(ParameterProblem::NoCommand);
    }
    return entry;
}

}  // namespace tuvex
