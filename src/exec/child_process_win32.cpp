#include <windows.h>
#include <ntsecapi.h>

#include <algorithm>
#include <array>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "common/win32_resource.h"
#include "exec/child_process.h"
#include "exec/command_line.h"
#include "exec/command_lookup.h"
#include "exec/interpreter_line.h"
#include "exec/output_limit.h"

namespace tuvex {

namespace {

enum PipeIndex { kInput = 0, kOutput = 1, kErrors = 2 };

// The started child and the job it runs in (none where the system refuses
// one), each released on every path. The job does not end the child when it
// is closed.
struct StartedChild {
    UniqueHandle process;
    UniqueHandle job;
};

// A read that has to make room asks for at least this much, so a fast child
// is drained in few reads.
constexpr DWORD kMinReadSize = 64 * 1024;
// Reads ask for at most this much: a pipe gives what it holds, which is
// about its buffer.
constexpr DWORD kMaxReadSize = 1024 * 1024;

[[noreturn]] void Raise(ExchangeStep step, DWORD error)
{
    throw ExchangeError(step, error);
}

[[noreturn]] void RaiseWithLastError(ExchangeStep step)
{
    Raise(step, GetLastError());
}

[[noreturn]] void RaiseStartFailed(const ByteString& commandLine, DWORD error)
{
    ExchangeError failure(ExchangeStep::Start, error);
    failure.commandLine = commandLine;
    throw failure;
}

// Raises why `command`, located at `location`, cannot run: it exists only in
// the current folder, its path is too long for the system to look at, or it
// is nowhere (then as if the start of `commandLineAsWritten` had failed for
// want of the file, with what was looked for and where).
// `namedOnInterpreterLine` tells a script's "#!" program from the command
// itself.
void RaiseIfNotRunnable(const CommandLocation& location, const ByteString& command,
                        const ByteString& commandLineAsWritten, bool namedOnInterpreterLine)
{
    const ByteString name(CommandName(command));
    if (location.onlyInCurrentFolder) {
        ExchangeError failure(ExchangeStep::OnlyInCurrentFolder, 0);
        failure.subject = name;
        throw failure;
    }
    if (location.file.empty() && name.size() > kLongestPath) {
        ExchangeError failure(ExchangeStep::PathTooLong, 0);
        failure.subject = name;
        failure.count = name.size();
        failure.limit = kLongestPath;
        throw failure;
    }
    if (location.file.empty()) {
        ExchangeError failure(ExchangeStep::Start, ERROR_FILE_NOT_FOUND);
        failure.commandLine = commandLineAsWritten;
        failure.missing = ProgramNotFound{name, namedOnInterpreterLine, location.triedNames, location.searchedFolders};
        throw failure;
    }
}

// The command line that starts `command`: its file's full path in quotes, or,
// for a "#!" script, the interpreter's program by its full path in quotes,
// the options on the "#!" line and the script's path in quotes; then the
// arguments as written. A relative "#!" program is taken from the script's
// folder; a Unix "#!" line is read as LocateInterpreter says.
ByteString StartingCommandLine(const ByteString& command, const ByteString& arguments)
{
    const CommandLocation script = LocateCommand(command);
    RaiseIfNotRunnable(script, command, BuildCommandLine("", command, arguments), false);
    const ByteString interpreter = ReadInterpreterLine(script.file, command);
    const LocatedInterpreter program = LocateInterpreter(interpreter, script.file);
    if (program.name.empty()) {
        return WithinCommandLineLimit(BuildCommandLine("", Quoted(script.file), arguments));
    }
    RaiseIfNotRunnable(program.location, program.name, BuildCommandLine(interpreter, command, arguments), true);
    return WithinCommandLineLimit(
        BuildCommandLine(Quoted(program.location.file) + program.options, script.file, arguments));
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

// A hidden child that crashes ends at once, it and all it started, instead
// of waiting behind a crash dialog that no one sees: the system sets
// SEM_NOGPFAULTERRORBOX for every process in such a job. That is the only way
// to the child's error mode: a child inherits the editor's, and changing the
// editor's for the start would change it for all the editor does meanwhile.
// The job has no other limit; closing it leaves its processes running. A job
// that refuses the limit still serves to end the command.
void DieOnUnhandledException(HANDLE job)
{
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_DIE_ON_UNHANDLED_EXCEPTION;
    SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof(limits));
}

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
    if (child.job) {
        DieOnUnhandledException(child.job.get());
    }
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

// One pipe between the host and the child. The host's end is overlapped, so
// that one wait covers all three pipes and the process; the child's end is
// synchronous, as every program expects, and is handed to the child alone.
struct ChildPipe {
    UniqueFileHandle hostEnd;
    UniqueFileHandle childEnd;
};

enum class ChildSide { Reads, Writes };

// A pipe name that no other process can guess: made with the first instance
// and for this machine only, so that nobody else can open either end.
std::wstring UniquePipeName()
{
    unsigned char random[16];
    if (!RtlGenRandom(random, sizeof random)) {
        RaiseWithLastError(ExchangeStep::OpenPipe);
    }
    static const wchar_t digits[] = L"0123456789abcdef";
    std::wstring name = L"\\\\.\\pipe\\Tuvex-" + std::to_wstring(GetCurrentProcessId()) + L"-";
    for (unsigned char byte : random) {
        name += digits[byte >> 4];
        name += digits[byte & 15];
    }
    return name;
}

// A security descriptor whose access list lets only the user that the host
// runs as open the object. A named pipe rather than an anonymous one, since
// only a named pipe's end can be overlapped; its name is random, and this
// list keeps out other users of the machine, whom the default list lets
// open a pipe for reading (and so take it before the child's end is opened).
class OwnUserOnly {
public:
    OwnUserOnly()
    {
        UniqueHandle token;
        DWORD size = 0;
        if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.put())) {
            RaiseWithLastError(ExchangeStep::OpenPipe);
        }
        GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
        user_.resize(size);
        if (!GetTokenInformation(token.get(), TokenUser, user_.data(), size, &size)) {
            RaiseWithLastError(ExchangeStep::OpenPipe);
        }
        const PSID sid = reinterpret_cast<const TOKEN_USER*>(user_.data())->User.Sid;
        acl_.resize(sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) + GetLengthSid(sid));
        auto* const acl = reinterpret_cast<ACL*>(acl_.data());
        if (!InitializeAcl(acl, static_cast<DWORD>(acl_.size()), ACL_REVISION) ||
            !AddAccessAllowedAce(acl, ACL_REVISION, FILE_ALL_ACCESS, sid) ||
            !InitializeSecurityDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION) ||
            !SetSecurityDescriptorDacl(&descriptor_, TRUE, acl, FALSE)) {
            RaiseWithLastError(ExchangeStep::OpenPipe);
        }
        attributes_.lpSecurityDescriptor = &descriptor_;
    }
    // The descriptor points into this object, which therefore stays where it is.
    OwnUserOnly(const OwnUserOnly&) = delete;
    OwnUserOnly& operator=(const OwnUserOnly&) = delete;

    // Not inheritable: only the child's start hands an end on.
    SECURITY_ATTRIBUTES* attributes() { return &attributes_; }

