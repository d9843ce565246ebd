#include "host/command_runner.h"

#include <string>
#include <string_view>

#include "common/failure_words.h"
#include "common/messages.h"
#include "common/module_location.h"
#include "common/system_text_win32.h"
#include "common/unicode_text.h"
#include "dialog/dialog_settings_win32.h"
#include "dialog/message_dialog.h"
#include "dialog/message_dialog_win32.h"
#include "exec/command_parameter.h"
#include "host/run_decision.h"
#include "host/run_with_wait_window.h"

namespace tuvex {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

ByteString ParameterFailureText(ParameterProblem problem)
{
    switch (problem) {
    case ParameterProblem::Missing:
        return messages::kParameterMissing;
    case ParameterProblem::Blank:
        return messages::kParameterBlank;
    case ParameterProblem::NoCommand:
        break;
    }
    return messages::kCommandMissing;
}

// The program found nowhere, what was tried, and, when folders were
// searched, what to do about it.
ByteString NotFoundWords(const ProgramNotFound& program)
{
    const ByteString words = MissingProgramWords(
        {program.name, program.namedOnInterpreterLine, program.triedNames, program.searchedFolders});
    if (words.empty() || program.searchedFolders.empty()) {
        return words;
    }
    return WithWords(words, messages::kInstallOrAddToPath);
}

ByteString StartFailureText(const ExchangeError& failure)
{
    const auto code = static_cast<std::uint32_t>(failure.code);
    const ByteString firstLine = failure.commandLine + MessageWithCode(messages::kStartFailedAfterCommandLine, code);
    if (failure.missing) {
        return WithWords(firstLine, NotFoundWords(*failure.missing));
    }
    // What the code means for the program that the command line starts, by its path.
    return WithWords(firstLine,
                     StartFailureWords(code, SystemTextCp932(code, ProgramOfCommandLine(failure.commandLine))));
}

ByteString CurrentFailureText()
{
    try {
        throw;
    } catch (const ExchangeError& failure) {
        return ExchangeFailureText(failure);
    } catch (const ParameterError& failure) {
        return ParameterFailureText(failure.problem);
    } catch (const ErrorMessage& failure) {
        return failure.text();
    } catch (...) {
        return messages::kUnexpectedError;
    }
}

// A message of the module's own.
void ShowOwnMessage(const MessageOutlet& outlet, const ByteString& text) noexcept
{
    if (outlet.messageBoxes) {
        ShowMessageWithoutOwner(text);
    } else {
        ShowMessage(outlet.owner, text);
    }
}

void AppendAsUtf16(ByteString& text, std::u16string_view units)
{
    for (char16_t unit : units) {
        text += static_cast<char>(unit & 0xFF);
        text += static_cast<char>(unit >> 8);
    }
}

// "終了コード N" on a line of its own at the end of `text`, written in the
// text's kind so that the text stays of that kind.
void AppendExitCodeLine(ByteString& text, TextKind kind, std::uint32_t exitCode)
{
    const std::string code = std::to_string(exitCode);
    if (kind != TextKind::Utf16) {
        if (!text.ends_with('\n')) {
            text += kLineEnd;
        }
        text += kind == TextKind::Utf8 ? messages::kExitCodeBeforeUtf8 : messages::kExitCodeBefore;
        text += code;
        return;
    }
    if (text.size() % 2 != 0) {
        text += '\0';  // the rest of a unit cut short, so that the line starts on a whole unit
    }
    if (!text.ends_with(std::string_view("\n\0", 2))) {
        AppendAsUtf16(text, u"\r\n");
    }
    AppendAsUtf16(text, messages::kExitCodeBeforeUtf16);
    AppendAsUtf16(text, std::u16string(code.begin(), code.end()));
}

// The child's error output, as much of it as was kept, then the exit code
// when it is to be said; nothing when the child wrote none. The one place
// where error output is shown.
void ShowErrorOutput(const MessageOutlet& outlet, const ErrorCapture& errors,
                     std::optional<std::uint32_t> exitCode) noexcept
{
    if (errors.empty()) {
        return;
    }
    try {
        ByteString text = ErrorTextToShow(errors, outlet.filterKind);
        if (exitCode) {
            AppendExitCodeLine(text, JudgeTextKind(text, outlet.filterKind), *exitCode);
        }
        if (outlet.filterKind != TextKind::Multibyte) {
            ShowMessageW(outlet.owner, ByteBuffer(text.begin(), text.end()), outlet.filterKind);
        } else {
            ShowOwnMessage(outlet, text);
        }
    } catch (...) {
        // Out of memory for the text: there is nothing to show it with.
    }
}

ByteString RunMessageText(RunMessage message, const ExchangeResult& result)
{
    const std::string code = std::to_string(result.exitCode);
    switch (message) {
    case RunMessage::StoppedWaiting:
        return WithWords(messages::kWaitAbandoned, messages::kStillRunningBefore +
                                                       ByteString(ProgramOfCommandLine(result.commandLine)) +
                                                       messages::kProcessIdBefore + std::to_string(result.processId) +
                                                       ")");
    case RunMessage::CommandEnded:
        return messages::kCommandEnded;
    case RunMessage::OutputTooLarge:
        return messages::kOutputTooLargeBefore + std::to_string(result.outputBytes) + messages::kOutputTooLargeAfter;
    case RunMessage::Crashed:
        return WithWords(messages::kCommandCrashed + HexExitCode(result.exitCode) + ")", messages::kTextUnchanged);
    case RunMessage::NothingWritten:
        return messages::kNothingWrittenBefore + code + ")";
    case RunMessage::TextKept:
        return messages::kNotReplacedBefore + code + messages::kNotReplacedAfter;
    case RunMessage::None:
        break;
    }
    return {};
}

// Read at every call, as the dialog's settings are: an edited file counts
// at once.
ExitCodeMode ReadExitCodeMode()
{
    const ProfileFile file(ModuleFilePath("Tuvex.conf"));
    return ExitCodeModeNamed(file.GetString(kCommandSection, kExitCodeKey, "")).value_or(ExitCodeMode::Report);
}

// The host closed its window while the command ran: the call is over for it.
bool HostWindowGone(const MessageOutlet& outlet)
{
    return outlet.owner != nullptr && !IsWindow(outlet.owner);
}

}  // namespace

