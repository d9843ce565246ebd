// A child's own words come before what went wrong with its call.
#pragma once

namespace tuvex {

// Runs the exchange `run`; when it raises, `showErrors` shows what the child
// wrote to standard error until then, and the failure goes on to be shown
// after it.
template <typename Run, typename ShowErrors>
void RunShowingErrorsBeforeFailure(Run run, ShowErrors showErrors)
{
    try {
        run();
    } catch (...) {
        showErrors();
        throw;
    }
}

}  // namespace tuvex
