#include <cerrno>
#include <cstdio>

#include "common/failure_words.h"
#include "common/messages.h"
#include "common/unique_resource.h"
#include "exec/interpreter_line.h"

namespace tuvex {

ByteString ReadInterpreterLine(const ByteString& file, const ByteString& command)
{
    // An empty name is no file, whatever a C runtime's fopen says of it.
    if (file.empty()) {
        return {};
    }
    const UniqueFile opened(std::fopen(file.c_str(), "r"));
    if (!opened) {
        const int openError = errno;
        if (openError == ENOENT) {
            return {};
        }
        throw ErrorMessage(WithWords(command + MessageWithCode(messages::kOpenFailedAfterSubject, openError),
                                     OpenFailureWords(openError, OpenedFile::Command)));
    }
    char line[kInterpreterLineBufferSize + 1] = {};
    if (!std::fgets(line, kInterpreterLineBufferSize, opened.get())) {
        return {};
    }
    return InterpreterFromFirstLine(line);
}

}  // namespace tuvex
