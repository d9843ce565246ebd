#include "menu/menu_items.h"

#include <algorithm>

namespace tuvex {

std::int32_t CommandTable::Add(const MenuItemCommand& command)
{
    commands_.push_back(&command);
    return static_cast<std::int32_t>(commands_.size());
}

const MenuItemCommand* CommandTable::Find(std::int32_t id) const
{
    if (id < 1 || static_cast<std::size_t>(id) > commands_.size()) {
        return nullptr;
    }
    return commands_[static_cast<std::size_t>(id) - 1];
}

bool HasCommandItem(const Menu& menu)
{
    return std::any_of(menu.children.begin(), menu.children.end(), [](const auto& child) {
        const auto* submenu = dynamic_cast<const Menu*>(child.get());
        return submenu ? HasCommandItem(*submenu) : dynamic_cast<const MenuItemCommand*>(child.get()) != nullptr;
    });
}

std::size_t SubmenuNesting(const Menu& menu)
{
    std::size_t deepest = 0;
    for (const auto& child : menu.children) {
        if (const auto* submenu = dynamic_cast<const Menu*>(child.get())) {
            deepest = std::max(deepest, 1 + SubmenuNesting(*submenu));
        }
    }
    return deepest;
}

Menu::~Menu()
{
    for (auto& child : children) {
        child.reset();
    }
    menuHandle = MenuHandle();
}

}  // namespace tuvex
