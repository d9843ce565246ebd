// The table that `tuvex_host check` prints: one row per behaviour of Windows
// that the module relies on, as a Markdown table to paste into a report.
#pragma once

#include <string>
#include <vector>

namespace tuvex::host {

enum class CheckResult {
    Pass,  // as the module expects
    Fail,  // otherwise: the module's assumption does not hold here
    Note,  // a value worth knowing, with nothing expected of it
};

struct CheckRow {
    std::string what;
    std::string expected;
    std::string got;
    CheckResult result;
};

// UTF-8 text: a header line, then the table. A "|" inside a cell is
// escaped, a line end becomes a blank.
std::string FormatCheckTable(const std::string& header, const std::vector<CheckRow>& rows);

}  // namespace tuvex::host
