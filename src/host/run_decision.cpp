#include "host/run_decision.h"

#include "exec/exit_status.h"

namespace tuvex {

namespace {

bool SameIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::optional<ExitCodeMode> ExitCodeModeNamed(std::string_view value)
{
    for (const auto& [name, mode] : {std::pair{"report", ExitCodeMode::Report}, std::pair{"keep", ExitCodeMode::Keep},
                                     std::pair{"ignore", ExitCodeMode::Ignore}}) {
        if (SameIgnoringAsciiCase(value, name)) {
            return mode;
        }
    }
    return std::nullopt;
}

RunDecision DecideRun(const ExchangeResult& result, ExitCodeMode mode)
{
    switch (result.end) {
    case ExchangeEnd::StoppedWaiting:
        return {false, {}, RunMessage::StoppedWaiting};
    case ExchangeEnd::CommandEnded:
        return {false, {}, RunMessage::CommandEnded};
    case ExchangeEnd::OutputTooLarge:
        return {false, {}, RunMessage::OutputTooLarge};
    case ExchangeEnd::Completed:
        break;
    }
    if (IsCrashExitCode(result.exitCode)) {
        return {false, {}, RunMessage::Crashed};
    }
    if (result.exitCode == 0 || mode == ExitCodeMode::Ignore) {
        return {true, {}, RunMessage::None};
    }
    if (result.outputBytes == 0 && result.errorBytes == 0) {
        return {false, {}, RunMessage::NothingWritten};
    }
    const bool keep = mode == ExitCodeMode::Keep;
    return {!keep, result.exitCode, keep && result.outputBytes != 0 ? RunMessage::TextKept : RunMessage::None};
}

ByteString HexExitCode(std::uint32_t code)
{
    static const char digits[] = "0123456789ABCDEF";
    ByteString text = "0x";
    for (int shift = 28; shift >= 0; shift -= 4) {
        text += digits[(code >> shift) & 0xF];
    }
    return text;
}

}  // namespace tuvex
