#include "exec/interpreter_line.h"

namespace tuvex {

ByteString InterpreterFromFirstLine(std::string_view firstLine)
{
    if (firstLine.size() < 2 || firstLine[0] != '#' || firstLine[1] != '!') {
        return {};
    }
    const std::string_view rest = firstLine.substr(2);
    return ByteString(rest.substr(0, rest.find_first_of("\r\n")));
}

}  // namespace tuvex
