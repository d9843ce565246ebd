// Interpreter lines: the interpreter is what follows "#!" up to the line end,
// unchanged, and nothing at all for any other first line.
#include <cstdint>
#include <string>

#include "exec/interpreter_line.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string line(reinterpret_cast<const char*>(data), size);
    const std::string firstLine = line.substr(0, line.find('\0'));
    const std::string interpreter = tuvex::InterpreterFromFirstLine(firstLine);
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
