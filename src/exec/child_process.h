// Running one command as a hidden child process with piped standard streams.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "common/tuvex_types.h"
#include "exec/exchange_outcome.h"

namespace tuvex {

// Where a running exchange stands.
struct ExchangeProgress {
    std::string_view commandLine;
    std::uint64_t bytesReceived;  // standard output and error together
    // The command and everything it started can be ended (it runs in a job
    // of its own); false where the host's own job forbids that.
    bool canEndCommand;
    // Ends the command and everything it started now, while the wait goes
    // on: a window may be told to end it from a loop nested in the wait,
    // which returns only later. The wait still returns EndCommand.
    std::function<void()> endCommand = {};
    // Takes what is still to be written of the input into memory of the
    // module's own. A waiter that dispatches the thread's messages calls it
    // before it first does: the editor may then change or free its text, which
    // the input may still be read from.
    std::function<void()> keepInput = {};
};

// What the user wants of a command that is still running.
enum class WaitChoice {
    KeepWaiting,
    // The exchange returns at once and leaves the child running.
    StopWaiting,
    // The exchange ends the child and everything it started, then returns.
    EndCommand,
};

// What ended one wait of the exchange.
struct WaitOutcome {
    // Anything but KeepWaiting: the user ended the wait, and nothing else counts.
    WaitChoice choice = WaitChoice::KeepWaiting;
    // The index of a signalled object (the lowest, when several are); none
    // when the wait itself failed, which the exchange raises with the
    // thread's last error as the waiter left it.
    std::optional<std::size_t> signalled;
};

// Waits, for the exchange, until one of its objects (the child's process
// and the events of its reads and writes) is signalled. The caller's own
// waiter may do more meanwhile, such as keep a window alive and let the user
// end the wait: a command that never ends must not hold the editor.
class ExchangeWaiter {
public:
    virtual ~ExchangeWaiter() = default;
    // `objects` are handles that can be waited on; `progress` is what the
    // exchange has done so far.
    virtual WaitOutcome Wait(std::span<void* const> objects, const ExchangeProgress& progress) = 0;
};

// The buffer size asked of each pipe: bounded, since the system keeps it in
// memory charged to the host; the input is fed while the outputs are drained,
// so a larger pipe buys no speed (see bench/exchange_bench.cpp).
constexpr std::uint32_t kDefaultPipeSize = 1024 * 1024;

struct ExchangeOptions {
    // Tests make it small to exercise inputs and outputs that do not fit.
    std::uint32_t pipeSize = kDefaultPipeSize;
    // None: the exchange waits on its objects alone.
    ExchangeWaiter* waiter = nullptr;
    // The most standard output taken, in bytes; beyond it the exchange ends
    // as when the output cannot grow. None: OutputLimit of the physical
    // memory available when the call starts.
    std::optional<std::uint64_t> outputLimit;
};

// Where a child's output goes: bytes are read from the pipe straight into
// room that the sink makes at its end.
class ByteSink {
public:
    // Bytes received so far.
    virtual std::size_t size() const = 0;
    // Bytes that fit before the sink has to grow.
    virtual std::size_t room() const = 0;
    // Room for `count` more bytes at the end, to be read into.
    virtual char* Extend(std::size_t count) = 0;
    // That many bytes of the room given by Extend were read; the rest of it
    // is given back.
    virtual void Commit(std::size_t count) = 0;
    // A read into the room given by Extend could not be stopped, and the
    // system may write there at any time: the sink lets go of the memory
    // that holds the room without ever freeing it (see LeakMemoryOf), and
    // holds nothing after.
    virtual void Abandon() noexcept = 0;

protected:
    ~ByteSink() = default;
};

// Lets go of the memory of `bytes` (a ByteBuffer, or a ByteString whose bytes
// are not held in the object itself) without freeing it: it goes with a copy
// of the buffer that is never destroyed. `bytes` is empty after.
template <typename Bytes>
void LeakMemoryOf(Bytes& bytes) noexcept
{
    new Bytes(std::move(bytes));
    bytes = Bytes();
}

// A buffer that bytes are appended to (ByteBuffer, ByteString, or the block
// that a filter hands to the host), as a sink.
template <typename Bytes>
class AppendingSink final : public ByteSink {
public:
    explicit AppendingSink(Bytes& bytes) : bytes_(bytes) {}
    std::size_t size() const override { return bytes_.size(); }
    // Room within the buffer object itself (a short string's) is never lent,
    // since Abandon could not keep it.
    std::size_t room() const override { return HeldInObject() ? 0 : bytes_.capacity() - bytes_.size(); }
    char* Extend(std::size_t count) override
    {
        kept_ = bytes_.size();
        bytes_.resize(kept_ + count);
        return bytes_.data() + kept_;
    }
    void Commit(std::size_t count) override { bytes_.resize(kept_ + count); }
    void Abandon() noexcept override { LeakMemoryOf(bytes_); }

private:
    bool HeldInObject() const
    {
        const auto bytes = reinterpret_cast<std::uintptr_t>(bytes_.data());
        const auto object = reinterpret_cast<std::uintptr_t>(&bytes_);
        return bytes >= object && bytes < object + sizeof(Bytes);
    }

