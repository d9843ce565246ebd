// The tests' view of a menu tree: one line per item, two spaces of
// indentation per level, so that a whole tree compares (and prints) as text.
#pragma once

#include <string>

#include "menu/menu_items.h"

namespace tuvex::test {

// The text tools example: a submenu, separators, arguments, doubled TABs
// and a comment; its commands are numbered 1 to 4 in this order.
inline constexpr char kWorkedExample[] =
    "#text tools\n"
    "Sort\tsort.exe\n"
    "->Convert\n"
    "\tUpper case\tconv.exe\t-u\n"
    "\t-----\n"
    "\tNumber lines\tnumber.exe\t-w 4\n"
    "-----\n"
    "Reverse\t\treverse.pl\t\t#one line at a time\n";


//   name | command | arguments    a command item
//   >name                         a submenu, its items below it
//   -----                         a separator
inline void AppendMenuText(const Menu& menu, const std::string& indent, std::string& text)
{
    for (const auto& child : menu.children) {
        text += indent;
        if (const auto* submenu = dynamic_cast<const Menu*>(child.get())) {
            text += ">" + submenu->GetName() + "\n";
            AppendMenuText(*submenu, indent + "  ", text);
        } else if (const auto* command = dynamic_cast<const MenuItemCommand*>(child.get())) {
            text += command->GetName() + " | " + command->command + " | " + command->arguments + "\n";
        } else {
            text += "-----" + child->GetName() + "\n";
        }
    }
}

inline std::string MenuText(const Menu& menu)
{
    std::string text;
    AppendMenuText(menu, "", text);
    return text;
}

}  // namespace tuvex::test
