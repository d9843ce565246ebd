#include "exec/command_lookup.h"

#include <algorithm>

#include "common/code_page_932.h"

namespace tuvex {

namespace {

bool IsBlank(char byte) { return byte == ' ' || byte == '\t'; }

bool IsSeparator(char byte) { return byte == '\\' || byte == '/'; }

// The offset just after the last single-byte "\", "/" or ":" of `path`
// (0 when there is none); trail bytes of double-byte characters are skipped.
std::size_t FileNameStart(std::string_view path)
{
    std::size_t start = 0;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (IsCp932LeadByte(static_cast<unsigned char>(path[i]))) {
            ++i;
        } else if (IsSeparator(path[i]) || path[i] == ':') {
            start = i + 1;
        }
    }
    return start;
}

std::string_view WithoutBlanks(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::string_view WithoutQuotes(std::string_view text)
{
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
        return text.substr(1, text.size() - 2);
    }
    return text;
}

// An extension of ASCII letters in lower case, as Windows' own files have
// them, so that a name found reads as the file is named; any other is kept
// as written, since a trail byte may look like a letter.
ByteString InLowerCase(std::string_view extension)
{
    ByteString lower(extension);
    for (char& c : lower) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return ByteString(extension);
        }
        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return lower;
}

// Whether two folder names are the same but for the case of ASCII letters
// and a separator at the end (as Windows' file names compare).
bool IsSameFolder(std::string_view a, std::string_view b)
{
    auto trimmed = [](std::string_view folder) {
        return !folder.empty() && IsSeparator(folder.back()) ? folder.substr(0, folder.size() - 1) : folder;
    };
    a = trimmed(a);
    b = trimmed(b);
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

bool IsAbsolute(std::string_view path)
{
    const bool driveRoot = path.size() >= 3 && path[1] == ':' && IsSeparator(path[2]) &&
                           ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
    const bool networkPath = path.size() >= 3 && IsSeparator(path[0]) && IsSeparator(path[1]);
    return driveRoot || networkPath;
}

// ASCII letters in either case; other bytes as they are.
bool EqualsIgnoringCase(std::string_view text, std::string_view upperCase)
{
    return text.size() == upperCase.size() &&
           std::equal(text.begin(), text.end(), upperCase.begin(), [](char byte, char upper) {
               return (byte >= 'a' && byte <= 'z' ? static_cast<char>(byte - 'a' + 'A') : byte) == upper;
           });
}

bool IsNumberedDevice(std::string_view name)
{
    return name.size() == 4 && name[3] >= '1' && name[3] <= '9' &&
           (EqualsIgnoringCase(name.substr(0, 3), "COM") || EqualsIgnoringCase(name.substr(0, 3), "LPT"));
}

}  // namespace

bool NamesDevice(std::string_view path)
{
    if (path.size() >= 4 && IsSeparator(path[0]) && IsSeparator(path[1]) && path[2] == '.' && IsSeparator(path[3])) {
        const std::string_view rest = path.substr(4);
        const bool drivePath = rest.size() >= 3 && rest[1] == ':' && IsSeparator(rest[2]);
        return !drivePath;
    }
    const std::string_view name = path.substr(FileNameStart(path));
    if (EqualsIgnoringCase(name, "CONIN$") || EqualsIgnoringCase(name, "CONOUT$")) {
        return true;
    }
    std::string_view base = name.substr(0, name.find('.'));
    while (!base.empty() && base.back() == ' ') {
        base.remove_suffix(1);
    }
    return EqualsIgnoringCase(base, "CON") || EqualsIgnoringCase(base, "PRN") || EqualsIgnoringCase(base, "AUX") ||
           EqualsIgnoringCase(base, "NUL") || IsNumberedDevice(base);
}

std::string_view CommandName(std::string_view command)
{
    return WithoutQuotes(WithoutBlanks(command));
}

bool NamesFolder(std::string_view name)
{
    return FileNameStart(name) != 0;
}

std::vector<ByteString> ExecutableExtensions(std::optional<std::string_view> pathExtValue)
{
    std::vector<ByteString> extensions;
    std::string_view rest = pathExtValue.value_or("");
    while (!rest.empty()) {
        const std::size_t end = rest.find(';');
        const std::string_view entry = WithoutBlanks(rest.substr(0, end));
        if (entry.size() >= 2 && entry.front() == '.') {
            extensions.push_back(InLowerCase(entry));
        }
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    }
    if (extensions.empty()) {
        extensions = {".com", ".exe", ".bat", ".cmd"};
    }
    return extensions;
}

