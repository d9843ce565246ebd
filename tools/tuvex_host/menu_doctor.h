// The menu-file doctor: reads a menu definition file as the module reads it
// and says which lines give nothing, or something a user did not mean.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/tuvex_types.h"
#include "menu/menu_items.h"

namespace tuvex::host {

// The menu file that `which` names: "Tuvex", "TuvexW" or any other name
// without a folder is the file of that name beside the module (in
// `moduleFolder`, which ends with its separator), with ".ini" added when the
// name has no extension; a path with a folder is taken as written, a
// relative one from the current folder.
std::string MenuFilePath(std::string_view moduleFolder, std::string_view which);

// What to write for a menu file named without a folder (`which`) that is not
// beside the module: ".\<name>" for the file in the current folder; empty
// for a name with a folder.
std::string MenuFileMissingHint(std::string_view which);

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
    // Where each item's command is (in the same order; empty for other
    // items), once PlaceMenuCommands has looked.
    std::vector<ByteString> commandPlaces;
    std::vector<MenuFinding> findings;  // by line
};

MenuExamination ExamineMenuFile(std::string_view bytes);

// Whether `file` is a batch file (".bat" or ".cmd", in any case), which
// Windows runs through the command processor.
bool IsBatchFile(std::string_view file);

// Where a command would be found (full path, "not found", ...) and, when it
// would not run, why.
struct CommandPlacement {
    ByteString where;
    ByteString problem;  // empty when it runs
};
using CommandPlace = std::function<CommandPlacement(const ByteString& command)>;

// Looks up every command of the menu with `place`: where each is goes beside
// its item, and why one would not run is a finding of its line.
void PlaceMenuCommands(MenuExamination& examination, const CommandPlace& place);

// Whether `command` names a program that comes with Windows (sort, findstr,
// powershell, ...), as written or with its extension, in any case: where one
// is found nowhere, the system lacks it, not the user's installation.
bool IsProgramOfWindows(std::string_view command);

// The menu as the popup shows it, one item a line (line number, submenus
// indented, the access key, command and arguments, and where the command is
// once placed), then the findings. Code page 932 text.
ByteString FormatMenuExamination(const MenuExamination& examination);

}  // namespace tuvex::host
