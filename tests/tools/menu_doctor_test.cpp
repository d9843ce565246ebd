#include <gtest/gtest.h>

#include <string>

#include "menu_doctor.h"

namespace tuvex::host {
namespace {

using namespace std::literals;

struct Finding {
    std::size_t line;
    std::string reason;
    bool operator==(const Finding&) const = default;
};

void PrintTo(const Finding& finding, std::ostream* out) { *out << finding.line << ": " << finding.reason; }

std::vector<Finding> FindingsOf(std::string_view bytes)
{
    std::vector<Finding> findings;
    for (const MenuFinding& finding : ExamineMenuFile(bytes).findings) {
        findings.push_back({finding.line, finding.reason});
    }
    return findings;
}

TEST(MenuDoctor, NamesEveryLineThatGivesNothingOrSomethingUnmeant)
{
    const std::string longLine = "Long\tcmd\t" + std::string(1200, 'a') + "\n";
    const std::string file = "# every mistake\n"                                        // 1
                             "Sort\tsort\n"                                             // 2
                             "  Indented\tsort\n"                                       // 3
                             "\x81\x40Wide\tsort\n"                                     // 4  full-width space
                             "\x81\x94 comment\n"                                       // 5  ＃
                             "\x81\x7C\x81\x84Sub\n"                                    // 6  －＞
                             "\x81\x5B\x81\x5B\x81\x5B\x81\x5B\x81\x5B\n"               // 7  ーーーーー
                             "----\n"                                                   // 8
                             "Include\tfindstr\t/c:\"#include\"\n"                      // 9
                             "Name only\n"                                              // 10
                             "Four\tcmd\targs\textra\n"                                 // 11
                             "->\n"                                                     // 12
                             + longLine +                                               // 13
                             "->Empty\n"                                                // 14
                             "Next\tnext\n"                                             // 15
                             "Reverse\t\treverse.pl\t\t# a comment after a TAB\n"      // 16
                             "#" + std::string(1022, 'c') + "Live\tlive\n";           // 17
    EXPECT_EQ(FindingsOf(file),
              (std::vector<Finding>{
                  {3, "indented with spaces: only TABs indent, and the spaces are read as part of the line"},
                  {4, "indented with a full-width space: only TABs indent"},
                  {5, "a full-width \x81\x94 does not start a comment: write a half-width #"},
                  {6, "a submenu begins with -> in half-width characters: this line is read as an item"},
                  {7, "a separator is five half-width hyphens (-----): full-width \x81\x7C, \x81\x5B or \x81\x5C "
                      "do not count"},
                  {8, "a separator needs five hyphens (-----)"},
                  {9, "\"#\" ends the line even inside a field, so this field is read as \"/c:\"\": a # cannot "
                      "be part of a name, a command or its arguments"},
                  {10, "a name without a command: \"Name only\" adds nothing (fields are separated by TABs, not "
                       "spaces)"},
                  {11, "a fourth field is dropped: \"extra\" (the arguments are one field: separate them with "
                       "spaces, not TABs)"},
                  {12, "\"->\" without a name: the line does nothing"},
                  {13, "a line of 1210 bytes is read as 2 lines of at most 1023 bytes"},
                  {13, "a name without a command: \"" + std::string(1200 - (1023 - 9), 'a') + "\" adds nothing"},
                  {14, "the submenu \"Empty\" has no item: the lines meant for it are not indented deeper with "
                       "TABs"},
                  {17, "a line of 1033 bytes is read as 2 lines of at most 1023 bytes"},
                  {17, "the pieces of this line after its \"#\" stay part of the comment: they add nothing"},
              }));
}

TEST(MenuDoctor, NamesTheEncodingOfAFileNotSavedAsShiftJis)
{
    const std::vector<Finding> utf8WithMark = FindingsOf("\xEF\xBB\xBFSort\tsort\n");
    ASSERT_FALSE(utf8WithMark.empty());
    EXPECT_EQ(utf8WithMark[0].line, 1u);
    EXPECT_TRUE(utf8WithMark[0].reason.starts_with("saved as UTF-8 with a byte-order mark")) << utf8WithMark[0].reason;

    // 並べ替え in UTF-8, as Notepad saves by default.
    EXPECT_EQ(FindingsOf("\xE4\xB8\xA6\xE3\x81\xB9\xE6\x9B\xBF\xE3\x81\x88\tsort\n"),
              (std::vector<Finding>{{1, "saved as UTF-8 without a byte-order mark: the names come out garbled; "
                                        "save it as ANSI (Shift_JIS)"}}));

    const std::vector<Finding> utf16 = FindingsOf("\xFF\xFES\0o\0r\0t\0\t\0s\0\n\0"sv);
    ASSERT_FALSE(utf16.empty());
    EXPECT_EQ(utf16[0].line, 1u);
    EXPECT_TRUE(utf16[0].reason.starts_with("saved as UTF-16")) << utf16[0].reason;
}

TEST(MenuDoctor, TellsUtf16WithoutAByteOrderMarkByTheZeroInEverySecondByte)
{
    const std::string reason = "saved as UTF-16 (Unicode) without a byte-order mark: the menu is read as Shift_JIS "
                               "bytes, each line up to its first zero byte; save it as ANSI (Shift_JIS)";
    EXPECT_EQ(FindingsOf("S\0o\0r\0t\0\t\0s\0\n\0"sv).front(), (Finding{1, reason}));  // little-endian
    EXPECT_EQ(FindingsOf("\0S\0o\0r\0t\0\t\0s\0\n"sv).front(), (Finding{1, reason}));  // big-endian
}

TEST(MenuDoctor, AMenuWithoutAnyCommandIsAFindingOfTheWholeFile)
{
    EXPECT_EQ(FindingsOf("# only a comment\n\n-----\n"),
              (std::vector<Finding>{{0, "the menu has no item: the popup has nothing to choose"}}));
}

TEST(MenuDoctor, ASoundFileInShiftJisHasNoFinding)
{
    // 並べ替え(&S)
    EXPECT_EQ(FindingsOf("# tools\r\n\x95\xC0\x82\xD7\x91\xD6\x82\xA6(&S)\tsort\r\n->Search\r\n\tLines\tfindstr\t/n \"^\"\r\n"),
              std::vector<Finding>{});
}

TEST(MenuDoctor, ReadsLinesAsTheModuleDoes)
{
    const std::vector<MenuFileLine> lines = ReadMenuFileLines("a\r\nb\rc\n" + std::string(1030, 'x') + "\x1Alost\n");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].text, "a\n");   // CR LF reads as LF
    EXPECT_EQ(lines[1].text, "b\rc\n");  // a lone CR is kept
    EXPECT_EQ(lines[2].text, std::string(1023, 'x'));
    EXPECT_EQ(lines[3].line, 3u);  // the rest of line 3; Ctrl+Z ends the file
    EXPECT_EQ(lines[3].text, std::string(7, 'x'));
}

