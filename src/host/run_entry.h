#pragma once

namespace tuvex {

// Runs `command` with `arguments` on `input` (each null counts as empty) and
// returns the child's standard output, kept by the module until a call that
// begins after this one has returned; the arguments may point into such a
// string. Standard error and failures are shown in a message box.
const char* RunCommandOnText(const char* input, const char* command, const char* arguments) noexcept;

}  // namespace tuvex
