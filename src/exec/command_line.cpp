#include "exec/command_line.h"

#include "common/code_page_932.h"
#include "exec/exchange_outcome.h"

namespace tuvex {

ByteString BuildCommandLine(std::string_view interpreter, std::string_view command,
                            std::string_view arguments)
{
    ByteString line;
    line.reserve(interpreter.size() + command.size() + arguments.size() + 4);
    if (interpreter.empty()) {
        line.append(command);
    } else {
        line.append(interpreter).append(" \"").append(command).append("\"");
    }
    if (!arguments.empty()) {
        line.append(" ").append(arguments);
    }
    return line;
}

std::size_t CommandLineLength(std::string_view line)
{
    std::size_t units = 0;
    for (std::size_t at = 0; at < line.size(); ++at, ++units) {
        if (IsCp932LeadByte(static_cast<unsigned char>(line[at])) && at + 1 < line.size()) {
            ++at;
        }
    }
    return units;
}

ByteString WithinCommandLineLimit(ByteString line)
{
    const std::size_t length = CommandLineLength(line);
    if (length > kLongestCommandLine) {
        ExchangeError error(ExchangeStep::CommandLineTooLong, 0);
        error.count = length;
        error.limit = kLongestCommandLine;
        throw error;
    }
    return line;
}

ByteString Quoted(std::string_view text)
{
    ByteString quoted;
    quoted.reserve(text.size() + 2);
    return quoted.append("\"").append(text).append("\"");
}

}  // namespace tuvex
