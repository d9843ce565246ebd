// Where the module lives: its directory, and the paths of the files that it
// reads from there by fixed names.
#pragma once

#include <string_view>

#include "common/tuvex_types.h"

namespace tuvex {

// The drive and directory of the module's file, ending with its separator;
// empty until the module has been loaded.
extern ByteString moduleDirectory;

// Tells whether a byte starts a double-byte character of the ANSI code page.
using LeadByteTest = bool (*)(unsigned char byte);

// The drive and directory of `modulePath`, up to and including its last
// single-byte "\" or "/" (the directory cut to 255 bytes); the second byte of
// a double-byte character is never a separator.
ByteString DirectoryOfModulePath(std::string_view modulePath, LeadByteTest isLeadByte);

// `moduleDirectory` followed by `fileName`.
ByteString ModuleFilePath(std::string_view fileName);

}  // namespace tuvex