TEST(MenuDoctor, ShowsTheMenuAsThePopupDoesWithLinesWhereEachCommandIsAndTheFindings)
{
    MenuExamination examination = ExamineMenuFile("#text tools\n"
                                                        "&Sort\tsort.exe\n"
                                                        "->Con&vert\n"
                                                        "\tUpper && lower\tconv.exe\t-u\n"
                                                        "\t-----\n"
                                                        "-----\n"
                                                        "Reverse\t\treverse.pl\t\t#one line at a time\n"
                                                        "  Spaced\tspaced.exe\n");
    PlaceMenuCommands(examination, [](const ByteString& command) {
        return CommandPlacement{"at C:\\bin\\" + command, command == "conv.exe" ? "conv.exe is found nowhere" : ""};
    });
    const std::string text = FormatMenuExamination(examination);
    EXPECT_EQ(text, " line  menu\n"
                    "    2  Sort  [S]  :  sort.exe  (at C:\\bin\\sort.exe)\n"
                    "    3  Convert  [v]  >\n"
                    "    4      Upper & lower  :  conv.exe -u  (at C:\\bin\\conv.exe)\n"
                    "    5      --------\n"
                    "    6  --------\n"
                    "    7  Reverse  :  reverse.pl  (at C:\\bin\\reverse.pl)\n"
                    "    8  \"  Spaced\"  :  spaced.exe  (at C:\\bin\\spaced.exe)\n"
                    "\n"
                    "findings:\n"
                    "  line 4: conv.exe is found nowhere\n"
                    "  line 8: indented with spaces: only TABs indent, and the spaces are read as part of the line\n");
}

TEST(MenuDoctor, LooksForANameWithoutAFolderBesideTheModuleAndTakesAPathAsWritten)
{
    EXPECT_EQ(MenuFilePath("C:\\Tuvex\\", "Tuvex"), "C:\\Tuvex\\Tuvex.ini");
    EXPECT_EQ(MenuFilePath("C:\\Tuvex\\", "TuvexW.ini"), "C:\\Tuvex\\TuvexW.ini");
    EXPECT_EQ(MenuFilePath("C:\\Tuvex\\", ".\\Tuvex.ini"), ".\\Tuvex.ini");
    EXPECT_EQ(MenuFilePath("C:\\Tuvex\\", "D:\\menus\\mine"), "D:\\menus\\mine");
}

TEST(MenuDoctor, KnowsTheProgramsThatComeWithWindows)
{
    for (const char* command : {"sort", "SORT.EXE", "more.com", "powershell"}) {
        EXPECT_TRUE(IsProgramOfWindows(command)) << command;
    }
    for (const char* command : {"perl", "sort.pl", "C:\\Tools\\sort"}) {
        EXPECT_FALSE(IsProgramOfWindows(command)) << command;
    }
}

}  // namespace
}  // namespace tuvex::host