std::vector<ByteString> CandidateNames(std::string_view name, const std::vector<ByteString>& extensions)
{
    std::vector<ByteString> names{ByteString(name)};
    if (name.substr(FileNameStart(name)).find('.') == std::string_view::npos) {
        for (const ByteString& extension : extensions) {
            names.push_back(ByteString(name) + extension);
        }
    }
    return names;
}

std::vector<ByteString> AbsolutePathEntries(std::string_view pathValue)
{
    std::vector<ByteString> entries;
    while (!pathValue.empty()) {
        const std::size_t end = pathValue.find(';');
        const std::string_view entry = WithoutQuotes(WithoutBlanks(pathValue.substr(0, end)));
        if (IsAbsolute(entry)) {
            entries.emplace_back(entry);
        }
        pathValue.remove_prefix(end == std::string_view::npos ? pathValue.size() : end + 1);
    }
    return entries;
}

std::vector<ByteString> SearchFolders(const ByteString& programFolder, const ByteString& systemFolder,
                                      const ByteString& windowsFolder, std::string_view pathValue)
{
    std::vector<ByteString> folders;
    for (const ByteString* folder : {&programFolder, &systemFolder, &windowsFolder}) {
        if (!folder->empty()) {
            folders.push_back(*folder);
        }
    }
    // PATH mostly names the system folders again: each folder is searched,
    // and listed to the user, once.
    for (ByteString& entry : AbsolutePathEntries(pathValue)) {
        if (std::none_of(folders.begin(), folders.end(),
                         [&](const ByteString& folder) { return IsSameFolder(folder, entry); })) {
            folders.push_back(std::move(entry));
        }
    }
    return folders;
}

ByteString JoinPath(std::string_view folder, std::string_view name)
{
    ByteString path(folder);
    if (!path.empty() && FileNameStart(path) != path.size()) {
        path += '\\';
    }
    return path.append(name);
}

CommandLocation FindCommand(std::string_view command, const std::vector<ByteString>& folders,
                            const std::vector<ByteString>& extensions, const PathKindOf& kindOf)
{
    const std::string_view name = CommandName(command);
    if (name.empty()) {
        return {};
    }
    CommandLocation location;
    // A device is passed on as written, never searched for or asked about:
    // the probe for a "#!" line says what it is.
    if (NamesDevice(name)) {
        location.file = ByteString(name);
        return location;
    }
    location.triedNames = CandidateNames(name, extensions);
    const std::vector<ByteString>& candidates = location.triedNames;
    if (NamesFolder(name)) {
        for (const ByteString& candidate : candidates) {
            if (kindOf(candidate) == PathKind::File) {
                location.file = candidate;
                return location;
            }
        }
        // A folder named as the command is passed on, so that opening it
        // reports why it cannot run.
        if (kindOf(candidates.front()) == PathKind::Folder) {
            location.file = candidates.front();
        }
        return location;
    }
    location.searchedFolders = folders;
    for (const ByteString& folder : folders) {
        for (const ByteString& candidate : candidates) {
            ByteString path = JoinPath(folder, candidate);
            if (kindOf(path) == PathKind::File) {
                location.file = std::move(path);
                return location;
            }
        }
    }
    for (const ByteString& candidate : candidates) {
        if (kindOf(candidate) == PathKind::File) {
            location.onlyInCurrentFolder = true;
            break;
        }
    }
    return location;
}

InterpreterCommand SplitInterpreter(std::string_view interpreter)
{
    while (!interpreter.empty() && IsBlank(interpreter.front())) {
        interpreter.remove_prefix(1);
    }
    if (!interpreter.empty() && interpreter.front() == '"') {
        const std::size_t closing = interpreter.find('"', 1);
        if (closing == std::string_view::npos) {
            return {ByteString(interpreter.substr(1)), {}};
        }
        return {ByteString(interpreter.substr(1, closing - 1)), ByteString(interpreter.substr(closing + 1))};
    }
    std::size_t end = 0;
    while (end < interpreter.size() && !IsBlank(interpreter[end])) {
        ++end;
    }
    return {ByteString(interpreter.substr(0, end)), ByteString(interpreter.substr(end))};
}

ByteString InterpreterProgramPath(std::string_view program, std::string_view scriptFile)
{
    const bool fromRootOrDrive = !program.empty() && (IsSeparator(program[0]) || (program.size() >= 2 && program[1] == ':'));
    if (!NamesFolder(program) || fromRootOrDrive) {
        return ByteString(program);
    }
    return JoinPath(scriptFile.substr(0, FileNameStart(scriptFile)), program);
}

}  // namespace tuvex
