// A filter parameter: the command, "|", then the arguments.
#pragma once

#include <exception>
#include <optional>
#include <string_view>

#include "common/tuvex_types.h"

namespace tuvex {

// Why a parameter names no command to run.
enum class ParameterProblem {
    Missing,    // null or empty
    Blank,      // blanks only
    NoCommand,  // nothing before the "|"
};

struct ParameterError : std::exception {
    explicit ParameterError(ParameterProblem found) : problem(found) {}
    const char* what() const noexcept override { return "parameter names no command"; }
    ParameterProblem problem;
};

// Splits `parameter` (zero-terminated; null counts as missing) at its first
// "|" byte after skipping leading white space. Raises ParameterError for a
// missing or blank parameter and for one that names no command.
CommandEntry ParseCommandParameter(const char* parameter);

// A double-byte character whose second byte is the "|" that ended the
// command: the parameter is split there all the same, and the command ends
// in the character's stray first byte.
struct CharacterCutByBar {
    ByteString command;    // the command without the stray byte
    ByteString character;  // the whole character: the stray byte, then "|"
};

// The character that the first "|" of `parameter` (zero-terminated, as for
// ParseCommandParameter) cut in two; nothing when that "|" stands on its own
// or there is none.
std::optional<CharacterCutByBar> CharacterCutByTheBar(std::string_view parameter);

}  // namespace tuvex
