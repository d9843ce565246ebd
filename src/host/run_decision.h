// What the editor gets of a command's run, and what the user is told after
// its error output: decided from how the run came out.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "common/tuvex_types.h"
#include "exec/exchange_outcome.h"

namespace tuvex {

// What a non-zero exit code does: the key exitCode of the section COMMAND of
// "Tuvex.conf".
enum class ExitCodeMode {
    Report,  // said after the error output, or alone when the command wrote nothing
    Keep,    // as Report, and the output does not replace the text
    Ignore,  // not looked at
};

inline constexpr char kCommandSection[] = "COMMAND";
inline constexpr char kExitCodeKey[] = "exitCode";

// The mode that a value of exitCode names, in any case of its letters; none
// for any other value, which counts as Report.
std::optional<ExitCodeMode> ExitCodeModeNamed(std::string_view value);

// The message that ends a run, after the command's error output.
enum class RunMessage { None, StoppedWaiting, CommandEnded, OutputTooLarge, Crashed, NothingWritten, TextKept };

struct RunDecision {
    bool useOutput = false;  // the output becomes the new text
    // The exit code, said on the last line of the error output's window.
    std::optional<std::uint32_t> exitCodeLine;
    RunMessage message = RunMessage::None;
};

// A crash (see IsCrashExitCode) keeps the text in every mode, and so does a
// run that did not complete.
RunDecision DecideRun(const ExchangeResult& result, ExitCodeMode mode);

// "0xC0000005": an exit code as 8 upper-case hexadecimal digits.
ByteString HexExitCode(std::uint32_t code);

}  // namespace tuvex
