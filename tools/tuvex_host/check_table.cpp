#include "check_table.h"

namespace tuvex::host {

namespace {

std::string Cell(const std::string& text)
{
    std::string cell;
    for (const char c : text) {
        if (c == '|') {
            cell += "\\|";
        } else if (c == '\r' || c == '\n') {
            cell += ' ';
        } else {
            cell += c;
        }
    }
    return cell;
}

const char* ResultName(CheckResult result)
{
    switch (result) {
    case CheckResult::Pass:
        return "PASS";
    case CheckResult::Fail:
        return "FAIL";
    case CheckResult::Note:
        return "NOTE";
    }
    return "?";
}

}  // namespace

std::string FormatCheckTable(const std::string& header, const std::vector<CheckRow>& rows)
{
    std::string table = header + "\n\n| what | expected | got | result |\n|---|---|---|---|\n";
    for (const CheckRow& row : rows) {
        table += "| " + Cell(row.what) + " | " + Cell(row.expected) + " | " + Cell(row.got) + " | " +
                 ResultName(row.result) + " |\n";
    }
    return table;
}

}  // namespace tuvex::host
