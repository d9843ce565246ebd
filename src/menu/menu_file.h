// Menu definition files ("Tuvex.ini", "TuvexW.ini"): one line per item,
// TAB-separated fields, TAB indentation for nesting, "->" for a submenu,
// "-----" for a separator and "#" for a comment.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

#include "common/tuvex_types.h"
#include "menu/menu_items.h"

namespace tuvex {

// What fgets reads at a time: lines of up to 1023 bytes; a longer line comes
// in pieces, and each piece counts as a line of its own, except that the
// pieces after the one where a comment begins stay part of the comment.
constexpr int kMenuLineBufferSize = 1024;

enum class MenuLineKind { Blank, Submenu, Item, Separator };

// Classifies one line as read (NUL-terminated, with its LF if it had one).
// Sets `depth` to the number of leading TABs and replaces `fields` with the
// line's fields: runs of bytes between TABs, up to LF or "#". A separator
// line has no fields; a submenu line's fields begin after its "->".
MenuLineKind ParseMenuLine(const char* line, std::vector<ByteString>& fields, std::size_t& depth);

// Places lines, one after the other, into a tree under the root "top".
class MenuTreeBuilder {
public:
    MenuTreeBuilder();

    // `piece` is a line as read, or a piece of a longer one, with its LF when
    // the line ends in it; it is read up to its first zero byte. A piece that
    // continues a line whose "#" has begun a comment is comment too.
    void PlaceLine(std::string_view piece);

    // Whether the next piece continues a comment, and so adds nothing.
    bool ContinuesComment() const { return commentGoesOn_; }

    // The tree built so far; the builder is spent afterwards.
    std::unique_ptr<Menu> TakeRoot();

private:
    // Submenus opened on top of the root.
    std::size_t open() const { return chain_.size() - 1; }
    void CloseSubmenusUntilOpenIs(std::size_t level);

    std::unique_ptr<Menu> root_;
    std::vector<Menu*> chain_;  // the open menus, the root at the bottom
    std::vector<ByteString> fields_;
    bool commentGoesOn_ = false;
};

// Reads the menu definition file at `path` (a full path) into a tree whose
// root is named "top". Raises ErrorMessage when the file cannot be opened.
std::unique_ptr<Menu> LoadMenuDefinition(const ByteString& path);

// Deepest nesting of submenus that Windows builds a popup of.
constexpr std::size_t kDeepestSubmenuNesting = 30;

// Raises, in words, why the tree read from the file at `path` is no popup
// to choose from: it has no command, or its submenus nest deeper than
// Windows builds.
void RaiseIfNotShowable(const Menu& root, const ByteString& path);

}  // namespace tuvex