ByteString ExchangeFailureText(const ExchangeError& failure)
{
    switch (failure.step) {
    case ExchangeStep::OnlyInCurrentFolder:
        return failure.subject + messages::kOnlyInCurrentFolderAfterCommand + failure.subject +
               messages::kWriteDotBackslashAfterCommand;
    case ExchangeStep::PathTooLong:
        return MessageOverLimit(failure.subject + messages::kPathAfterCommand, failure.count, failure.limit,
                                messages::kBytesUnit);
    case ExchangeStep::IsDevice:
        return failure.subject + messages::kIsDeviceAfterCommand;
    case ExchangeStep::OpenScript:
        return WithWords(failure.subject + MessageWithCode(messages::kOpenFailedAfterSubject, failure.code),
                         OpenFailureWords(static_cast<int>(failure.code), OpenedFile::Command));
    case ExchangeStep::CommandLineTooLong:
        return MessageOverLimit(messages::kCommandLineSubject, failure.count, failure.limit, messages::kCharactersUnit);
    case ExchangeStep::OpenPipe:
        return MessageWithCode(messages::kPipeOpenFailed, failure.code);
    case ExchangeStep::WriteInput:
        return MessageWithCode(messages::kPipeWriteFailed, failure.code);
    case ExchangeStep::Start:
        return StartFailureText(failure);
    case ExchangeStep::ReadOutput:
        return MessageWithCode(messages::kPipeReadFailed, failure.code);
    case ExchangeStep::Wait:
        return MessageWithCode(messages::kWaitFailed, failure.code);
    case ExchangeStep::ReadExitCode:
        break;
    }
    return MessageWithCode(messages::kExitCodeReadFailed, failure.code);
}

void ShowCurrentFailure(const MessageOutlet& outlet) noexcept
{
    try {
        ShowOwnMessage(outlet, CurrentFailureText());
    } catch (...) {
    }
}

void RunCommandWith(const MessageOutlet& outlet, const ExchangeCall& exchange, const std::function<void()>& finish)
{
    const ExitCodeMode mode = ReadExitCodeMode();
    ErrorCapture errors;
    ExchangeResult result;
    try {
        RunWithWaitWindow(outlet.owner, [&](const ExchangeOptions& options) { result = exchange(options, errors); });
    } catch (...) {
        if (HostWindowGone(outlet)) {
            return;
        }
        ShowErrorOutput(outlet, errors, {});
        throw;
    }
    if (HostWindowGone(outlet)) {
        return;
    }
    const RunDecision decision = DecideRun(result, mode);
    std::exception_ptr outputFailure;
    if (decision.useOutput) {
        try {
            finish();
        } catch (...) {
            outputFailure = std::current_exception();
        }
    }
    ShowErrorOutput(outlet, errors, decision.exitCodeLine);
    if (decision.message != RunMessage::None) {
        ShowOwnMessage(outlet, RunMessageText(decision.message, result));
    }
    if (outputFailure) {
        std::rethrow_exception(outputFailure);
    }
}

}  // namespace tuvex
