#include "menu_doctor.h"

#include <algorithm>
#include <string>

#include "exec/command_lookup.h"
#include "menu/menu_file.h"
#include "text_encoding.h"

namespace tuvex::host {

namespace {

constexpr std::size_t kLongestRead = kMenuLineBufferSize - 1;

// Full-width characters in code page 932 that stand in for the syntax's ASCII.
constexpr std::string_view kFullWidthSpace = "\x81\x40";
constexpr std::string_view kFullWidthNumberSign = "\x81\x94";
constexpr std::string_view kFullWidthGreaterThan = "\x81\x84";
constexpr std::string_view kFullWidthDashes[] = {"\x81\x7C", "\x81\x5B", "\x81\x5C", "\x81\x5D"};  // － ー ― ‐

bool IsLeadByte(char byte)
{
    const auto value = static_cast<unsigned char>(byte);
    return (value >= 0x81 && value <= 0x9F) || (value >= 0xE0 && value <= 0xFC);
}

std::size_t CharacterLength(std::string_view text, std::size_t at)
{
    return IsLeadByte(text[at]) && at + 1 < text.size() ? 2 : 1;
}

bool ContainsCharacter(std::string_view text, std::string_view character)
{
    for (std::size_t at = 0; at < text.size(); at += CharacterLength(text, at)) {
        if (text.substr(at).starts_with(character)) {
            return true;
        }
    }
    return false;
}

// The length of a hyphen or dash at the start of `text`, and whether it is full-width.
std::size_t DashLength(std::string_view text, bool& fullWidth)
{
    fullWidth = false;
    if (text.starts_with('-')) {
        return 1;
    }
    fullWidth = std::any_of(std::begin(kFullWidthDashes), std::end(kFullWidthDashes),
                            [&](std::string_view dash) { return text.starts_with(dash); });
    return fullWidth ? 2 : 0;
}

std::size_t GreaterThanLength(std::string_view text, bool& fullWidth)
{
    fullWidth = text.starts_with(kFullWidthGreaterThan);
    return fullWidth ? 2 : text.starts_with('>') ? 1 : 0;
}

bool IsBlank(std::string_view text)
{
    for (std::size_t at = 0; at < text.size(); at += CharacterLength(text, at)) {
        if (text[at] != ' ' && !text.substr(at).starts_with(kFullWidthSpace)) {
            return false;
        }
    }
    return true;
}

ByteString Quoted(std::string_view text) { return "\"" + ByteString(text) + "\""; }

// What is wrong with the spelling of the syntax at the start of `content` (the
// line after its TABs), or nothing.
ByteString SyntaxProblem(std::string_view content, MenuLineKind kind)
{
    if (content.starts_with(' ') && !IsBlank(content.substr(0, content.find_first_of("#\n")))) {
        return "indented with spaces: only TABs indent, and the spaces are read as part of the line";
    }
    if (content.starts_with(kFullWidthSpace)) {
        return "indented with a full-width space: only TABs indent";
    }
    if (content.starts_with(kFullWidthNumberSign)) {
        return "a full-width \x81\x94 does not start a comment: write a half-width #";
    }
    bool fullWidthDash = false;
    bool fullWidthGreater = false;
    const std::size_t dash = DashLength(content, fullWidthDash);
    if (dash > 0 && GreaterThanLength(content.substr(dash), fullWidthGreater) > 0 &&
        (fullWidthDash || fullWidthGreater)) {
        return "a submenu begins with -> in half-width characters: this line is read as an item";
    }
    if (kind == MenuLineKind::Separator) {
        return "";
    }
    std::size_t dashes = 0;
    bool anyFullWidth = false;
    for (std::size_t at = 0, length = 0; (length = DashLength(content.substr(at), fullWidthDash)) > 0; at += length) {
        ++dashes;
        anyFullWidth = anyFullWidth || fullWidthDash;
    }
    if (dashes >= 3 && anyFullWidth) {
        return "a separator is five half-width hyphens (-----): full-width \x81\x7C, \x81\x5B or \x81\x5C do not count";
    }
    if (dashes >= 3) {
        return "a separator needs five hyphens (-----)";
    }
    return "";
}

// The problems of one line as the reader takes it.
std::vector<ByteString> LineProblems(std::string_view text, MenuLineKind kind, const std::vector<ByteString>& fields)
{
    std::vector<ByteString> problems;
    std::string_view content = text.substr(std::min(text.find_first_not_of('\t'), text.size()));
    if (content.ends_with('\n')) {
        content.remove_suffix(1);
    }
    const ByteString syntax = SyntaxProblem(content, kind);
    if (!syntax.empty()) {
        problems.push_back(syntax);
    }
    if (kind == MenuLineKind::Separator) {
        return problems;
    }
    // A "#" right after a TAB (or the "->") begins a comment; anywhere else it
    // cuts a field short.
    const std::size_t fieldsStart = kind == MenuLineKind::Submenu ? 2 : 0;
    const std::size_t hash = content.find('#');
    if (hash != std::string_view::npos && hash > fieldsStart) {
        const std::size_t tab = content.rfind('\t', hash);
        const std::size_t fieldStart = tab == std::string_view::npos ? fieldsStart : std::max(tab + 1, fieldsStart);
        if (!IsBlank(content.substr(fieldStart, hash - fieldStart))) {
            problems.push_back("\"#\" ends the line even inside a field, so this field is read as " +
                               Quoted(content.substr(fieldStart, hash - fieldStart)) +
                               ": a # cannot be part of a name, a command or its arguments");
        }
    }
    if (kind == MenuLineKind::Submenu && fields.empty()) {
        problems.push_back("\"->\" without a name: the line does nothing");
    }
    if (kind == MenuLineKind::Submenu && fields.size() >= 2) {
        problems.push_back("a submenu line takes only a name: " + Quoted(fields[1]) + " is dropped");
    }
    if (kind == MenuLineKind::Item && fields.size() == 1 && problems.empty() && !IsBlank(fields[0])) {
        const bool spaced = ContainsCharacter(fields[0], " ") || ContainsCharacter(fields[0], kFullWidthSpace);
        problems.push_back("a name without a command: " + Quoted(fields[0]) + " adds nothing" +
                           (spaced ? " (fields are separated by TABs, not spaces)" : ""));
    }
    if (kind == MenuLineKind::Item && fields.size() >= 4) {
        problems.push_back("a fourth field is dropped: " + Quoted(fields[3]) +
                           " (the arguments are one field: separate them with spaces, not TABs)");
    }
    return problems;
}

// By line, and what concerns the whole file last.
void SortFindings(std::vector<MenuFinding>& findings)
{
    std::stable_sort(findings.begin(), findings.end(),
                     [](const MenuFinding& a, const MenuFinding& b) { return a.line - 1 < b.line - 1; });
}

bool AddsItem(MenuLineKind kind, const std::vector<ByteString>& fields)
{
    return kind == MenuLineKind::Separator || (kind == MenuLineKind::Submenu && !fields.empty()) ||
           (kind == MenuLineKind::Item && fields.size() >= 2);
}

// A zero in every second byte, as UTF-16 gives for the ASCII of a menu
// file; Shift_JIS text holds no zero byte.
bool IsUtf16WithoutMark(std::string_view bytes)
{
    if (bytes.size() < 2) {
        return false;
    }
    bool zeroAtEven = true;
    bool zeroAtOdd = true;
    for (std::size_t at = 0; at + 1 < bytes.size(); at += 2) {
        zeroAtEven = zeroAtEven && bytes[at] == '\0';
        zeroAtOdd = zeroAtOdd && bytes[at + 1] == '\0';
    }
    return zeroAtEven || zeroAtOdd;
}

ByteString EncodingProblem(std::string_view bytes)
{
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        return "saved as UTF-8 with a byte-order mark: the names come out garbled and the first line is "
               "never a comment, submenu or separator; save it as ANSI (Shift_JIS)";
    }
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
        return "saved as UTF-16 (Unicode): the menu is read as Shift_JIS bytes; save it as ANSI (Shift_JIS)";
    }
    if (IsUtf16WithoutMark(bytes)) {
        return "saved as UTF-16 (Unicode) without a byte-order mark: the menu is read as Shift_JIS bytes, each "
               "line up to its first zero byte; save it as ANSI (Shift_JIS)";
    }
    // Valid UTF-8 with bytes above ASCII is seldom Shift_JIS by chance.
    const bool utf8 = HasNonAsciiByte(bytes) && IsValidUtf8(bytes);
    if (utf8) {
        return "saved as UTF-8 without a byte-order mark: the names come out garbled; save it as ANSI "
               "(Shift_JIS)";
    }
    return "";
}

