#include <windows.h>

#include <cerrno>
#include <cstdio>

#include "common/messages.h"
#include "common/unique_resource.h"
#include "exec/interpreter_line.h"

namespace tuvex {

namespace {

[[noreturn]] void RaiseOpenFailed(const ByteString& command, int errorNumber)
{
    throw ErrorMessage(command + MessageWithCode(messages::kOpenFailedAfterSubject, errorNumber));
}

// The file found for `command` through the system's search path, without an
// extension appended; empty when there is none.
ByteString SearchCommandFile(const ByteString& command)
{
    const DWORD size = SearchPathA(nullptr, command.c_str(), nullptr, 0, nullptr, nullptr);
    if (size == 0) {
        return {};
    }
    ByteString path(size + 1, '\0');
    const DWORD length = SearchPathA(nullptr, command.c_str(), nullptr, size, path.data(), nullptr);
    path.resize(length < size ? length : 0);
    return path;
}

}  // namespace

ByteString ReadInterpreterLine(const ByteString& command)
{
    UniqueFile file(std::fopen(command.c_str(), "r"));
    if (!file) {
        const int openError = errno;
        if (openError != ENOENT) {
            RaiseOpenFailed(command, openError);
        }
        const ByteString found = SearchCommandFile(command);
        if (found.empty()) {
            return {};
        }
        file.reset(std::fopen(found.c_str(), "r"));
        if (!file) {
            RaiseOpenFailed(command, errno);
        }
    }

    char line[kInterpreterLineBufferSize + 1] = {};
    if (!std::fgets(line, kInterpreterLineBufferSize, file.get())) {
        return {};
    }
    file.reset();
    return InterpreterFromFirstLine(line);
}

}  // namespace tuvex
