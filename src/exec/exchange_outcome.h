// How a run of a command came out, as data: the host puts it in words.
#pragma once

#include <cstdint>
#include <exception>
#include <optional>
#include <vector>

#include "common/tuvex_types.h"

namespace tuvex {

// How the exchange ended.
enum class ExchangeEnd {
    Completed,       // the command ended; its exit code and all it wrote are there
    StoppedWaiting,  // the user stopped waiting; the command runs on
    CommandEnded,    // the user ended the command and all it started
    OutputTooLarge,  // its output could not be held; it was ended with all it started
};

struct ExchangeResult {
    ExchangeEnd end = ExchangeEnd::Completed;
    std::uint32_t exitCode = 0;  // read only when Completed
    std::uint64_t outputBytes = 0;
    std::uint64_t errorBytes = 0;
    std::uint32_t processId = 0;
    ByteString commandLine;  // as the command was started
};

// The step of a run that failed.
enum class ExchangeStep {
    // Before anything is started.
    OnlyInCurrentFolder,  // `subject`: the command's name
    PathTooLong,          // `subject`: the command's name; `count` and `limit` in bytes
    IsDevice,             // `subject`: the command's name
    OpenScript,           // `subject`: the command as written; `code`: the C runtime's errno
    CommandLineTooLong,   // `count` and `limit` in UTF-16 units
    // The exchange; `code` is the system's error code.
    OpenPipe,
    WriteInput,
    Start,  // `commandLine`; `missing` for a program found nowhere
    ReadOutput,
    Wait,
    ReadExitCode,
};

// A program that the lookup found nowhere, and what it tried.
struct ProgramNotFound {
    ByteString name;  // as the user wrote it
    bool namedOnInterpreterLine = false;
    std::vector<ByteString> triedNames;
    std::vector<ByteString> searchedFolders;  // empty for a name with a folder
};

// A run that failed. Bytes collected until then stay in the sinks.
struct ExchangeError : std::exception {
    ExchangeError(ExchangeStep failedStep, std::int64_t errorCode) : step(failedStep), code(errorCode) {}
    const char* what() const noexcept override { return "exchange failed"; }

    ExchangeStep step;
    std::int64_t code;
    ByteString subject;
    ByteString commandLine;
    std::uint64_t count = 0;
    std::uint64_t limit = 0;
    std::optional<ProgramNotFound> missing;
};

}  // namespace tuvex
