#pragma once

#include "common/tuvex_types.h"
#include "dialog/dialog_settings.h"

namespace tuvex {

// Reads values from one profile (INI) file through the system's profile
// functions. A missing file, section or key gives the default.
class ProfileFile {
public:
    explicit ProfileFile(ByteString path);

    // The value cut to 1023 bytes.
    ByteString GetString(const ByteString& section, const ByteString& key, const ByteString& defaultValue) const;
    std::int32_t GetInteger(const ByteString& section, const ByteString& key, std::int32_t defaultValue) const;

private:
    ByteString path_;
};

// The settings of section "DIALOG" of "Tuvex.conf" beside the module, read
// afresh at every call: a size of zero or less, and a font height that text
// cannot be read in, give the default.
DialogSettings ReadDialogSettings();

}  // namespace tuvex
