#include "exec/command_line.h"

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

ByteString Quoted(std::string_view text)
{
    ByteString quoted;
    quoted.reserve(text.size() + 2);
    return quoted.append("\"").append(text).append("\"");
}

}  // namespace tuvex
