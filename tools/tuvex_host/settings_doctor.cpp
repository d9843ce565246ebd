#include "settings_doctor.h"

#include <cstdint>

#include "exec/exit_status.h"
#include "host/run_decision.h"

namespace tuvex::host {

namespace {

const char* Meaning(ExitCodeMode mode)
{
    switch (mode) {
    case ExitCodeMode::Keep:
        return "a non-zero exit code is said, and the command's output does not replace the text";
    case ExitCodeMode::Ignore:
        return "the exit code is not looked at (a crash still keeps the text)";
    case ExitCodeMode::Report:
        break;
    }
    return "a non-zero exit code is said after the command's error output, or alone when it wrote nothing; "
           "the output replaces the text";
}

}  // namespace

ExitCodeSetting DescribeExitCodeSetting(const std::optional<std::string>& value)
{
    if (!value) {
        return {"[COMMAND] exitCode is not set, so it is report: " + std::string(Meaning(ExitCodeMode::Report)),
                false};
    }
    if (const std::optional<ExitCodeMode> mode = ExitCodeModeNamed(*value)) {
        return {"[COMMAND] exitCode = " + *value + ": " + Meaning(*mode), false};
    }
    return {"[COMMAND] exitCode = " + *value + " is no value the module knows (report, keep or ignore); it counts "
                                              "as report: " + Meaning(ExitCodeMode::Report),
            true};
}

std::string ExitCodeLine(unsigned long exitCode)
{
    const auto code = static_cast<std::uint32_t>(exitCode);
    std::string line = "exit code of the command: " + std::to_string(code);
    if (IsCrashExitCode(code)) {
        line += " (" + HexExitCode(code) + ", a crash)";
    }
    return line;
}

}  // namespace tuvex::host
