#include "menu/menu_items.h"

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

Menu::~Menu()
{
    for (auto& child : children) {
        child.reset();
    }
    menuHandle = MenuHandle();
}

}  // namespace tuvex