    Bytes& bytes_;
    std::size_t kept_ = 0;
};

// Where a child's input comes from: the exchange writes it piece by piece,
// straight from the source's memory, while the child runs.
class ByteSource {
public:
    // The next bytes to write, or empty once all are written. They stay where
    // they are, unchanged, until Consume has taken them: a write may still be
    // reading them.
    virtual std::span<const char> Pending() = 0;
    // The first `count` bytes of Pending() were written.
    virtual void Consume(std::size_t count) = 0;
    // From now on, what is still to be written comes from memory of the
    // source's own, not from the memory it was made over. No write is
    // pending when this is called.
    virtual void KeepRest() = 0;

protected:
    ~ByteSource() = default;
};

// Bytes that are already in memory, read in place until KeepRest copies
// what is left of them.
class SpanSource final : public ByteSource {
public:
    explicit SpanSource(std::span<const char> bytes) : rest_(bytes) {}
    std::span<const char> Pending() override { return rest_; }
    void Consume(std::size_t count) override { rest_ = rest_.subspan(count); }
    void KeepRest() override
    {
        kept_.assign(rest_.begin(), rest_.end());
        rest_ = kept_;
    }

private:
    std::span<const char> rest_;
    std::vector<char> kept_;
};

// Runs `command` with `arguments`, feeds it `input` followed by end of file
// and hands everything it writes to `output` and `errors` until it has
// ended; returns how it ended, with its exit code. Raises ExchangeError when
// a step fails, the wait and the reading of the exit code included; bytes
// collected until then stay in the sinks. When `output` cannot grow, or
// would grow beyond options.outputLimit, the command is ended with all it
// started (its output cannot be used anyway) and the result says so.
//
// The command is located by LocateCommand (never in the current folder) and
// started by its full path; a script whose first line is "#!" is started
// through the program named there, located the same way. The child inherits
// its three pipe ends and no other handle, and runs in a job of its own where
// the system allows, so that it can be ended with all it started.
ExchangeResult RunChildProcess(const ByteString& command, const ByteString& arguments, ByteSource& input,
                               ByteSink& output, ByteSink& errors, const ExchangeOptions& options = {});

// Calls `body` with `bytes` as a sink: itself, or a buffer that bytes are
// appended to.
template <typename Bytes, typename Body>
decltype(auto) WithSink(Bytes& bytes, Body body)
{
    if constexpr (std::is_base_of_v<ByteSink, Bytes>) {
        return body(static_cast<ByteSink&>(bytes));
    } else {
        AppendingSink<Bytes> sink(bytes);
        return body(static_cast<ByteSink&>(sink));
    }
}

// The same with the input read in place (it must stay as it is until the
// call returns) and outputs that are sinks or buffers.
template <typename Output, typename Errors>
ExchangeResult RunChildProcess(const ByteString& command, const ByteString& arguments, std::span<const char> input,
                               Output& output, Errors& errors, const ExchangeOptions& options = {})
{
    SpanSource source(input);
    return WithSink(output, [&](ByteSink& outputSink) {
        return WithSink(errors, [&](ByteSink& errorSink) {
            return RunChildProcess(command, arguments, source, outputSink, errorSink, options);
        });
    });
}

// The same for byte strings. On failure the output strings are left as they
// were.
ExchangeResult RunChildProcessText(const ByteString& command, const ByteString& arguments, std::string_view input,
                                   ByteString& output, ByteString& errors, const ExchangeOptions& options = {});

}  // namespace tuvex
