#include <windows.h>

#include <algorithm>
#include <array>

#include "common/global_block_win32.h"
#include "common/messages.h"
#include "common/win32_resource.h"
#include "exec/child_process.h"
#include "exec/command_line.h"
#include "exec/interpreter_line.h"

namespace tuvex {

namespace {

// The two ends of one anonymous pipe. The read end is closed first.
struct PipePair {
    UniqueHandle writeEnd;
    UniqueHandle readEnd;
};

enum PipeIndex { kInput = 0, kOutput = 1, kErrors = 2 };

// Handles of the started child, each released on every path.
struct ProcessHandles {
    UniqueHandle process;
    UniqueHandle thread;
};

// Reads are at least this large, so a fast child is drained in few calls.
constexpr DWORD kMinReadSize = 64 * 1024;
// Writes to the child's input start with what the pipe can hold and shrink
// down to this size while it is nearly full.
constexpr DWORD kMinWriteSize = 512;
// Longest pause between two looks at an idle child: output in small pieces
// is still collected promptly, and an idle host costs almost no CPU.
constexpr DWORD kMaxIdleWaitMs = 16;

[[noreturn]] void RaiseWithLastError(const char* prefix)
{
    throw ErrorMessage(MessageWithCode(prefix, static_cast<std::uint32_t>(GetLastError())));
}

// Moves everything waiting in `pipe` to the end of `target`, in reads as large
// as what waits. Never blocks: a read is issued only when bytes wait.
template <typename Bytes>
bool DrainPipe(HANDLE pipe, Bytes& target)
{
    bool moved = false;
    for (;;) {
        DWORD available = 0;
        if (!PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr)) {
            RaiseWithLastError(messages::kPipePeekFailed);
        }
        if (available == 0) {
            return moved;
        }
        const std::size_t oldSize = target.size();
        const DWORD wanted = std::max(available, kMinReadSize);
        target.resize(oldSize + wanted);
        DWORD received = 0;
        const BOOL ok = ReadFile(pipe, target.data() + oldSize, wanted, &received, nullptr);
        const DWORD readError = GetLastError();
        target.resize(oldSize + received);
        if (!ok) {
            SetLastError(readError);
            RaiseWithLastError(messages::kPipeReadFailed);
        }
        moved = moved || received != 0;
    }
}

// Feeds the child's input without ever blocking: the write end is in
// non-blocking mode, so a write that does not fit writes nothing (or, on
// some systems, part), and the rest waits for the next pass. When all is
// written the write end is closed, which the child reads as end of file.
class InputFeeder {
public:
    InputFeeder(UniqueHandle& writeEnd, std::string_view input, DWORD pipeSize)
        : writeEnd_(writeEnd),
          rest_(input),
          maxWriteSize_(std::max(pipeSize, kMinWriteSize)),
          writeSize_(maxWriteSize_)
    {
        DWORD mode = PIPE_READMODE_BYTE | PIPE_NOWAIT;
        if (!SetNamedPipeHandleState(writeEnd_.get(), &mode, nullptr, nullptr)) {
            RaiseWithLastError(messages::kPipeOpenFailed);
        }
        // The end stays open after the start, so the child must not inherit
        // it: its own copy would keep it from ever seeing end of file.
        if (!SetHandleInformation(writeEnd_.get(), HANDLE_FLAG_INHERIT, 0)) {
            RaiseWithLastError(messages::kPipeOpenFailed);
        }
    }

