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

// Font heights that text can be read in: 0 (Windows chooses) or 6 to 144
// pixels, either sign (a negative height leaves out the leading, as Windows'
// font call reads it). Any other falls back to kDefaultFontSize.
inline constexpr std::int32_t kSmallestFontSize = 6;
inline constexpr std::int32_t kLargestFontSize = 144;
std::int32_t UsableFontSize(std::int32_t setting);

struct DialogSize {
    std::int32_t width;
    std::int32_t height;
    bool operator==(const DialogSize&) const = default;
};

// Smallest outer size that still shows the OK button whole below a line of
// text, with the frame and caption of the usual themes.
inline constexpr DialogSize kSmallestDialogSize = {160, 120};

// `size` kept within the smallest size and `screen` (the work area that the
// dialog opens on), so that its OK button can always be reached; on a screen
// smaller than the smallest size, the smallest size.
DialogSize FittedDialogSize(DialogSize size, DialogSize screen);

}  // namespace tuvex
