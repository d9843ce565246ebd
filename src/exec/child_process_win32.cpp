#include <windows.h>

#include <algorithm>
#include <array>
#include <vector>

#include "common/failure_words.h"
#include "common/messages.h"
#include "common/system_text_win32.h"
#include "common/win32_resource.h"
#include "exec/child_process.h"
#include "exec/command_line.h"
#include "exec/command_lookup.h"
#include "exec/interpreter_line.h"

namespace tuvex {

namespace {

// The two ends of one anonymous pipe. The read end is closed first.
struct PipePair {
    UniqueHandle writeEnd;
    UniqueHandle readEnd;
};

enum PipeIndex { kInput = 0, kOutput = 1, kErrors = 2 };

// The started child and the job it runs in (none where the system refuses
// one), each released on every path. The job does not end the child when it
// is closed.
struct StartedChild {
    UniqueHandle process;
    UniqueHandle job;
};

// Reads are at least this large, so a fast child is drained in few calls.
constexpr DWORD kMinReadSize = 64 * 1024;
// One drain ends once it has moved this much, so that a child writing faster
// than the host reads still lets the pass end and the wait be given up.
constexpr std::size_t kMaxDrainSize = std::size_t(16) << 20;
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

// The start failure's line, then what the code means: for the program that
// the command line starts, by its path.
[[noreturn]] void RaiseStartFailed(const ByteString& commandLine, DWORD error)
{
    const ByteString systemText = SystemTextCp932(error, ProgramOfCommandLine(commandLine));
    throw ErrorMessage(WithWords(commandLine + MessageWithCode(messages::kStartFailedAfterCommandLine, error),
                                 StartFailureWords(error, systemText)));
}

// Raises why `command`, located at `location`, cannot run: it exists only in
// the current folder, or nowhere (then as if the start of
// `commandLineAsWritten` had failed for want of the file, with what was
// looked for and where). `namedOnInterpreterLine` tells a script's "#!"
// program from the command itself.
void RaiseIfNotRunnable(const CommandLocation& location, const ByteString& command,
                        const ByteString& commandLineAsWritten, bool namedOnInterpreterLine)
{
    const ByteString name(CommandName(command));
    if (location.onlyInCurrentFolder) {
        throw ErrorMessage(name + messages::kOnlyInCurrentFolderAfterCommand + name + messages::kWriteDotBackslashAfterCommand);
    }
    if (location.file.empty()) {
        const ByteString firstLine =
            commandLineAsWritten + MessageWithCode(messages::kStartFailedAfterCommandLine, ERROR_FILE_NOT_FOUND);
        throw ErrorMessage(WithWords(firstLine, MissingProgramWords({name, namedOnInterpreterLine, location.triedNames,
                                                                     location.searchedFolders})));
    }
}

// The command line that starts `command`: its file's full path in quotes, or,
// for a "#!" script, the interpreter's program by its full path in quotes,
// the options on the "#!" line and the script's path in quotes; then the
// arguments as written.
ByteString StartingCommandLine(const ByteString& command, const ByteString& arguments)
{
    const CommandLocation script = LocateCommand(command);
    RaiseIfNotRunnable(script, command, BuildCommandLine("", command, arguments), false);
    const ByteString interpreter = ReadInterpreterLine(script.file, command);
    const InterpreterCommand interpreterCommand = SplitInterpreter(interpreter);
    if (interpreterCommand.program.empty()) {
        return BuildCommandLine("", Quoted(script.file), arguments);
    }
    const CommandLocation program = LocateCommand(interpreterCommand.program);
    RaiseIfNotRunnable(program, interpreterCommand.program, BuildCommandLine(interpreter, command, arguments), true);
    return BuildCommandLine(Quoted(program.file) + interpreterCommand.options, script.file, arguments);
}

// Makes the child's pipe ends inheritable while it lives, so that no start
// but the child's own (which names them in its handle list) can take them
// afterwards.
class InheritableForStart {
public:
    explicit InheritableForStart(const std::array<HANDLE, 3>& handles) : handles_(handles)
    {
        for (HANDLE handle : handles_) {
            if (!SetHandleInformation(handle, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT)) {
                error_ = GetLastError();
            }
        }
    }
    ~InheritableForStart()
    {
        for (HANDLE handle : handles_) {
            SetHandleInformation(handle, HANDLE_FLAG_INHERIT, 0);
        }
    }
    InheritableForStart(const InheritableForStart&) = delete;
    InheritableForStart& operator=(const InheritableForStart&) = delete;

