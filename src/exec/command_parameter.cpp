#include "exec/command_parameter.h"

#include <string_view>

#include "common/code_page_932.h"

namespace tuvex {

namespace {

// Space and the controls TAB to CR; no byte from 0x80 up, so a double-byte
// character is never taken for white space.
bool IsBlank(char byte)
{
    return byte == ' ' || (byte >= '\t' && byte <= '\r');
}

// The parameter from its first character that is not white space.
std::string_view WithoutLeadingBlanks(std::string_view parameter)
{
    while (!parameter.empty() && IsBlank(parameter.front())) {
        parameter.remove_prefix(1);
    }
    return parameter;
}

}  // namespace

CommandEntry ParseCommandParameter(const char* parameter)
{
    if (parameter == nullptr || *parameter == '\0') {
        throw ParameterError(ParameterProblem::Missing);
    }
    const std::string_view rest = WithoutLeadingBlanks(parameter);
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

std::optional<CharacterCutByBar> CharacterCutByTheBar(std::string_view parameter)
{
    const std::string_view rest = WithoutLeadingBlanks(parameter.substr(0, parameter.find('\0')));
    const std::size_t bar = rest.find('|');
    if (bar == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view command = rest.substr(0, bar);
    const std::size_t whole = WholeCharactersLength(command);
    if (whole == command.size()) {
        return std::nullopt;
    }
    return CharacterCutByBar{ByteString(command.substr(0, whole)), ByteString(rest.substr(whole, 2))};
}

}  // namespace tuvex
