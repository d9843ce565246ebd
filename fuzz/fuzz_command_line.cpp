// Command lines: the command and the arguments stand in the line unchanged,
// after the interpreter when there is one.
#include <cstdint>
#include <string>

#include "exec/command_line.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Three fields separated by NUL bytes: interpreter, command, arguments.
    const auto fields = ThreeFields(data, size);
    if (!fields) {
        return 0;
    }
    const auto& [interpreter, command, arguments] = *fields;
    const std::string line = tuvex::BuildCommandLine(interpreter, command, arguments);

    std::string expected = interpreter.empty() ? command : interpreter + " \"" + command + "\"";
    if (!arguments.empty()) {
        expected += " " + arguments;
    }
    FUZZ_CHECK(line == expected);
    FUZZ_CHECK(arguments.empty() || line.compare(line.size() - arguments.size(), arguments.size(), arguments) == 0);
    return 0;
}