private:
    std::vector<char> user_;  // TOKEN_USER, whose SID the list names
    std::vector<char> acl_;
    SECURITY_DESCRIPTOR descriptor_ = {};
    SECURITY_ATTRIBUTES attributes_ = {sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
};

// Makes a pipe that only this user can open, whose child end is not
// inheritable: only the child's start hands it on.
ChildPipe CreateChildPipe(ChildSide childSide, DWORD size)
{
    const std::wstring name = UniquePipeName();
    const bool childReads = childSide == ChildSide::Reads;
    OwnUserOnly security;
    ChildPipe pipe;
    pipe.hostEnd.reset(CreateNamedPipeW(
        name.c_str(),
        (childReads ? PIPE_ACCESS_OUTBOUND : PIPE_ACCESS_INBOUND) | FILE_FLAG_FIRST_PIPE_INSTANCE | FILE_FLAG_OVERLAPPED,
        PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1, size, size, 0,
        security.attributes()));
    if (!pipe.hostEnd) {
        RaiseWithLastError(ExchangeStep::OpenPipe);
    }
    // The same access as the ends of an anonymous pipe: a child may set its
    // input's mode, or ask about its outputs.
    pipe.childEnd.reset(
        CreateFileW(name.c_str(), childReads ? GENERIC_READ | FILE_WRITE_ATTRIBUTES : GENERIC_WRITE | FILE_READ_ATTRIBUTES,
                    0, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!pipe.childEnd) {
        RaiseWithLastError(ExchangeStep::OpenPipe);
    }
    return pipe;
}

// What an overlapped read or write came to: the bytes it moved and its
// error (0 when none).
struct IoResult {
    DWORD count = 0;
    DWORD error = 0;
    // It could not be stopped: the system may still move bytes, and `error`
    // says why the cancel or the wait for it failed.
    bool stillRunning = false;
};

// One overlapped read or write at a time on a host end, with its event.
// While it is pending the system reads from or writes into the caller's
// memory and writes its result into the OVERLAPPED, so it is cancelled when
// it goes, and waited for: on every path out the memory outlives the
// operation. Where the cancel or the wait fails, the OVERLAPPED and the event
// are left to the system for good (never freed), and so must the caller's
// memory be (see OutputReader).
class OverlappedOperation {
public:
    explicit OverlappedOperation(HANDLE pipe)
        : pipe_(pipe), event_(CreateEventW(nullptr, TRUE, FALSE, nullptr)), overlapped_(new OVERLAPPED{})
    {
        if (!event_) {
            RaiseWithLastError(ExchangeStep::OpenPipe);
        }
    }
    ~OverlappedOperation()
    {
        if (pending_) {
            Cancel();
        }
    }
    OverlappedOperation(const OverlappedOperation&) = delete;
    OverlappedOperation& operator=(const OverlappedOperation&) = delete;

    HANDLE event() const { return event_.get(); }
    bool pending() const { return pending_; }
    // A pending operation that has completed, at once or since.
    bool completed() const { return pending_ && HasOverlappedIoCompleted(overlapped_.get()); }

    // Issues a read into `into` or a write from `from`; returns the error of
    // one that failed at once, 0 when it is under way.
    DWORD Read(char* into, DWORD size)
    {
        return Issue(ReadFile(pipe_, into, size, nullptr, Reset()));
    }
    DWORD Write(const char* from, DWORD size)
    {
        return Issue(WriteFile(pipe_, from, size, nullptr, Reset()));
    }

    // What the completed operation moved.
    IoResult Finish() { return Result(FALSE); }

    // Cancels the operation, waits until the system is done with it and
    // tells what it moved before (ERROR_OPERATION_ABORTED when nothing). One
    // that cannot be stopped is given up: the operation is no longer pending
    // here, though it may still be in the system.
    IoResult Cancel()
    {
        if (!CancelIoEx(pipe_, overlapped_.get()) && GetLastError() != ERROR_NOT_FOUND) {
            return GiveUp(GetLastError());  // a wait might never end
        }
        const IoResult result = Result(TRUE);
        return HasOverlappedIoCompleted(overlapped_.get()) ? result : GiveUp(result.error);
    }

private:
    OVERLAPPED* Reset()
    {
        *overlapped_ = OVERLAPPED{};
        overlapped_->hEvent = event_.get();
        return overlapped_.get();
    }

    IoResult GiveUp(DWORD error)
    {
        overlapped_.release();
        event_.release();
        pending_ = false;
        return {0, error, true};
    }

    DWORD Issue(BOOL completedAtOnce)
    {
        const DWORD error = completedAtOnce ? ERROR_SUCCESS : GetLastError();
        pending_ = error == ERROR_SUCCESS || error == ERROR_IO_PENDING;
        return pending_ ? ERROR_SUCCESS : error;
    }

    IoResult Result(BOOL wait)
    {
        IoResult result;
        if (!GetOverlappedResult(pipe_, overlapped_.get(), &result.count, wait)) {
            result.error = GetLastError();
        }
        pending_ = false;
        return result;
    }

    HANDLE pipe_;
    UniqueHandle event_;
    std::unique_ptr<OVERLAPPED> overlapped_;  // apart, so that it can be left to the system
    bool pending_ = false;
};

// Writes the child's input, one write pending at a time, straight from the
// source's bytes, and closes the host's end once all is written, which the
// child reads as end of file. A child that closes its input first has chosen
// so: the rest is not written, and that is no failure.
class InputFeeder {
public:
    InputFeeder(UniqueFileHandle& hostEnd, ByteSource& input, DWORD maxWriteSize)
        : hostEnd_(hostEnd), input_(input), write_(hostEnd.get()), maxWriteSize_(maxWriteSize)
    {
    }

    // The event to wait on; null once the input is closed.
    HANDLE event() const { return hostEnd_ ? write_.event() : nullptr; }

    // Takes a completed write and issues the next.
    void Advance()
    {
        if (write_.pending()) {
            if (!write_.completed()) {
                return;
            }
            const IoResult result = write_.Finish();
            if (result.error != ERROR_SUCCESS) {
                EndOrRaise(result.error);
                return;
            }
            input_.Consume(result.count);
        }
        if (!hostEnd_) {
            return;
        }
        const std::span<const char> pending = input_.Pending();
        if (pending.empty()) {
            hostEnd_.reset();
            return;
        }
        // A pending write's bytes are held by the system meanwhile: a pipe's
        // worth at a time keeps the pipe full.
        const auto size = static_cast<DWORD>(std::min<std::size_t>(pending.size(), maxWriteSize_));
        if (const DWORD error = write_.Write(pending.data(), size); error != ERROR_SUCCESS) {
            EndOrRaise(error);
        }
    }

    // Has the source keep the rest of the input in memory of its own. A
    // write pending from the source's memory is cancelled first, and what it
    // had not written is written again from the kept copy.
    void KeepInput()
    {
        if (write_.pending()) {
            const IoResult result = write_.Cancel();
            if (result.stillRunning) {
                Raise(ExchangeStep::WriteInput, result.error);
            }
            if (result.error == ERROR_SUCCESS || result.error == ERROR_OPERATION_ABORTED) {
                input_.Consume(result.count);
            } else {
                EndOrRaise(result.error);
            }
        }
        input_.KeepRest();
        Advance();
    }

private:
    void EndOrRaise(DWORD error)
    {
        if (error != ERROR_NO_DATA && error != ERROR_BROKEN_PIPE) {
            Raise(ExchangeStep::WriteInput, error);
        }
        hostEnd_.reset();
    }

    UniqueFileHandle& hostEnd_;
    ByteSource& input_;
    // Never pending once the host's end is closed. A write given up on the
    // way out leaves the source's bytes to their owner all the same: the
    // system only reads them, and what it might read once they are gone
    // goes to the child alone, which runs as this user anyway.
    OverlappedOperation write_;
    DWORD maxWriteSize_;
};

// What a reader raises when bytes wait beyond its limit.
struct OutputLimitReached {};

// Reads one of the child's outputs into its sink, one read pending at a
// time, straight into room that the sink makes at its end. A sink without
// room gets a read of no bytes first, which completes once bytes wait: a sink
// that holds the whole output does not grow for an end of file. Raises
// OutputLimitReached once bytes wait beyond `limit` bytes: output of just
// that size is taken whole.
class OutputReader {
public:
    OutputReader(HANDLE hostEnd, ByteSink& sink, std::uint64_t limit = UINT64_MAX)
        : sink_(sink), read_(hostEnd), limit_(limit)
    {
    }
    // A read cancelled on the way out keeps what it got; the failure that
    // led here is what the caller sees.
    ~OutputReader()
    {
        if (read_.pending()) {
            try {
                Take(read_.Cancel());
            } catch (...) {
            }
        }
    }
    OutputReader(const OutputReader&) = delete;
    OutputReader& operator=(const OutputReader&) = delete;

    // The event to wait on; null once the output has ended.
    HANDLE event() const { return ended_ ? nullptr : read_.event(); }
    // Bytes read so far.
    std::uint64_t received() const { return received_; }

    // Takes a completed read and issues the next.
    void Advance()
    {
        if (read_.completed()) {
            Take(read_.Finish());
        }
        if (!read_.pending() && !ended_) {
            Issue();
        }
    }

    // Takes what waits in the pipe now, without waiting for more: once the
    // child has ended, everything it wrote is in the pipe, and a process that
    // it started may hold the pipe open for as long as it likes. Stops after
    // `limit` bytes, so that such a process writing without end cannot hold
    // the call either.
    void TakeWhatWaits(std::uint64_t limit)
    {
        const std::uint64_t end = received_ + limit;
        while (!ended_ && received_ < end) {
            if (!read_.pending()) {
                Issue();
                continue;
            }
            // A read still pending once its bytes could have come finds
            // the pipe empty.
            if (!Take(read_.completed() ? read_.Finish() : read_.Cancel())) {
                return;
            }
        }
    }

private:
    void Issue()
    {
        const std::size_t room = sink_.room();
        const std::uint64_t allowed = limit_ - received_;
        if (allowed == 0 && bytesWait_) {
            throw OutputLimitReached{};
        }
        probing_ = (room == 0 || allowed == 0) && !bytesWait_;
        extended_ = false;
        DWORD error = ERROR_SUCCESS;
        if (probing_) {
            error = read_.Read(&probe_, 0);
        } else {
            const auto size = static_cast<DWORD>(std::min<std::uint64_t>(
                room == 0 ? kMinReadSize : std::min<std::size_t>(room, kMaxReadSize), allowed));
            char* const into = sink_.Extend(size);
            extended_ = true;
            error = read_.Read(into, size);
        }
        bytesWait_ = false;
        if (error != ERROR_SUCCESS) {
            Take({0, error});
        }
    }

    // Takes what a read came to; false when it was cancelled with nothing.
    // A read that could not be stopped may still write into the sink's room:
    // the sink lets go of that memory without freeing it, and the output is
    // lost. Reading into memory of the reader's own instead would cost a copy
    // of every byte for a failure that hardly ever comes.
    bool Take(const IoResult& result)
    {
        if (extended_) {
            extended_ = false;
            if (result.stillRunning) {
                sink_.Abandon();
            } else {
                received_ += result.count;
                sink_.Commit(result.count);
            }
        }
        if (result.stillRunning) {
            Raise(ExchangeStep::ReadOutput, result.error);
        }
        switch (result.error) {
        case ERROR_SUCCESS:
            bytesWait_ = probing_;
            return true;
        case ERROR_BROKEN_PIPE:  // the child, and all that share its end, closed it
            ended_ = true;
            return true;
        case ERROR_OPERATION_ABORTED:
            return result.count != 0;
        default:
            Raise(ExchangeStep::ReadOutput, result.error);
        }
    }

    ByteSink& sink_;
    OverlappedOperation read_;
    char probe_ = 0;          // where a read of no bytes reads into (nothing is written there)
    bool probing_ = false;    // the read under way is one of no bytes
    bool bytesWait_ = false;  // one of no bytes completed: the next read makes room
    bool extended_ = false;   // the sink's room is lent to the read under way
    bool ended_ = false;
    std::uint64_t limit_;
    std::uint64_t received_ = 0;
};

// Waits on the objects alone, when the caller brings no waiter of its own.
class ObjectWaiter final : public ExchangeWaiter {
public:
    WaitOutcome Wait(std::span<void* const> objects, const ExchangeProgress&) override
    {
        const DWORD result = WaitForMultipleObjects(static_cast<DWORD>(objects.size()), objects.data(), FALSE, INFINITE);
        if (result - WAIT_OBJECT_0 < objects.size()) {
            return {WaitChoice::KeepWaiting, result - WAIT_OBJECT_0};
        }
        return {};
    }
};

// Ends the command and everything it started; false where it runs in no job.
bool EndCommand(const StartedChild& child)
{
    return child.job && TerminateJobObject(child.job.get(), 1);
}

// What the user chose for a command still running, done: how the exchange
// ends.
ExchangeEnd EndWait(WaitChoice choice, const StartedChild& child)
{
    return choice == WaitChoice::EndCommand && EndCommand(child) ? ExchangeEnd::CommandEnded
                                                                 : ExchangeEnd::StoppedWaiting;
}

// Runs `step` of the standard output's reader; false when the sink cannot
// grow or the output goes beyond its limit. The command is then ended with all it
// started, since its output is lost anyway: a command that floods its output
// would otherwise run on after the call.
template <typename Step>
bool WithOutputRoom(const StartedChild& child, Step step)
{
    try {
        step();
        return true;
    } catch (const MemoryFailure&) {
    } catch (const std::bad_alloc&) {
    } catch (const OutputLimitReached&) {
    }
    EndCommand(child);
    return false;
}

// The physical memory available now; the most there is when it cannot be told.
std::uint64_t AvailablePhysicalMemory()
{
    MEMORYSTATUSEX status = {};
    status.dwLength = sizeof(status);
    return GlobalMemoryStatusEx(&status) ? status.ullAvailPhys : UINT64_MAX;
}

ExchangeResult Exchange(const ByteString& command, const ByteString& arguments, ByteSource& input,
                       ByteSink& output, ByteSink& errors, const ExchangeOptions& options)
{
    ByteString commandLine = StartingCommandLine(command, arguments);

    std::array<ChildPipe, 3> pipes = {CreateChildPipe(ChildSide::Reads, options.pipeSize),
                                      CreateChildPipe(ChildSide::Writes, options.pipeSize),
                                      CreateChildPipe(ChildSide::Writes, options.pipeSize)};
    // Declared after the pipes: pending reads and writes are cancelled and
    // waited for before the pipes close and before any buffer goes.
    InputFeeder feeder(pipes[kInput].hostEnd, input, options.pipeSize);
    OutputReader outputReader(pipes[kOutput].hostEnd.get(), output,
                              options.outputLimit ? *options.outputLimit : OutputLimit(AvailablePhysicalMemory()));
    OutputReader errorReader(pipes[kErrors].hostEnd.get(), errors);
    feeder.Advance();  // the input's first part waits in the pipe when the child starts

    const StartedChild child = StartChild(
        commandLine, {pipes[kInput].childEnd.get(), pipes[kOutput].childEnd.get(), pipes[kErrors].childEnd.get()});
    for (ChildPipe& pipe : pipes) {
        pipe.childEnd.reset();  // the child holds its own copies
    }

    // An output may end before the child does, or only long after it (a
    // process that it started may hold its end): the child's end alone ends
    // the exchange.
    ObjectWaiter objectWaiter;
    ExchangeWaiter* const waiter = options.waiter ? options.waiter : &objectWaiter;
    ExchangeResult result;
    result.processId = GetProcessId(child.process.get());
    const auto ended = [&](ExchangeEnd end) {
        result.end = end;
        result.outputBytes = outputReader.received();
        result.errorBytes = errorReader.received();
        result.commandLine = std::move(commandLine);
        return result;
    };
    for (;;) {
        feeder.Advance();
        if (!WithOutputRoom(child, [&] { outputReader.Advance(); })) {
            return ended(ExchangeEnd::OutputTooLarge);
        }
        errorReader.Advance();

        std::array<HANDLE, 4> objects = {child.process.get()};
        std::size_t count = 1;
        for (HANDLE event : {feeder.event(), outputReader.event(), errorReader.event()}) {
            if (event != nullptr) {
                objects[count++] = event;
            }
        }
        const WaitOutcome outcome = waiter->Wait(std::span<void* const>(objects.data(), count),
                                                 {commandLine, outputReader.received() + errorReader.received(),
                                                  bool(child.job), [&child] { EndCommand(child); },
                                                  [&feeder] { feeder.KeepInput(); }});
        if (outcome.choice != WaitChoice::KeepWaiting) {
            return ended(EndWait(outcome.choice, child));
        }
        // A wait that failed tells nothing of the child, which may run on:
        // what came so far is no output to use.
        if (!outcome.signalled) {
            RaiseWithLastError(ExchangeStep::Wait);
        }
        if (*outcome.signalled == 0) {
            break;
        }
    }

    // What the child wrote before its end fits in the pipe, which may hold
    // a little more than was asked of it: more than that comes from
    // something it started.
    const std::uint64_t drainLimit = std::uint64_t(options.pipeSize) * 2 + kMaxReadSize;
    if (!WithOutputRoom(child, [&] { outputReader.TakeWhatWaits(drainLimit); })) {
        return ended(ExchangeEnd::OutputTooLarge);
    }
    errorReader.TakeWhatWaits(drainLimit);
    DWORD exitCode = 0;
    if (!GetExitCodeProcess(child.process.get(), &exitCode)) {
        RaiseWithLastError(ExchangeStep::ReadExitCode);
    }
    result.exitCode = exitCode;
    return ended(ExchangeEnd::Completed);
}

}  // namespace

ExchangeResult RunChildProcess(const ByteString& command, const ByteString& arguments, ByteSource& input,
                               ByteSink& output, ByteSink& errors, const ExchangeOptions& options)
{
    return Exchange(command, arguments, input, output, errors, options);
}

ExchangeResult RunChildProcessText(const ByteString& command, const ByteString& arguments, std::string_view input,
                                   ByteString& output, ByteString& errors, const ExchangeOptions& options)
{
    ByteString collectedOutput;
    ByteString collectedErrors;
    AppendingSink outputSink(collectedOutput);
    AppendingSink errorSink(collectedErrors);
    SpanSource source(std::span<const char>(input.data(), input.size()));
    ExchangeResult result = Exchange(command, arguments, source, outputSink, errorSink, options);
    output = std::move(collectedOutput);
    errors = std::move(collectedErrors);
    return result;
}

}  // namespace tuvex
