// The interpreter named on a script's "#!" line.
#pragma once

#include <string_view>

#include "common/tuvex_types.h"

namespace tuvex {

// Longest first line examined: what fgets reads into a 255-byte buffer.
constexpr int kInterpreterLineBufferSize = 255;

// The interpreter that a script's first line names: the bytes after "#!" up
// to the first CR or LF, untrimmed; empty when the line does not begin with
// "#!". `firstLine` is the line as read, up to its first NUL byte.
ByteString InterpreterFromFirstLine(std::string_view firstLine);

// Reads the first line of `file`, the located file of `command` (see
// LocateCommand; never searched for here), and returns its interpreter; empty
// when no such file exists. Raises ExchangeError: OpenScript, with the command
// as the user wrote it, for any other failure to open it, and IsDevice for
// anything but a file on a disk, which is never read.
ByteString ReadInterpreterLine(const ByteString& file, const ByteString& command);

}  // namespace tuvex
