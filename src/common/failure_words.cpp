#include "common/failure_words.h"

#include <cerrno>

#include "common/messages.h"

namespace tuvex {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kFolderIndent = "  ";

// ERROR_BAD_EXE_FORMAT: the system's text ("%1 は有効な Win32 アプリケー
// ションではありません") says nothing of why.
constexpr std::uint32_t kBadExeFormat = 193;

bool IsDigit(wchar_t c)
{
    return c >= L'0' && c <= L'9';
}

}  // namespace

ByteString WithWords(ByteString firstLine, std::string_view words)
{
    if (!words.empty()) {
        firstLine.append(kLineEnd).append(words);
    }
    return firstLine;
}

ByteString MissingProgramWords(const MissingProgram& program)
{
    if (program.name.empty()) {
        return {};
    }
    ByteString words = program.namedOnInterpreterLine ? messages::kInterpreterNotFoundBeforeName
                                                      : messages::kNotFoundBeforeName;
    words.append(program.name).append(messages::kNotFoundAfterName);
    for (std::size_t i = 0; i < program.triedNames.size(); ++i) {
        if (i > 0) {
            words.append(messages::kNameSeparator);
        }
        words.append(program.triedNames[i]);
    }
    if (program.searchedFolders.empty()) {
        return words.append(messages::kSearchedAsWrittenAfterNames);
    }
    words.append(messages::kSearchedFoldersAfterNames);
    for (const ByteString& folder : program.searchedFolders) {
        words.append(kLineEnd).append(kFolderIndent).append(folder);
    }
    return words;
}

ByteString StartFailureWords(std::uint32_t code, std::string_view systemText)
{
    return code == kBadExeFormat ? ByteString(messages::kNotAProgram) : ByteString(systemText);
}

ByteString OpenFailureWords(int errorNumber, OpenedFile file)
{
    switch (errorNumber) {
    case ENOENT:
        // A command that names no file is never opened: only the menu file
        // can be missing.
        return file == OpenedFile::MenuFile ? messages::kMenuFileMissing : "";
    case EACCES:
        return messages::kOpenAccessDenied;
    case EINVAL:
        return messages::kOpenInvalidName;
    default:
        return "";
    }
}

std::string_view ProgramOfCommandLine(std::string_view commandLine)
{
    if (commandLine.starts_with('"')) {
        const std::size_t closing = commandLine.find('"', 1);
        return commandLine.substr(1, closing == std::string_view::npos ? std::string_view::npos : closing - 1);
    }
    return commandLine.substr(0, commandLine.find_first_of(" \t"));
}

std::wstring TidySystemText(std::wstring_view text, std::wstring_view insert)
{
    std::wstring tidy;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] != L'%') {
            tidy += text[at];
            continue;
        }
        if (++at == text.size() || text[at] == L'0') {
            break;
        }
        const wchar_t escaped = text[at];
        if (IsDigit(escaped)) {
            while (at + 1 < text.size() && IsDigit(text[at + 1])) {
                ++at;
            }
            // An insert with a format: "%1!s!".
            if (at + 1 < text.size() && text[at + 1] == L'!') {
                const std::size_t closing = text.find(L'!', at + 2);
                at = closing == std::wstring_view::npos ? text.size() : closing;
            }
            tidy += insert;
        } else if (escaped == L'n') {
            tidy += L"\r\n";
        } else if (escaped == L'r') {
            tidy += L'\r';
        } else if (escaped == L't') {
            tidy += L'\t';
        } else if (escaped == L'b') {
            tidy += L' ';
        } else {
            tidy += escaped;
        }
    }
    while (!tidy.empty() && (tidy.back() == L'\r' || tidy.back() == L'\n' || tidy.back() == L' ')) {
        tidy.pop_back();
    }
    return tidy;
}

}  // namespace tuvex