void CollectItems(const Menu& menu, std::vector<const IMenuItem*>& items)
{
    for (const auto& child : menu.children) {
        items.push_back(child.get());
        if (const auto* submenu = dynamic_cast<const Menu*>(child.get())) {
            CollectItems(*submenu, items);
        }
    }
}

// The menu text as Windows shows it ("&&" as "&", "&x" as x) and its access key.
ByteString ShownName(const ByteString& name, ByteString& accessKey)
{
    ByteString shown;
    for (std::size_t at = 0; at < name.size();) {
        if (name[at] == '&' && at + 1 < name.size()) {
            ++at;
            const std::size_t length = CharacterLength(name, at);
            if (name[at] != '&' && accessKey.empty()) {
                accessKey = name.substr(at, length);
            }
            shown += name.substr(at, length);
            at += length;
            continue;
        }
        const std::size_t length = CharacterLength(name, at);
        shown += name.substr(at, length);
        at += length;
    }
    return shown;
}

void AppendItems(const Menu& menu, const std::string& indent, const MenuExamination& examination, std::size_t& index,
                 ByteString& text)
{
    const std::vector<std::size_t>& lines = examination.itemLines;
    for (const auto& child : menu.children) {
        const std::string number = index < lines.size() ? std::to_string(lines[index]) : "?";
        const std::size_t itemIndex = index++;
        text += std::string(number.size() < 5 ? 5 - number.size() : 0, ' ') + number + "  " + indent;
        if (dynamic_cast<const MenuItemSeparator*>(child.get())) {
            text += "--------\n";
            continue;
        }
        ByteString accessKey;
        const ByteString shown = ShownName(child->GetName(), accessKey);
        // Spaces around a name would pass for indentation: they are shown quoted.
        const bool spaced = shown.starts_with(' ') || shown.ends_with(' ') || shown.starts_with(kFullWidthSpace);
        text += spaced ? Quoted(shown) : shown;
        if (!accessKey.empty()) {
            text += "  [" + accessKey + "]";
        }
        if (const auto* submenu = dynamic_cast<const Menu*>(child.get())) {
            text += "  >\n";
            AppendItems(*submenu, indent + "    ", examination, index, text);
            continue;
        }
        const auto& item = static_cast<const MenuItemCommand&>(*child);
        text += "  :  " + item.command + (item.arguments.empty() ? "" : " " + item.arguments);
        if (itemIndex < examination.commandPlaces.size()) {
            text += "  (" + examination.commandPlaces[itemIndex] + ")";
        }
        text += "\n";
    }
}

}  // namespace

