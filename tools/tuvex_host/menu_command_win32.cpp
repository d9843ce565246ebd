#include "menu_command_win32.h"

#include <windows.h>

#include "exec/command_lookup.h"
#include "exec/interpreter_line.h"
#include "host_io_win32.h"
#include "menu_doctor.h"

namespace tuvex::host {

namespace {

constexpr char kBatchFileNote[] =
    ", a batch file: the command processor reads its arguments, so & | < > ^ and %NAME% in them are live";

// Where the module would find `command`, and for a "#!" script the program
// that runs it, as seen from this program: its folder stands in for the
// editor's, its PATH and current folder for the editor's.
ByteString WhereCommandIs(const ByteString& command)
{
    const CommandLocation location = LocateCommand(command);
    if (location.onlyInCurrentFolder) {
        return "only in the current folder, so not run: write .\\" + ByteString(CommandName(command));
    }
    if (location.file.empty()) {
        return "not found";
    }
    try {
        const InterpreterCommand interpreter = SplitInterpreter(ReadInterpreterLine(location.file, command));
        if (interpreter.program.empty()) {
            return IsBatchFile(location.file) ? location.file + kBatchFileNote : location.file;
        }
        const CommandLocation program = LocateCommand(InterpreterProgramPath(interpreter.program, location.file));
        return location.file + ", run by " +
               (program.file.empty() ? interpreter.program + " (not found)" : program.file + interpreter.options);
    } catch (const ErrorMessage& message) {
        return location.file + ": " + message.text();
    }
}

}  // namespace

int CheckMenuFile(const std::string& moduleFolder, const std::string& which)
{
    const bool besideModule = which == "Tuvex" || which == "TuvexW" || which == "TuvexUtf8";
    const std::string path = besideModule ? moduleFolder + which + ".ini" : which;
    DWORD error = ERROR_SUCCESS;
    const std::optional<std::string> bytes = ReadFileBytes(path, error);
    if (!bytes) {
        WriteText(GetStdHandle(STD_ERROR_HANDLE),
                  L"tuvex_host: cannot read " + Decode(path, CP_ACP) + L": " + SystemMessage(error) + L"\n");
        return 2;
    }
    const MenuExamination examination = ExamineMenuFile(*bytes);
    const std::wstring report = L"menu file " + Decode(path, CP_ACP) +
                                L"\n(commands looked up as from the editor, with this program's folder and PATH)\n\n" +
                                Decode(FormatMenuExamination(examination, WhereCommandIs), 932);
    WriteText(GetStdHandle(STD_OUTPUT_HANDLE), report);
    return examination.findings.empty() ? 0 : 1;
}

}  // namespace tuvex::host
