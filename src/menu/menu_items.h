// The tree of items that a menu definition file is read into.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "common/tuvex_types.h"

#ifdef _WIN32
#include "common/win32_resource.h"
#endif

namespace tuvex {

#ifdef _WIN32
using MenuHandle = UniqueMenu;
#else
// Native builds make no menus: the tree keeps the same shape with a handle
// that holds nothing, so the reader and its tests need no platform.
struct MenuHandle {};
#endif

class MenuItemCommand;

// The command items of one popup by their ids: 1, 2, 3... in the order in
// which the build meets them; 0 stays free to mean "nothing chosen". Each
// popup has its own, so a popup shown while another is open leaves the
// other's ids alone.
class CommandTable {
public:
    std::int32_t Add(const MenuItemCommand& command);
    // Null for an id that no command was given.
    const MenuItemCommand* Find(std::int32_t id) const;

private:
    std::vector<const MenuItemCommand*> commands_;
};

class IMenuItem {
public:
    virtual const ByteString& GetName() const = 0;
    // Destroying an item through this interface destroys the complete item.
    virtual ~IMenuItem() = default;
};

class MenuItemBase : public IMenuItem {
public:
    explicit MenuItemBase(ByteString name) : name_(std::move(name)) {}
    const ByteString& GetName() const override { return name_; }

private:
    ByteString name_;
};

// A submenu, or the root of the tree. Owns its children and its handle.
class Menu : public MenuItemBase {
public:
    explicit Menu(ByteString name) : MenuItemBase(std::move(name)) {}
    // Children go first, in file order, so that each submenu has released its
    // own handle before this menu releases the one it is attached to.
    ~Menu() override;

#ifdef _WIN32
    // Fills `menuHandle`, which must hold a new menu, with one entry per child,
    // making and filling the submenus on the way and numbering the commands
    // in `commands`. Raises ErrorMessage when a menu cannot be made or filled.
    void BuildMenu(CommandTable& commands);
#endif

    std::vector<std::unique_ptr<IMenuItem>> children;
    MenuHandle menuHandle;
};

class MenuItemCommand : public MenuItemBase {
public:
    MenuItemCommand(ByteString name, ByteString command, ByteString arguments)
        : MenuItemBase(std::move(name)), command(std::move(command)), arguments(std::move(arguments))
    {
    }

    ByteString command;
    ByteString arguments;  // empty when the line had none
};

class MenuItemSeparator : public MenuItemBase {
public:
    MenuItemSeparator() : MenuItemBase({}) {}
};

// Whether `menu` or one of its submenus holds a command to choose.
bool HasCommandItem(const Menu& menu);

// How deep submenus nest below `menu`: 0 without submenus, 1 with submenus
// that hold none, and so on.
std::size_t SubmenuNesting(const Menu& menu);

}  // namespace tuvex