std::string MenuFilePath(std::string_view moduleFolder, std::string_view which)
{
    if (NamesFolder(which)) {
        return std::string(which);
    }
    return std::string(moduleFolder) + std::string(which) + (which.find('.') == std::string_view::npos ? ".ini" : "");
}

std::string MenuFileMissingHint(std::string_view which)
{
    if (NamesFolder(which)) {
        return "";
    }
    const std::string path = MenuFilePath("", which);
    return "a name without a folder is the file beside the module; for " + path +
           " in the current folder, write .\\" + path;
}

std::vector<MenuFileLine> ReadMenuFileLines(std::string_view bytes)
{
    std::vector<MenuFileLine> lines;
    std::size_t line = 1;
    ByteString piece;
    for (std::size_t at = 0; at < bytes.size() && bytes[at] != '\x1A'; ++at) {
        if (bytes[at] == '\r' && at + 1 < bytes.size() && bytes[at + 1] == '\n') {
            continue;
        }
        piece += bytes[at];
        if (bytes[at] == '\n' || piece.size() == kLongestRead) {
            lines.push_back({line, piece});
            line += bytes[at] == '\n' ? 1 : 0;
            piece.clear();
        }
    }
    if (!piece.empty()) {
        lines.push_back({line, piece});
    }
    return lines;
}

