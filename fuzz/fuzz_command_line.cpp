// Command lines: the command and the arguments stand in the line unchanged,
// after the interpreter when there is one.
#include <cstdint>
#include <string>

#include "exec/command_line.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Three fields separated by NUL bytes: interpreter, command, arguments.
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t first = input.find('\0');
    const std::size_t second = first == std::string::npos ? first : input.find('\0', first + 1);
    if (second == std::string::npos) {
        return 0;
    }
    const std::string interpreter = input.substr(0, first);
    const std::string command = input.substr(first + 1, second - first - 1);
    const std::string arguments = input.substr(second + 1);
    const std::string line = tuvex::BuildCommandLine(interpreter, command, arguments);

    std::string expected = interpreter.empty() ? command : interpreter + " \"" + command + "\"";
    if (!arguments.empty()) {
        expected += " " + arguments;
    }
    FUZZ_CHECK(line == expected);
    FUZZ_CHECK(arguments.empty() || line.compare(line.size() - arguments.size(), arguments.size(), arguments) == 0);
    return 0;
}