    // The error of a handle that could not be made inheritable; 0 when none.
    DWORD error() const { return error_; }

private:
    std::array<HANDLE, 3> handles_;
    DWORD error_ = 0;
};

// An attribute list that hands the child exactly the given handles.
class InheritedHandleList {
public:
    explicit InheritedHandleList(const std::array<HANDLE, 3>& handles) : handles_(handles)
    {
        SIZE_T size = 0;
        InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
        storage_.resize(size);
        auto* list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage_.data());
        if (!InitializeProcThreadAttributeList(list, 1, 0, &size)) {
            error_ = GetLastError();
            return;
        }
        list_.reset(list);
        if (!UpdateProcThreadAttribute(list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, handles_.data(),
                                       sizeof(HANDLE) * handles_.size(), nullptr, nullptr)) {
            error_ = GetLastError();
        }
    }

    // The list points into this object, which therefore stays where it is.
    InheritedHandleList(const InheritedHandleList&) = delete;
    InheritedHandleList& operator=(const InheritedHandleList&) = delete;

    LPPROC_THREAD_ATTRIBUTE_LIST get() const { return list_.get(); }
    // The error of a step that failed; 0 when the list is whole.
    DWORD error() const { return error_; }

private:
    std::array<HANDLE, 3> handles_;  // the list refers to this array
    std::vector<char> storage_;      // the list's memory, released after it
    UniqueAttributeList list_;
    DWORD error_ = 0;
};

// Starts the command line as a hidden child with a new console whose standard
// handles are `standardHandles` (input, output, error) and which inherits
// nothing else. The child starts suspended and is let go once it is in a
// job of its own, so that everything it starts belongs to the job too.
StartedChild StartChild(ByteString& commandLine, const std::array<HANDLE, 3>& standardHandles)
{
    const InheritableForStart inheritable(standardHandles);
    if (inheritable.error() != 0) {
        RaiseStartFailed(commandLine, inheritable.error());
    }
    const InheritedHandleList handleList(standardHandles);
    if (handleList.error() != 0) {
        RaiseStartFailed(commandLine, handleList.error());
    }

    STARTUPINFOEXA startup = {};
    startup.StartupInfo.cb = sizeof(startup);
    startup.StartupInfo.lpDesktop = const_cast<char*>("WinSta0\\Default");
    startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
    startup.StartupInfo.wShowWindow = SW_HIDE;
    startup.StartupInfo.hStdInput = standardHandles[kInput];
    startup.StartupInfo.hStdOutput = standardHandles[kOutput];
    startup.StartupInfo.hStdError = standardHandles[kErrors];
    startup.lpAttributeList = handleList.get();

    StartedChild child;
    UniqueHandle thread;
    {
        PROCESS_INFORMATION started = {};
        if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE,
                            CREATE_NEW_CONSOLE | CREATE_SUSPENDED | EXTENDED_STARTUPINFO_PRESENT, nullptr,
                            nullptr, &startup.StartupInfo, &started)) {
            RaiseStartFailed(commandLine, GetLastError());
        }
        child.process.reset(started.hProcess);
        thread.reset(started.hThread);
    }
    // A host whose own job forbids a nested one still runs the command,
    // only without the means to end it.
    child.job.reset(CreateJobObjectA(nullptr, nullptr));
    if (child.job && !AssignProcessToJobObject(child.job.get(), child.process.get())) {
        child.job.reset();
    }
    if (ResumeThread(thread.get()) == static_cast<DWORD>(-1)) {
        const DWORD error = GetLastError();
        TerminateProcess(child.process.get(), error);  // it never ran, and never will
        RaiseStartFailed(commandLine, error);
    }
    return child;
}

// A write to a pipe whose quota is used up for now: the child has to read
// first, as with a full pipe.
bool IsPipeFullForNow(DWORD writeError)
{
    return writeError == ERROR_NO_SYSTEM_RESOURCES || writeError == ERROR_NOT_ENOUGH_QUOTA;
}

// Moves what waits in `pipe` to `target`, in reads as large as what waits,
// until the pipe is empty for the moment or kMaxDrainSize has moved. Never
// blocks: a read is issued only when bytes wait.
bool DrainPipe(HANDLE pipe, ByteSink& target)
{
    std::size_t moved = 0;
    while (moved < kMaxDrainSize) {
        DWORD available = 0;
        if (!PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr)) {
            RaiseWithLastError(messages::kPipePeekFailed);
        }
        if (available == 0) {
            return moved != 0;
        }
        // Reads ask for more than waits, but not beyond the room the target
        // already has when what waits fits there: growing a buffer that is
        // about to hold the whole output would double it for a few bytes.
        const std::size_t room = target.room();
        const DWORD wanted = available <= room ? static_cast<DWORD>(std::min<std::size_t>(
                                                     std::max(available, kMinReadSize), room))
                                               : std::max(available, kMinReadSize);
        char* const into = target.Extend(wanted);
        DWORD received = 0;
        const BOOL ok = ReadFile(pipe, into, wanted, &received, nullptr);
        const DWORD readError = GetLastError();
        target.Commit(received);
        if (!ok) {
            SetLastError(readError);
            RaiseWithLastError(messages::kPipeReadFailed);
        }
        moved += received;
    }
    return true;
}

