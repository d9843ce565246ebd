// Parameter parsing: a command and arguments that rebuild the parameter, or
// exactly the problem that the parameter has; a character cut by the "|"
// is the end of that command.
#include <cstdint>
#include <string>

#include "common/code_page_932.h"
#include "exec/command_parameter.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string parameter(reinterpret_cast<const char*>(data), size);
    const std::string text = parameter.substr(0, parameter.find('\0'));  // what a C string holds
    const std::size_t start = text.find_first_not_of(" \t\n\v\f\r");
    const std::optional<tuvex::CharacterCutByBar> cut = tuvex::CharacterCutByTheBar(parameter);
    if (cut) {
        FUZZ_CHECK(cut->character.size() == 2 && cut->character[1] == '|');
        FUZZ_CHECK(tuvex::IsCp932LeadByte(static_cast<unsigned char>(cut->character[0])));
        FUZZ_CHECK(text.substr(start).starts_with(cut->command + cut->character));
    }
    try {
        const tuvex::CommandEntry entry = tuvex::ParseCommandParameter(parameter.c_str());
        FUZZ_CHECK(start != std::string::npos);
        FUZZ_CHECK(entry.name.empty());
        FUZZ_CHECK(!entry.command.empty());
        FUZZ_CHECK(entry.command.find('|') == std::string::npos);
        const std::string rest = text.substr(start);
        FUZZ_CHECK(rest == entry.command || rest == entry.command + "|" + entry.arguments);
        FUZZ_CHECK(!cut || entry.command == cut->command + cut->character[0]);
    } catch (const tuvex::ParameterError& error) {
        if (text.empty()) {
            FUZZ_CHECK(error.problem == tuvex::ParameterProblem::Missing);
        } else if (start == std::string::npos) {
            FUZZ_CHECK(error.problem == tuvex::ParameterProblem::Blank);
        } else {
            FUZZ_CHECK(text[start] == '|');
            FUZZ_CHECK(error.problem == tuvex::ParameterProblem::NoCommand);
        }
    }
    return 0;
}
