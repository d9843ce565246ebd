// Where a command is found: never in the current folder, so a file that a
// document folder happens to hold cannot stand in for the program meant.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "common/tuvex_types.h"

namespace tuvex {

// Where a command would run from.
//
// A command that names no folder (no "\", "/" or ":") is looked for, under
// the names the command prompt would try (as written, then, when it has no
// extension, with each extension of PATHEXT in order), in the host program's
// folder, the system folder, the Windows folder and each absolute PATH entry,
// in this order; never in the current folder and never in a relative PATH
// entry. A command that names a folder (".\tool", "scripts\tidy.pl",
// "C:\...") is taken as written, under the same names. Blanks around the
// command and double quotes around it are not part of the name.
struct CommandLocation {
    // The file to run (a full path for a command found through the search,
    // the path as written for one that names a folder); empty when there is
    // nothing to run.
    ByteString file;
    // True when a command without a folder exists only in the current folder:
    // it is not run, and the user is told to write ".\<command>".
    bool onlyInCurrentFolder = false;
    // What was tried, in order, so that a command found nowhere can be
    // explained: the names, and the folders (none for a command that names
    // a folder).
    std::vector<ByteString> triedNames;
    std::vector<ByteString> searchedFolders;
};

// Locates `command` on this system (environment and folders of this process).
CommandLocation LocateCommand(const ByteString& command);

// ---- The decisions behind LocateCommand, free of the platform ----

// Whether `path` names a device rather than a file: a name that Windows takes
// for a device in any folder (CON, PRN, AUX, NUL, COM1 to COM9, LPT1 to LPT9,
// in any case, also with an extension or blanks after it), the console's
// CONIN$ and CONOUT$, or a path in the device namespace "\\.\" other than a
// drive's ("\\.\C:\...").
bool NamesDevice(std::string_view path);

// Longest path that the system's file functions take: MAX_PATH less its NUL.
constexpr std::size_t kLongestPath = 259;

// What a path names.
enum class PathKind { Missing, File, Folder };
using PathKindOf = std::function<PathKind(const ByteString& path)>;

// The command's name: without blanks (spaces, tabs) around it and without
// one pair of double quotes enclosing it.
std::string_view CommandName(std::string_view command);

// Whether the name holds a folder: a single-byte "\", "/" or ":" (the second
// byte of a double-byte character is never one).
bool NamesFolder(std::string_view name);

// The extensions of a PATHEXT value, in order, in lower case (blanks around
// them dropped, entries that do not begin with "." left out); ".com",
// ".exe", ".bat" and ".cmd" when the variable is not set or gives none.
std::vector<ByteString> ExecutableExtensions(std::optional<std::string_view> pathExtValue);

// The file names tried for a name: as written, then, when the name has no
// extension, with each of `extensions` appended.
std::vector<ByteString> CandidateNames(std::string_view name, const std::vector<ByteString>& extensions);

// The entries of a PATH value that are absolute ("X:\..." or "\\server\..."),
// in order, without double quotes; relative and empty entries are dropped.
std::vector<ByteString> AbsolutePathEntries(std::string_view pathValue);

// The folders searched, in order: the program's, the system, the Windows
// folder (each skipped when empty), then the absolute entries of `pathValue`;
// each folder once (compared without the case of ASCII letters and a final
// separator).
std::vector<ByteString> SearchFolders(const ByteString& programFolder, const ByteString& systemFolder,
                                      const ByteString& windowsFolder, std::string_view pathValue);

// `folder` and `name` joined by one "\" (none added when the folder already
// ends with a separator).
ByteString JoinPath(std::string_view folder, std::string_view name);

// LocateCommand over the given folders and extensions; `kindOf` tells what a
// path names (a relative path meaning one in the current folder).
CommandLocation FindCommand(std::string_view command, const std::vector<ByteString>& folders,
                            const std::vector<ByteString>& extensions, const PathKindOf& kindOf);

// A "#!" line's interpreter split into the program (its first word, or the
// text in double quotes that begins it, without the quotes) and the rest as
// written (the options, with the blank that precedes them). Blanks before the
// program are skipped; a line of blanks gives an empty program.
struct InterpreterCommand {
    ByteString program;
    ByteString options;
};
InterpreterCommand SplitInterpreter(std::string_view interpreter);

// The program of a script's "#!" line as it is looked for: a relative path
// with a folder ("bin\tool.exe", "..\perl\perl.exe") lies in the folder of
// `scriptFile` (the script's located file), never in the current folder. A
// bare name (searched for) and a path from a root or a drive ("C:\...",
// "\tools\...", "D:tool") stay as written.
ByteString InterpreterProgramPath(std::string_view program, std::string_view scriptFile);

}  // namespace tuvex
