// What one opening of the message dialog takes from the settings file
// "Tuvex.conf" beside the module.
#pragma once

#include <cstdint>

#include "common/tuvex_types.h"

namespace tuvex {

inline constexpr char kDefaultFontName[] = "MS UI Gothic";
inline constexpr std::int32_t kDefaultFontSize = 9;
inline constexpr std::int32_t kDefaultDialogWidth = 320;
inline constexpr std::int32_t kDefaultDialogHeight = 200;

struct DialogSettings {
    ByteString fontName;
    std::int32_t fontSize;  // cell height in pixels when positive
    std::int32_t width;     // outer size in pixels, frame included
    std::int32_t height;
};

// A dialog of no width or height could not be read or closed with the mouse:
// such a setting falls back to `defaultExtent`; any other is kept.
std::int32_t UsableDialogExtent(std::int32_t setting, std::int32_t defaultExtent);

}  // namespace tuvex
