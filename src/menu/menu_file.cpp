#include "menu/menu_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>

#include "common/failure_words.h"
#include "common/messages.h"
#include "common/unique_resource.h"

namespace tuvex {

namespace {

// The next piece that fgets reads into `buffer`, zero bytes included. fgets
// does not say how much it read, so the buffer is filled beforehand with a
// byte other than zero: the last zero byte is the one that ends the piece.
std::optional<std::string_view> ReadPiece(std::FILE* file, char (&buffer)[kMenuLineBufferSize])
{
    std::memset(buffer, '\x01', sizeof buffer);
    if (!std::fgets(buffer, kMenuLineBufferSize, file)) {
        return std::nullopt;
    }
    std::size_t length = sizeof buffer - 1;
    while (buffer[length] != '\0') {
        --length;
    }
    return std::string_view(buffer, length);
}

}  // namespace

MenuLineKind ParseMenuLine(const char* line, std::vector<ByteString>& fields, std::size_t& depth)
{
    fields.clear();
    depth = 0;
    const char* at = line;
    while (*at == '\t') {
        ++depth;
        ++at;
    }
    if (std::strncmp(at, "-----", 5) == 0) {
        return MenuLineKind::Separator;
    }
    const bool submenu = at[0] == '-' && at[1] == '>';
    if (submenu) {
        at += 2;
    }
    // A run of TABs leaves empty fields between them, which are dropped.
    for (const char* fieldStart = at;; ++at) {
        const char byte = *at;
        if (byte != '\t' && byte != '\n' && byte != '#' && byte != '\0') {
            continue;
        }
        if (at != fieldStart) {
            fields.emplace_back(fieldStart, at);
        }
        if (byte != '\t') {
            break;
        }
        fieldStart = at + 1;
    }
    if (submenu) {
        return MenuLineKind::Submenu;
    }
    return fields.empty() ? MenuLineKind::Blank : MenuLineKind::Item;
}

MenuTreeBuilder::MenuTreeBuilder() : root_(std::make_unique<Menu>("top")), chain_{root_.get()} {}

void MenuTreeBuilder::CloseSubmenusUntilOpenIs(std::size_t level)
{
    // Closing only leaves the chain: the submenus stay in the tree.
    chain_.resize(level + 1);
}

void MenuTreeBuilder::PlaceLine(std::string_view piece)
{
    const ByteString line(piece.substr(0, piece.find('\0')));
    const bool continuesComment = commentGoesOn_;
    commentGoesOn_ = !piece.ends_with('\n') && (continuesComment || line.find('#') != ByteString::npos);
    if (continuesComment) {
        return;
    }
    std::size_t depth = 0;
    const MenuLineKind kind = ParseMenuLine(line.c_str(), fields_, depth);
    // Blank and nameless "->" lines leave even the nesting as it is.
    if (kind == MenuLineKind::Blank || (kind == MenuLineKind::Submenu && fields_.empty())) {
        return;
    }
    // A line indented further than the open submenus belongs to the innermost.
    CloseSubmenusUntilOpenIs(std::min(depth, open()));
    Menu& parent = *chain_.back();
    if (kind == MenuLineKind::Submenu) {
        auto submenu = std::make_unique<Menu>(fields_[0]);
        Menu* opened = submenu.get();
        parent.children.push_back(std::move(submenu));
        chain_.push_back(opened);
    } else if (kind == MenuLineKind::Separator) {
        parent.children.push_back(std::make_unique<MenuItemSeparator>());
    } else if (fields_.size() >= 2) {
        // A name alone is no command, though it has closed submenus all the same.
        parent.children.push_back(std::make_unique<MenuItemCommand>(
            fields_[0], fields_[1], fields_.size() >= 3 ? fields_[2] : ByteString()));
    }
}

std::unique_ptr<Menu> MenuTreeBuilder::TakeRoot()
{
    chain_.clear();
    return std::move(root_);
}

std::unique_ptr<Menu> LoadMenuDefinition(const ByteString& path)
{
    UniqueFile file(std::fopen(path.c_str(), "r"));
    if (!file) {
        const int openError = errno;
        throw ErrorMessage(WithWords(messages::kMenuFileBeforePath + path +
                                         MessageWithCode(messages::kMenuFileOpenFailedAfterPath, openError),
                                     OpenFailureWords(openError, OpenedFile::MenuFile)));
    }
    MenuTreeBuilder builder;
    char line[kMenuLineBufferSize];
    // A read error ends the file like its end; what came before it stays.
    while (const std::optional<std::string_view> piece = ReadPiece(file.get(), line)) {
        builder.PlaceLine(*piece);
    }
    return builder.TakeRoot();
}

void RaiseIfNotShowable(const Menu& root, const ByteString& path)
{
    if (!HasCommandItem(root)) {
        throw ErrorMessage(messages::kMenuFileBeforePath + path + messages::kMenuHasNoCommandAfterPath);
    }
    const std::size_t nesting = SubmenuNesting(root);
    if (nesting > kDeepestSubmenuNesting) {
        throw ErrorMessage(MessageOverLimit(messages::kMenuFileBeforePath + path + messages::kMenuNestingAfterPath,
                                            nesting, kDeepestSubmenuNesting, messages::kLevelsUnit));
    }
}

}  // namespace tuvex
