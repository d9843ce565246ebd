#include "menu_command_win32.h"

#include <windows.h>

#include <optional>
#include <set>

#include "exec/command_lookup.h"
#include "exec/interpreter_line.h"
#include "host/command_runner.h"
#include "host_io_win32.h"
#include "menu_doctor.h"
#include "platform_win32.h"

namespace tuvex::host {

namespace {

constexpr char kBatchFileNote[] =
    ", a batch file: the command processor reads its arguments, so & | < > ^ and %NAME% in them are live";

ByteString Quoted(std::string_view text) { return "\"" + ByteString(text) + "\""; }

ByteString Listed(const std::vector<ByteString>& names)
{
    ByteString list;
    for (const ByteString& name : names) {
        list += (list.empty() ? "" : ", ") + name;
    }
    return list;
}

// The lines of a message joined into one, for a line of the listing.
ByteString OnOneLine(ByteString text)
{
    for (std::size_t at = 0; (at = text.find("\r\n", at)) != ByteString::npos;) {
        text.replace(at, 2, " ");
    }
    return text;
}

// Looks up commands as the module would, from this program: its folder
// stands in for the editor's, its PATH and current folder for the editor's.
// Keeps what the listing says after the findings.
class CommandPlaces {
public:
    explicit CommandPlaces(bool underWine) : underWine_(underWine) {}

    CommandPlacement Place(const ByteString& command)
    {
        const CommandLocation location = LocateCommand(command);
        const ByteString name(CommandName(command));
        if (location.onlyInCurrentFolder) {
            return {"only in the current folder, so not run: write .\\" + name,
                    Quoted(name) + " is only in the current folder, which is never searched: write .\\" + name +
                        " to run it from there"};
        }
        if (location.file.empty()) {
            return {"not found", Missing("the command " + Quoted(name), name, location)};
        }
        try {
            const ByteString line = ReadInterpreterLine(location.file, command);
            const LocatedInterpreter interpreter = LocateInterpreter(line, location.file);
            if (interpreter.name.empty()) {
                return {IsBatchFile(location.file) ? location.file + kBatchFileNote : location.file, ""};
            }
            // A Unix line names a program that Windows finds by its name alone.
            const ByteString readAs = interpreter.name == SplitInterpreter(line).program
                                          ? ByteString()
                                          : " (a Unix \"#!\" line: " + interpreter.name + " is looked up as a command)";
            if (interpreter.location.file.empty()) {
                return {location.file + ", run by " + interpreter.name + " (not found)" + readAs,
                        Missing("the program " + Quoted(interpreter.name) + " of the \"#!\" line of " + location.file,
                                interpreter.name, interpreter.location)};
            }
            return {location.file + ", run by " + interpreter.location.file + interpreter.options + readAs, ""};
        } catch (const ExchangeError& failure) {
            const ByteString message = ExchangeFailureText(failure);
            return {location.file + ": " + OnOneLine(message),
                    location.file + " cannot be read for its \"#!\" line: " + OnOneLine(message)};
        }
    }

    // What the findings refer to: the folders searched and the programs of
    // Windows that Wine lacks.
    ByteString Notes() const
    {
        ByteString notes;
        if (!searchedFolders_.empty()) {
            notes += "\ncommands without a folder and the programs of \"#!\" lines are looked for in these folders, in "
                     "this order (this program's folder stands in for the editor's; the current folder is never "
                     "searched):\n";
            for (const ByteString& folder : searchedFolders_) {
                notes += "  " + folder + "\n";
            }
        }
        if (!lackedByWine_.empty()) {
            ByteString names;
            for (const ByteString& name : lackedByWine_) {
                names += (names.empty() ? "" : ", ") + name;
            }
            notes += "\nunder Wine: Wine lacks " + names +
                     ", which Windows has; on Windows these commands are found in its system folders\n";
        }
        return notes;
    }

private:
    ByteString Missing(const ByteString& subject, const ByteString& name, const CommandLocation& location)
    {
        if (location.searchedFolders.empty()) {
            return subject + " does not exist: a name with a folder is looked for only as written, a relative one "
                             "from the current folder (tried " + Listed(location.triedNames) + ")";
        }
        searchedFolders_ = location.searchedFolders;
        ByteString problem = subject + " is found nowhere: looked for " + Listed(location.triedNames) +
                             " in the folders listed below";
        if (underWine_ && IsProgramOfWindows(name)) {
            lackedByWine_.insert(name);
            problem += " (Windows has it; this Wine lacks it)";
        }
        return problem;
    }

    bool underWine_;
    std::vector<ByteString> searchedFolders_;
    std::set<ByteString> lackedByWine_;
};

}  // namespace

int CheckMenuFile(const std::string& moduleFolder, const std::string& which)
{
    const std::string path = MenuFilePath(moduleFolder, which);
    const bool besideModule = path != which;
    DWORD error = ERROR_SUCCESS;
    const std::optional<std::string> bytes = ReadFileBytes(path, error);
    if (!bytes) {
        const std::string hint = error == ERROR_FILE_NOT_FOUND ? MenuFileMissingHint(which) : "";
        WriteText(GetStdHandle(STD_ERROR_HANDLE), L"tuvex_host: cannot read " + Decode(path, CP_ACP) + L": " +
                                                      SystemMessage(error, Decode(path, CP_ACP)) + L"\n" +
                                                      (hint.empty() ? L"" : L"(" + Decode(hint, CP_ACP) + L")\n"));
        return 2;
    }
    MenuExamination examination = ExamineMenuFile(*bytes);
    CommandPlaces places(WineVersion().has_value());
    PlaceMenuCommands(examination, [&](const ByteString& command) { return places.Place(command); });
    const std::wstring report =
        L"menu file " + Decode(path, CP_ACP) +
        (besideModule ? L" (beside the module: Tuvex, TuvexW or a name without a folder is looked for there)"
                      : L" (as written, from the current folder: a path with a folder is taken as written)") +
        L"\n(commands looked up as from the editor, with this program's folder and PATH)\n\n" +
        Decode(FormatMenuExamination(examination) + places.Notes(), 932);
    WriteText(GetStdHandle(STD_OUTPUT_HANDLE), report);
    return examination.findings.empty() ? 0 : 1;
}

}  // namespace tuvex::host
