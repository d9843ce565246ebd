// The tables of code page 932 as this system converts it.
#pragma once

#include "common/code_page_932.h"

namespace tuvex {

// Built from the system's own conversions at the first call, with the
// checks that the module asks of them (invalid bytes refused, no best fit,
// no default character): converting with them gives what the system gives,
// on whichever system the module runs. Built once, then only read.
const Cp932Tables& SystemCp932Tables();

}  // namespace tuvex
