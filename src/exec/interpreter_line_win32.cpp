#include <windows.h>

#include <cerrno>
#include <cstdio>
#include <optional>

#include "common/unique_resource.h"
#include "common/win32_resource.h"
#include "exec/command_lookup.h"
#include "exec/exchange_outcome.h"
#include "exec/interpreter_line.h"

namespace tuvex {

namespace {

// While it lives, a drive without its medium fails at once instead of asking
// the user in a system box that the host would wait on.
class NoCriticalErrorBoxes {
public:
    NoCriticalErrorBoxes() { SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &before_); }
    ~NoCriticalErrorBoxes() { SetThreadErrorMode(before_, nullptr); }
    NoCriticalErrorBoxes(const NoCriticalErrorBoxes&) = delete;
    NoCriticalErrorBoxes& operator=(const NoCriticalErrorBoxes&) = delete;

private:
    DWORD before_ = 0;
};

// What `file` is (FILE_TYPE_DISK for a file or folder on a disk), asked
// without reading: opened for no access at all, a device is neither read nor
// waited on. Empty when it cannot be opened even so.
std::optional<DWORD> FileTypeOf(const ByteString& file)
{
    const NoCriticalErrorBoxes noBoxes;
    const HANDLE opened = CreateFileA(file.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (opened == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    const UniqueFileHandle handle(opened);
    return GetFileType(handle.get());
}

// Only a file on a disk is read: a device's read can wait forever. A device
// known by its name is not even opened.
bool IsDevice(const ByteString& file)
{
    if (NamesDevice(file)) {
        return true;
    }
    const std::optional<DWORD> type = FileTypeOf(file);
    return type && *type != FILE_TYPE_DISK;
}

}  // namespace

LocatedInterpreter LocateInterpreter(std::string_view interpreter, const ByteString& scriptFile)
{
    InterpreterProgram program = InterpreterProgramOf(interpreter);
    LocatedInterpreter located{program.program, std::move(program.options),
                               LocateCommand(InterpreterProgramPath(program.program, scriptFile))};
    if (located.location.file.empty() && !program.nameOtherwise.empty()) {
        located.location = LocateCommand(program.nameOtherwise);
        located.name = std::move(program.nameOtherwise);
    }
    return located;
}

ByteString ReadInterpreterLine(const ByteString& file, const ByteString& command)
{
    // An empty name is no file, whatever a C runtime's fopen says of it.
    if (file.empty()) {
        return {};
    }
    if (IsDevice(file)) {
        ExchangeError error(ExchangeStep::IsDevice, 0);
        error.subject = CommandName(command);
        throw error;
    }
    // What cannot be opened above is opened here all the same, so that the
    // failure is the C runtime's, as the message has always told it.
    const UniqueFile opened(std::fopen(file.c_str(), "r"));
    if (!opened) {
        const int openError = errno;
        if (openError == ENOENT) {
            return {};
        }
        ExchangeError error(ExchangeStep::OpenScript, openError);
        error.subject = command;
        throw error;
    }
    char line[kInterpreterLineBufferSize + 1] = {};
    if (!std::fgets(line, kInterpreterLineBufferSize, opened.get())) {
        return {};
    }
    return InterpreterFromFirstLine(line);
}

}  // namespace tuvex
