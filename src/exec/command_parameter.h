// A filter parameter: the command, "|", then the arguments.
#pragma once

#include <exception>

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

}  // namespace tuvex
