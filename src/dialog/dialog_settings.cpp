#include "dialog/dialog_settings.h"

namespace tuvex {

std::int32_t UsableDialogExtent(std::int32_t setting, std::int32_t defaultExtent)
{
    return setting > 0 ? setting : defaultExtent;
}

}  // namespace tuvex
