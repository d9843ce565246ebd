#include "dialog/dialog_settings.h"

#include <algorithm>

namespace tuvex {

std::int32_t UsableDialogExtent(std::int32_t setting, std::int32_t defaultExtent)
{
    return setting > 0 ? setting : defaultExtent;
}

std::int32_t UsableFontSize(std::int32_t setting)
{
    const std::int64_t height = setting < 0 ? -std::int64_t(setting) : setting;
    const bool readable = height == 0 || (height >= kSmallestFontSize && height <= kLargestFontSize);
    return readable ? setting : kDefaultFontSize;
}

DialogSize FittedDialogSize(DialogSize size, DialogSize screen)
{
    return {std::max(std::min(size.width, screen.width), kSmallestDialogSize.width),
            std::max(std::min(size.height, screen.height), kSmallestDialogSize.height)};
}

}  // namespace tuvex
