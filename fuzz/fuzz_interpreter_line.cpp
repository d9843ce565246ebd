// Interpreter lines: the interpreter is what follows "#!" up to the line end,
// unchanged, and nothing at all for any other first line; the program that
// it names is the line's own, or the name that a Unix line stands for.
#include <cstdint>
#include <string>

#include "exec/interpreter_line.h"
#include "fuzz_check.h"

namespace {

void CheckProgram(const std::string& interpreter)
{
    const tuvex::InterpreterCommand split = tuvex::SplitInterpreter(interpreter);
    const tuvex::InterpreterProgram program = tuvex::InterpreterProgramOf(interpreter);
    FUZZ_CHECK(program.program.empty() == split.program.empty());
    if (split.program == "/usr/bin/env") {
        // env's name and its options come from the rest of the line.
        FUZZ_CHECK(program.nameOtherwise.empty());
        FUZZ_CHECK(program.program == "env" || split.options.find(program.program) != std::string::npos);
        FUZZ_CHECK(split.options.ends_with(program.options));
        return;
    }
    FUZZ_CHECK(program.program == split.program && program.options == split.options);
    if (!program.nameOtherwise.empty()) {
        FUZZ_CHECK(program.program.starts_with("/usr/bin/") || program.program.starts_with("/usr/local/bin/") ||
                   program.program.starts_with("/bin/"));
        FUZZ_CHECK(program.program.ends_with("/" + program.nameOtherwise));
        FUZZ_CHECK(!tuvex::NamesFolder(program.nameOtherwise));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string line(reinterpret_cast<const char*>(data), size);
    const std::string firstLine = line.substr(0, line.find('\0'));
    const std::string interpreter = tuvex::InterpreterFromFirstLine(firstLine);
    CheckProgram(interpreter);
    if (firstLine.rfind("#!", 0) != 0) {
        FUZZ_CHECK(interpreter.empty());
        return 0;
    }
    FUZZ_CHECK(interpreter.find_first_of("\r\n") == std::string::npos);
    FUZZ_CHECK(firstLine.compare(2, interpreter.size(), interpreter) == 0);
    const std::size_t end = 2 + interpreter.size();
    FUZZ_CHECK(end == firstLine.size() || firstLine[end] == '\r' || firstLine[end] == '\n');
    return 0;
}