// Feeds the child's input without ever blocking: the write end is in
// non-blocking mode, so a write that does not fit writes nothing (or, on
// some systems, part), and the rest waits for the next pass. When all is
// written the write end is closed, which the child reads as end of file.
class InputFeeder {
public:
    InputFeeder(UniqueHandle& writeEnd, ByteSource& input, DWORD pipeSize)
        : writeEnd_(writeEnd),
          input_(input),
          maxWriteSize_(std::max(pipeSize, kMinWriteSize)),
          writeSize_(maxWriteSize_)
    {
        DWORD mode = PIPE_READMODE_BYTE | PIPE_NOWAIT;
        if (!SetNamedPipeHandleState(writeEnd_.get(), &mode, nullptr, nullptr)) {
            RaiseWithLastError(messages::kPipeOpenFailed);
        }
    }

    // Writes what fits now; tells whether a byte moved.
    bool Feed()
    {
        bool moved = false;
        std::span<const char> pending;
        while (writeEnd_ && !(pending = input_.Pending()).empty()) {
            const DWORD size = static_cast<DWORD>(std::min<std::size_t>(pending.size(), writeSize_));
            DWORD written = 0;
            if (!WriteFile(writeEnd_.get(), pending.data(), size, &written, nullptr)) {
                const DWORD error = GetLastError();
                if (error == ERROR_NO_DATA || error == ERROR_BROKEN_PIPE) {
                    // The child closed its input without reading all of it:
                    // that is its choice, not a failure.
                    writeEnd_.reset();
                    break;
                }
                if (!IsPipeFullForNow(error)) {
                    RaiseWithLastError(messages::kPipeWriteFailed);
                }
            }
            if (written == 0) {
                if (writeSize_ <= kMinWriteSize) {
                    break;  // the pipe is full; the child has to read first
                }
                writeSize_ /= 2;
                continue;
            }
            input_.Consume(written);
            writeSize_ = std::min(writeSize_ * 2, maxWriteSize_);
            moved = true;
        }
        if (writeEnd_ && pending.empty()) {
            writeEnd_.reset();
        }
        return moved;
    }

private:
    UniqueHandle& writeEnd_;
    ByteSource& input_;
    DWORD maxWriteSize_;
    DWORD writeSize_;
};

// What the user chose for a command still running, done: raises the message
// that ends the wait.
[[noreturn]] void EndWait(WaitChoice choice, const StartedChild& child)
{
    if (choice == WaitChoice::EndCommand && child.job && TerminateJobObject(child.job.get(), 1)) {
        throw ErrorMessage(messages::kCommandEnded);
    }
    throw ErrorMessage(messages::kWaitAbandoned);
}

std::uint32_t Exchange(const ByteString& command, const ByteString& arguments, ByteSource& input,
                       ByteSink& output, ByteSink& errors, const ExchangeOptions& options)
{
    ByteString commandLine = StartingCommandLine(command, arguments);

    // Made non-inheritable: only the start below hands the child its ends.
    std::array<PipePair, 3> pipes;
    for (PipePair& pipe : pipes) {
        if (!CreatePipe(pipe.readEnd.put(), pipe.writeEnd.put(), nullptr, options.pipeSize)) {
            RaiseWithLastError(messages::kPipeOpenFailed);
        }
    }

    InputFeeder feeder(pipes[kInput].writeEnd, input, options.pipeSize);
    feeder.Feed();

    const StartedChild child = StartChild(
        commandLine, {pipes[kInput].readEnd.get(), pipes[kOutput].writeEnd.get(), pipes[kErrors].writeEnd.get()});
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
            DWORD exitStatus = 0;
            GetExitCodeProcess(child.process.get(), &exitStatus);
            return exitStatus;
        }
        if (options.observer != nullptr) {
            const WaitChoice choice = options.observer->ContinueWaiting(
                {commandLine, GetTickCount64() - startTick, output.size() + errors.size(), bool(child.job)});
            if (choice != WaitChoice::KeepWaiting) {
                EndWait(choice, child);
            }
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

std::uint32_t RunChildProcess(const ByteString& command, const ByteString& arguments, ByteSource& input,
                              ByteSink& output, ByteSink& errors, const ExchangeOptions& options)
{
    return Exchange(command, arguments, input, output, errors, options);
}

std::uint32_t RunChildProcessText(const ByteString& command, const ByteString& arguments, std::string_view input,
                                  ByteString& output, ByteString& errors, const ExchangeOptions& options)
{
    ByteString collectedOutput;
    ByteString collectedErrors;
    AppendingSink outputSink(collectedOutput);
    AppendingSink errorSink(collectedErrors);
    SpanSource source(std::span<const char>(input.data(), input.size()));
    const std::uint32_t exitStatus = Exchange(command, arguments, source, outputSink, errorSink, options);
    output = std::move(collectedOutput);
    errors = std::move(collectedErrors);
    return exitStatus;
}

}  // namespace tuvex
