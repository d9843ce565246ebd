#include "host/run_entry.h"

#include <list>
#include <span>
#include <string_view>

#include "common/tuvex_types.h"
#include "exec/child_process.h"
#include "host/command_runner.h"

namespace tuvex {

namespace {

// The strings that TuvexRun has returned: each stays valid until a call of
// TuvexRun that begins after it was returned. That promise outlives every
// call, so it is the module's to keep; nothing else of a call is kept here.
// A call made from within another's wait (from a timer of the host, say)
// returns its own string, which the outer call's return leaves alone.
class ReturnedStrings {
public:
    // A call has begun and has copied its arguments, which may point into
    // these strings: the caller has let them go.
    void ReleaseAll() { strings_.clear(); }

    // Keeps `text` until the next ReleaseAll and returns it as a C string.
    const char* Keep(ByteString text)
    {
        if (text.empty()) {
            return "";
        }
        return strings_.emplace_back(std::move(text)).c_str();
    }

private:
    std::list<ByteString> strings_;  // a list, so that a kept string never moves
};

ReturnedStrings returnedStrings;

ByteString StringOrEmpty(const char* text)
{
    return text ? ByteString(text) : ByteString();
}

// TuvexRun is given no window: its messages have no owner, and a text that
// fits goes to a plain message box.
constexpr MessageOutlet kRunOutlet{nullptr, TextKind::Multibyte, true};

}  // namespace

const char* RunCommandOnText(const char* input, const char* command, const char* arguments) noexcept
{
    try {
        ByteString output = GuardCall<ByteString>(kRunOutlet, [&] {
            const ByteString inputText = StringOrEmpty(input);
            const ByteString commandText = StringOrEmpty(command);
            const ByteString argumentsText = StringOrEmpty(arguments);
            returnedStrings.ReleaseAll();
            ByteString collected;
            return RunCommand<ByteString>(
                kRunOutlet,
                [&](const ExchangeOptions& options, ByteSink& errors) {
                    return RunChildProcess(commandText, argumentsText,
                                           std::span<const char>(inputText.data(), inputText.size()), collected,
                                           errors, options);
                },
                [&] { return std::move(collected); });
        });
        return returnedStrings.Keep(std::move(output));
    } catch (...) {
        return "";  // no memory left to keep the output in
    }
}

}  // namespace tuvex
