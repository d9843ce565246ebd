// The menu-file doctor: reads a menu definition file as the module reads it
// and says which lines give nothing, or something a user did not mean.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "common/tuvex_types.h"
#include "menu/menu_items.h"

namespace tuvex::host {

// A line of the file as the module's reader takes it: text mode (CR LF
// reads as LF, Ctrl+Z ends the file), at most 1023 bytes at a time.
struct MenuFileLine {
    std::size_t line;  // the line of the file, from 1; pieces of a long line share it
    ByteString text;   // with its LF, when it had one within the piece
};

std::vector<MenuFileLine> ReadMenuFileLines(std::string_view bytes);

struct MenuFinding {
    std::size_t line;  // 0: the file as a whole
    ByteString reason;
};

struct MenuExamination {
    std::unique_ptr<Menu> root;
    // The line of each item of the tree, in the order of a walk from the
    // root (submenus before the items after them), which is file order.
    std::vector<std::size_t> itemLines;
    std::vector<MenuFinding> findings;  // by line
};

MenuExamination ExamineMenuFile(std::string_view bytes);

// Whether `file` is a batch file (".bat" or ".cmd", in any case), which
// Windows runs through the command processor.
bool IsBatchFile(std::string_view file);

// Says where a command would be found (full path, "not found", ...).
using CommandPlace = std::function<ByteString(const ByteString& command)>;

// The menu as the popup shows it, one item a line (line number, submenus
// indented, the access key, command and arguments, and where the command is
// when `place` is given), then the findings. Code page 932 text.
ByteString FormatMenuExamination(const MenuExamination& examination, const CommandPlace& place);

}  // namespace tuvex::host
