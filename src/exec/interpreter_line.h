// The interpreter named on a script's "#!" line.
#pragma once

#include <string_view>

#include "common/tuvex_types.h"
#include "exec/command_lookup.h"

namespace tuvex {

// Longest first line examined: what fgets reads into a 255-byte buffer.
constexpr int kInterpreterLineBufferSize = 255;

// The interpreter that a script's first line names: the bytes after "#!" up
// to the first CR or LF, untrimmed; empty when the line does not begin with
// "#!". `firstLine` is the line as read, up to its first NUL byte.
ByteString InterpreterFromFirstLine(std::string_view firstLine);

// The program that a "#!" line names, as it is looked for. Lines written for
// Unix are read as the Python launcher for Windows reads them, since Windows
// has none of their paths: "/usr/bin/env NAME ARGS" runs NAME, looked up as
// a command, with ARGS as its options; a program "/usr/bin/NAME",
// "/usr/local/bin/NAME" or "/bin/NAME" is taken as written when there is
// such a file, and NAME is looked up otherwise. Any other line names its
// program as written.
struct InterpreterProgram {
    ByteString program;        // the program tried first; empty for a line of blanks
    ByteString options;        // with the blank that precedes them
    ByteString nameOtherwise;  // looked up when `program` is no file; empty for none
};
InterpreterProgram InterpreterProgramOf(std::string_view interpreter);

// Where a script's "#!" program is: its program (a relative one from the
// folder of `scriptFile`, the script's located file) or, when that is no
// file, the name looked up instead. `name` is the one of the two that
// `location` is about, as written on the line.
struct LocatedInterpreter {
    ByteString name;
    ByteString options;
    CommandLocation location;
};
LocatedInterpreter LocateInterpreter(std::string_view interpreter, const ByteString& scriptFile);

// Reads the first line of `file`, the located file of `command` (see
// LocateCommand; never searched for here), and returns its interpreter; empty
// when no such file exists. Raises ExchangeError: OpenScript, with the command
// as the user wrote it, for any other failure to open it, and IsDevice for
// anything but a file on a disk, which is never read.
ByteString ReadInterpreterLine(const ByteString& file, const ByteString& command);

}  // namespace tuvex
