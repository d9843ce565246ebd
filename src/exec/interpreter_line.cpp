#include "exec/interpreter_line.h"

namespace tuvex {

namespace {

// The folders where Unix keeps the programs that scripts name.
constexpr std::string_view kUnixProgramFolders[] = {"/usr/bin/", "/usr/local/bin/", "/bin/"};

}  // namespace

ByteString InterpreterFromFirstLine(std::string_view firstLine)
{
    if (firstLine.size() < 2 || firstLine[0] != '#' || firstLine[1] != '!') {
        return {};
    }
    const std::string_view rest = firstLine.substr(2);
    return ByteString(rest.substr(0, rest.find_first_of("\r\n")));
}

InterpreterProgram InterpreterProgramOf(std::string_view interpreter)
{
    InterpreterCommand split = SplitInterpreter(interpreter);
    if (split.program == "/usr/bin/env") {
        // Unix's env finds NAME on PATH: here the lookup of a command does.
        InterpreterCommand named = SplitInterpreter(split.options);
        if (named.program.empty()) {
            return {"env", "", ""};
        }
        return {std::move(named.program), std::move(named.options), ""};
    }
    for (const std::string_view folder : kUnixProgramFolders) {
        if (!split.program.starts_with(folder)) {
            continue;
        }
        const std::string_view name = std::string_view(split.program).substr(folder.size());
        if (!name.empty() && !NamesFolder(name)) {
            ByteString nameOtherwise(name);
            return {std::move(split.program), std::move(split.options), std::move(nameOtherwise)};
        }
    }
    return {std::move(split.program), std::move(split.options), ""};
}

}  // namespace tuvex
