// Command lookup over a PATH value and the interpreter named on a "#!" line,
// both read from outside: every folder searched is absolute, every extension
// taken from PATHEXT is one, a bare command is never taken from the current
// folder, nor a "#!" program, and splitting loses no byte.
#include <cstdint>
#include <string>
#include <string_view>

#include "exec/command_lookup.h"
#include "fuzz_check.h"

namespace {

bool IsBlank(char byte) { return byte == ' ' || byte == '\t'; }

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Three fields separated by NUL bytes: command, PATH value, interpreter.
    const auto fields = ThreeFields(data, size);
    if (!fields) {
        return 0;
    }
    const auto& [command, pathValue, interpreter] = *fields;

    const std::vector<tuvex::ByteString> folders = tuvex::SearchFolders("C:\\host\\", "", "", pathValue);
    for (std::size_t i = 1; i < folders.size(); ++i) {
        const std::string_view folder = folders[i];
        FUZZ_CHECK(folder.find(';') == std::string_view::npos);
        FUZZ_CHECK(folder.size() >= 3 && (folder[1] == ':' || folder[0] == '\\' || folder[0] == '/'));
    }

    // Every path whose name ends in ".exe" is a file, in any folder and in
    // the current one.
    const tuvex::PathKindOf kindOf = [](const tuvex::ByteString& path) {
        return path.size() >= 4 && path.compare(path.size() - 4, 4, ".exe") == 0 ? tuvex::PathKind::File
                                                                                 : tuvex::PathKind::Missing;
    };
    // The PATH value stands in for a PATHEXT value too.
    const std::vector<tuvex::ByteString> extensions = tuvex::ExecutableExtensions(pathValue);
    FUZZ_CHECK(!extensions.empty());
    for (const tuvex::ByteString& extension : extensions) {
        FUZZ_CHECK(extension.size() >= 2 && extension[0] == '.' && extension.find(';') == std::string::npos);
    }
    const std::string_view name = tuvex::CommandName(command);
    const std::vector<tuvex::ByteString> candidates = tuvex::CandidateNames(name, extensions);
    FUZZ_CHECK(!candidates.empty() && candidates.size() <= 1 + extensions.size() && candidates[0] == name);
    const tuvex::CommandLocation location = tuvex::FindCommand(command, folders, extensions, kindOf);
    FUZZ_CHECK(!(location.onlyInCurrentFolder && !location.file.empty()));
    if (tuvex::NamesDevice(name)) {
        FUZZ_CHECK(location.file == name);
    } else if (!location.file.empty() && !tuvex::NamesFolder(name)) {
        bool inSearchedFolder = false;
        for (const tuvex::ByteString& folder : folders) {
            inSearchedFolder = inSearchedFolder || StartsWith(location.file, folder);
        }
        FUZZ_CHECK(inSearchedFolder);
    }

    const tuvex::InterpreterCommand split = tuvex::SplitInterpreter(interpreter);
    std::size_t start = 0;
    while (start < interpreter.size() && IsBlank(interpreter[start])) {
        ++start;
    }
    if (start < interpreter.size() && interpreter[start] == '"') {
        FUZZ_CHECK(split.program.find('"') == std::string::npos);
    } else {
        FUZZ_CHECK(interpreter.substr(start) == split.program + split.options);
        FUZZ_CHECK(split.options.empty() || IsBlank(split.options[0]));
    }
    // A "#!" program is never left relative to the current folder.
    const tuvex::ByteString program = tuvex::InterpreterProgramPath(split.program, "C:\\scripts\\sort.pl");
    FUZZ_CHECK(program == split.program || program == "C:\\scripts\\" + split.program);
    if (program == split.program && tuvex::NamesFolder(program)) {
        FUZZ_CHECK(program[0] == '\\' || program[0] == '/' || program[1] == ':');
    }
    return 0;
}