    // Writes what fits now; tells whether a byte moved.
    bool Feed()
    {
        bool moved = false;
        while (writeEnd_ && !rest_.empty()) {
            const DWORD size = static_cast<DWORD>(std::min<std::size_t>(rest_.size(), writeSize_));
            DWORD written = 0;
            if (!WriteFile(writeEnd_.get(), rest_.data(), size, &written, nullptr)) {
                const DWORD error = GetLastError();
                if (error == ERROR_NO_DATA || error == ERROR_BROKEN_PIPE) {
                    // The child closed its input without reading all of it:
                    // that is its choice, not a failure.
                    rest_ = {};
                    break;
                }
                RaiseWithLastError(messages::kPipeWriteFailed);
            }
            if (written == 0) {
                if (writeSize_ <= kMinWriteSize) {
                    break;  // the pipe is full; the child has to read first
                }
                writeSize_ /= 2;
                continue;
            }
            rest_.remove_prefix(written);
            writeSize_ = std::min(writeSize_ * 2, maxWriteSize_);
            moved = true;
        }
        if (rest_.empty()) {
            writeEnd_.reset();
        }
        return moved;
    }

private:
    UniqueHandle& writeEnd_;
    std::string_view rest_;
    DWORD maxWriteSize_;
    DWORD writeSize_;
};

template <typename Output, typename Errors>
void Exchange(const ByteString& command, const ByteString& arguments, std::string_view input,
              Output& output, Errors& errors, const ExchangeOptions& options)
{
    ByteString commandLine = BuildCommandLine(ReadInterpreterLine(command), command, arguments);

    std::array<PipePair, 3> pipes;
    SECURITY_ATTRIBUTES inheritable = {sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    for (PipePair& pipe : pipes) {
        if (!CreatePipe(pipe.readEnd.put(), pipe.writeEnd.put(), &inheritable, options.pipeSize)) {
            RaiseWithLastError(messages::kPipeOpenFailed);
        }
    }

    InputFeeder feeder(pipes[kInput].writeEnd, input, options.pipeSize);
    feeder.Feed();

    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.lpDesktop = const_cast<char*>("WinSta0\\Default");
    startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    startup.hStdInput = pipes[kInput].readEnd.get();
    startup.hStdOutput = pipes[kOutput].writeEnd.get();
    startup.hStdError = pipes[kErrors].writeEnd.get();

    ProcessHandles child;
    {
        PROCESS_INFORMATION started = {};
        if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_NEW_CONSOLE,
                            nullptr, nullptr, &startup, &started)) {
            const DWORD error = GetLastError();
            throw ErrorMessage(commandLine +
                               MessageWithCode(messages::kStartFailedAfterCommandLine, error));
        }
        child.process.reset(started.hProcess);
        child.thread.reset(started.hThread);
    }
    child.thread.reset();
    pipes[kInput].readEnd.reset();  // the child holds its own copy

    // The write ends of the output pipes stay open here, so the pipes never
    // report end of file: the child's end alone ends the exchange. Checking
    // for it before draining makes the last pass collect all it wrote.
    const ULONGLONG startTick = GetTickCount64();
    DWORD idleWaitMs = 0;
    for (;;) {
        const bool ended = WaitForSingleObject(child.process.get(), 0) != WAIT_TIMEOUT;
        bool moved = feeder.Feed();
        moved = DrainPipe(pipes[kOutput].readEnd.get(), output) || moved;
        moved = DrainPipe(pipes[kErrors].readEnd.get(), errors) || moved;
        if (ended) {
            return;
        }
        if (options.observer != nullptr &&
            options.observer->ContinueWaiting({commandLine, GetTickCount64() - startTick,
                                               output.size() + errors.size(), false}) != WaitChoice::KeepWaiting) {
            throw ErrorMessage(messages::kWaitAbandoned);
        }
        if (moved) {
            idleWaitMs = 0;
            continue;
        }
        idleWaitMs = std::clamp<DWORD>(idleWaitMs * 2, 1, kMaxIdleWaitMs);
        WaitForSingleObject(child.process.get(), idleWaitMs);
    }
}

}  // namespace

template <typename Output>
void RunChildProcess(const ByteString& command, const ByteString& arguments, std::span<const char> input,
                     Output& output, ByteBuffer& errors, const ExchangeOptions& options)
{
    Exchange(command, arguments, std::string_view(input.data(), input.size()), output, errors, options);
}

template void RunChildProcess(const ByteString&, const ByteString&, std::span<const char>, ByteBuffer&, ByteBuffer&,
                              const ExchangeOptions&);
template void RunChildProcess(const ByteString&, const ByteString&, std::span<const char>, GrowingGlobalBlock&,
                              ByteBuffer&, const ExchangeOptions&);

void RunChildProcessText(const ByteString& command, const ByteString& arguments, std::string_view input,
                         ByteString& output, ByteString& errors, const ExchangeOptions& options)
{
    ByteString collectedOutput;
    ByteString collectedErrors;
    Exchange(command, arguments, input, collectedOutput, collectedErrors, options);
    output = std::move(collectedOutput);
    errors = std::move(collectedErrors);
}

}  // namespace tuvex
