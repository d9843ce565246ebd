#include "menu/menu_items.h"

namespace tuvex {

Menu::~Menu()
{
    for (auto& child : children) {
        child.reset();
    }
    menuHandle = MenuHandle();
}

}  // namespace tuvex
