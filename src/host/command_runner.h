// One road for every entry point: run the command, decide what the caller
// gets, and tell the user what happened, in words made here alone.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>

#include "common/tuvex_types.h"
#include "exec/child_process.h"
#include "exec/error_capture.h"
#include "exec/exchange_outcome.h"

namespace tuvex {

// Where one entry point's messages go.
struct MessageOutlet {
    HWND owner;  // the host's window; null for TuvexRun, which has none
    // The kind of text that the filter hands its command, which breaks ties
    // when the error output's kind is judged: the error output of TuvexW and
    // TuvexUtf8 is shown by ShowMessageW, exactly as the child wrote it, the
    // others' by ShowMessage.
    TextKind filterKind;
    // A text that fits goes to a plain message box (TuvexRun).
    bool messageBoxes;
};

// The words for a failed run: the first line as the failure has always been
// told, then what it means.
ByteString ExchangeFailureText(const ExchangeError& failure);

// Shows the failure being handled, in words; a failure to show it is not
// reported further. Call only from a catch block.
void ShowCurrentFailure(const MessageOutlet& outlet) noexcept;

// The exchange of one entry point, with the sink for the error output.
using ExchangeCall = std::function<ExchangeResult(const ExchangeOptions& options, ByteSink& errors)>;

// Runs `exchange` under the wait window over the outlet's owner and reads
// [COMMAND] exitCode of "Tuvex.conf" afresh. Then, in this order: `finish`
// makes the new text when the output is to replace the text (it may raise,
// then shown last); the error output is shown, with the exit code as its last
// line where that is to be said; the message that ends the run. A failed run
// shows the error output, then raises its failure. When the host's window was
// destroyed meanwhile, nothing is shown and no text is made.
void RunCommandWith(const MessageOutlet& outlet, const ExchangeCall& exchange, const std::function<void()>& finish);

// The same, returning what `finish` made, or an empty Text when the text
// stays.
template <typename Text, typename Exchange, typename Finish>
Text RunCommand(const MessageOutlet& outlet, Exchange exchange, Finish finish)
{
    Text text{};
    RunCommandWith(outlet, exchange, [&] { text = finish(); });
    return text;
}

// Runs `body` so that nothing escapes: a failure is shown through the
// outlet and an empty Text returned.
template <typename Text, typename Body>
Text GuardCall(const MessageOutlet& outlet, Body body) noexcept
{
    try {
        return body();
    } catch (...) {
        ShowCurrentFailure(outlet);
    }
    return Text{};
}

}  // namespace tuvex
