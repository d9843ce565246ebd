// What a failure means for the user, in words: the lines that follow a
// failure's first line ("...の起動に失敗しました(2)"), which keeps its form.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/tuvex_types.h"

namespace tuvex {

// `firstLine`, then `words` on lines of their own; `firstLine` alone when
// there are no words.
ByteString WithWords(ByteString firstLine, std::string_view words);

// A program that the lookup found nowhere.
struct MissingProgram {
    ByteString name;                    // as the user wrote it
    bool namedOnInterpreterLine;        // the program of a script's "#!" line
    std::vector<ByteString> triedNames; // the name as written, then with each extension
    // The folders looked in, in order; empty for a name with a folder,
    // which is taken as written.
    std::vector<ByteString> searchedFolders;
};

// Which program is missing, the names tried and the folders searched, a
// folder a line; nothing for an empty name, which names nothing to look for.
ByteString MissingProgramWords(const MissingProgram& program);

// Why a program could not be started: the module's own words for the code
// where the system's are of little help (193, a file that is no program),
// else `systemText`, the system's text for the code.
ByteString StartFailureWords(std::uint32_t code, std::string_view systemText);

// Which file a "could not open" message is about.
enum class OpenedFile { Command, MenuFile };

// The words for the C runtime's error number of a failed open; empty for a
// number that has none (errno values have no system text).
ByteString OpenFailureWords(int errorNumber, OpenedFile file);

// The program that a command line starts: its first word, without the
// double quotes around it.
std::string_view ProgramOfCommandLine(std::string_view commandLine);

// A message text of the system, as FormatMessage gives it with its inserts
// ignored, made fit to show: each insert ("%1", "%2!s!") becomes `insert`,
// the escapes "%n", "%r", "%t", "%b" become what they stand for, "%0" ends
// the text, "%x" for any other x is x ("%%" is "%"); the line end and blanks
// at its end are dropped.
std::wstring TidySystemText(std::wstring_view text, std::wstring_view insert);

}  // namespace tuvex