MenuExamination ExamineMenuFile(std::string_view bytes)
{
    MenuExamination examination;
    const ByteString encoding = EncodingProblem(bytes);
    if (!encoding.empty()) {
        examination.findings.push_back({1, encoding});
    }
    MenuTreeBuilder builder;
    std::vector<ByteString> fields;
    std::size_t depth = 0;
    const std::vector<MenuFileLine> lines = ReadMenuFileLines(bytes);
    std::size_t commentGoesOnIn = 0;  // the line last named for a comment read in pieces
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const MenuFileLine& line = lines[i];
        const bool firstPiece = i == 0 || lines[i - 1].line != line.line;
        const bool morePieces = i + 1 < lines.size() && lines[i + 1].line == line.line;
        if (firstPiece && morePieces) {
            std::size_t pieces = 0;
            std::size_t length = 0;
            for (std::size_t j = i; j < lines.size() && lines[j].line == line.line; ++j) {
                ++pieces;
                length += lines[j].text.size();
            }
            examination.findings.push_back({line.line, "a line of " + std::to_string(length) + " bytes is read as " +
                                                           std::to_string(pieces) + " lines of at most 1023 bytes"});
        }
        if (builder.ContinuesComment()) {
            if (commentGoesOnIn != line.line) {
                commentGoesOnIn = line.line;
                examination.findings.push_back(
                    {line.line, "the pieces of this line after its \"#\" stay part of the comment: they add nothing"});
            }
            builder.PlaceLine(line.text);
            continue;
        }
        // The reader sees the line up to its first zero byte.
        const char* text = line.text.c_str();
        const MenuLineKind kind = ParseMenuLine(text, fields, depth);
        for (ByteString& problem : LineProblems(text, kind, fields)) {
            examination.findings.push_back({line.line, std::move(problem)});
        }
        if (AddsItem(kind, fields)) {
            examination.itemLines.push_back(line.line);
        }
        builder.PlaceLine(line.text);
    }
    examination.root = builder.TakeRoot();

    std::vector<const IMenuItem*> items;
    CollectItems(*examination.root, items);
    for (std::size_t i = 0; i < items.size() && i < examination.itemLines.size(); ++i) {
        const auto* submenu = dynamic_cast<const Menu*>(items[i]);
        if (submenu && submenu->children.empty()) {
            examination.findings.push_back(
                {examination.itemLines[i], "the submenu " + Quoted(submenu->GetName()) +
                                               " has no item: the lines meant for it are not indented deeper with TABs"});
        }
    }
    if (!HasCommandItem(*examination.root)) {
        examination.findings.push_back({0, "the menu has no item: the popup has nothing to choose"});
    }
    SortFindings(examination.findings);
    return examination;
}

bool IsBatchFile(std::string_view file)
{
    if (file.size() < 4 || file[file.size() - 4] != '.') {
        return false;
    }
    ByteString extension(file.substr(file.size() - 3));
    for (char& byte : extension) {
        byte = byte >= 'A' && byte <= 'Z' ? static_cast<char>(byte - 'A' + 'a') : byte;
    }
    return extension == "bat" || extension == "cmd";
}

void PlaceMenuCommands(MenuExamination& examination, const CommandPlace& place)
{
    std::vector<const IMenuItem*> items;
    CollectItems(*examination.root, items);
    examination.commandPlaces.assign(items.size(), ByteString());
    for (std::size_t i = 0; i < items.size() && i < examination.itemLines.size(); ++i) {
        if (const auto* item = dynamic_cast<const MenuItemCommand*>(items[i])) {
            CommandPlacement placement = place(item->command);
            examination.commandPlaces[i] = std::move(placement.where);
            if (!placement.problem.empty()) {
                examination.findings.push_back({examination.itemLines[i], std::move(placement.problem)});
            }
        }
    }
    SortFindings(examination.findings);
}

bool IsProgramOfWindows(std::string_view command)
{
    // Those a text filter may run: they read standard input or write text.
    static constexpr std::string_view kPrograms[] = {"certutil", "clip", "cmd",        "curl", "fc",  "find",
                                                     "findstr",  "more", "powershell", "sort", "tar", "where"};
    std::string name(command);
    for (char& c : name) {
        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    for (const std::string_view extension : {".exe", ".com"}) {
        if (name.ends_with(extension)) {
            name.resize(name.size() - extension.size());
        }
    }
    return std::find(std::begin(kPrograms), std::end(kPrograms), name) != std::end(kPrograms);
}

ByteString FormatMenuExamination(const MenuExamination& examination)
{
    ByteString text = " line  menu\n";
    std::size_t index = 0;
    AppendItems(*examination.root, "", examination, index, text);
    if (examination.findings.empty()) {
        return text + "\nno findings\n";
    }
    text += "\nfindings:\n";
    for (const MenuFinding& finding : examination.findings) {
        text += (finding.line == 0 ? ByteString("  the file") : "  line " + std::to_string(finding.line)) + ": " +
                finding.reason + "\n";
    }
    return text;
}

}  // namespace tuvex::host
