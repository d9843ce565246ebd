#include <gtest/gtest.h>

#include <map>

#include "exec/command_lookup.h"

namespace tuvex {
namespace {

// A file system of a few paths; every other path is missing. Relative paths
// stand for files in the current folder.
class FakeFiles {
public:
    FakeFiles(std::initializer_list<std::pair<const ByteString, PathKind>> paths) : paths_(paths) {}
    PathKindOf kindOf() const
    {
        return [this](const ByteString& path) {
            const auto found = paths_.find(path);
            return found == paths_.end() ? PathKind::Missing : found->second;
        };
    }

private:
    std::map<ByteString, PathKind> paths_;
};

const std::vector<ByteString> kFolders = {"C:\\host", "C:\\Windows\\system32", "C:\\Windows", "D:\\tools"};

const std::vector<ByteString> kExtensions = {".com", ".exe"};

CommandLocation Find(std::string_view command, const FakeFiles& files)
{
    return FindCommand(command, kFolders, kExtensions, files.kindOf());
}

TEST(CommandName, DropsBlanksAndOnePairOfEnclosingQuotes)
{
    EXPECT_EQ(CommandName("sort"), "sort");
    EXPECT_EQ(CommandName(" \tsort \t"), "sort");
    EXPECT_EQ(CommandName("\"C:\\Program Files\\t.exe\""), "C:\\Program Files\\t.exe");
    EXPECT_EQ(CommandName(" \"a b\" "), "a b");
    EXPECT_EQ(CommandName("\"open"), "\"open");
    EXPECT_EQ(CommandName("\""), "\"");
    EXPECT_EQ(CommandName("\"\""), "");
}

TEST(NamesFolder, SeesBackslashSlashAndColonButNoTrailByte)
{
    EXPECT_FALSE(NamesFolder("sort"));
    EXPECT_FALSE(NamesFolder("sort.pl"));
    EXPECT_TRUE(NamesFolder(".\\sort"));
    EXPECT_TRUE(NamesFolder("scripts/tidy.pl"));
    EXPECT_TRUE(NamesFolder("C:sort"));
    EXPECT_FALSE(NamesFolder("\x95\x5C.exe"));  // 表.exe: 0x5C is its second byte
    EXPECT_TRUE(NamesFolder("\x95\x5C\\x"));
}

TEST(CandidateNames, AddEachExtensionInOrderOnlyToANameWithoutExtension)
{
    EXPECT_EQ(CandidateNames("sort", kExtensions), (std::vector<ByteString>{"sort", "sort.com", "sort.exe"}));
    EXPECT_EQ(CandidateNames("sort.pl", kExtensions), (std::vector<ByteString>{"sort.pl"}));
    EXPECT_EQ(CandidateNames("my.dir\\tool", kExtensions),
              (std::vector<ByteString>{"my.dir\\tool", "my.dir\\tool.com", "my.dir\\tool.exe"}));
}

TEST(ExecutableExtensions, TakesPathExtInOrderInLowerCaseOrTheDefaultWhenItGivesNone)
{
    EXPECT_EQ(ExecutableExtensions(std::nullopt), (std::vector<ByteString>{".com", ".exe", ".bat", ".cmd"}));
    EXPECT_EQ(ExecutableExtensions(""), ExecutableExtensions(std::nullopt));
    EXPECT_EQ(ExecutableExtensions(";;exe;"), ExecutableExtensions(std::nullopt));
    EXPECT_EQ(ExecutableExtensions(" .PL ;.EXE;;.;.Py"), (std::vector<ByteString>{".pl", ".exe", ".py"}));
    EXPECT_EQ(ExecutableExtensions(".\x95\x5C"), (std::vector<ByteString>{".\x95\x5C"}));  // .表 as written
}

TEST(AbsolutePathEntries, KeepsDriveAndNetworkPathsWithoutQuotesInOrder)
{
    EXPECT_EQ(AbsolutePathEntries("C:\\bin;.;tools;;\"D:\\Program Files\\x\";\\\\server\\share;E:/y;\\root;F:rel;%X%"),
              (std::vector<ByteString>{"C:\\bin", "D:\\Program Files\\x", "\\\\server\\share", "E:/y"}));
    EXPECT_TRUE(AbsolutePathEntries("").empty());
    EXPECT_TRUE(AbsolutePathEntries(";;").empty());
}

TEST(SearchFolders, AreTheProgramSystemAndWindowsFoldersThenAbsolutePathEntries)
{
    EXPECT_EQ(SearchFolders("C:\\host\\", "C:\\W\\system32", "C:\\W", "bin;D:\\tools"),
              (std::vector<ByteString>{"C:\\host\\", "C:\\W\\system32", "C:\\W", "D:\\tools"}));
    EXPECT_EQ(SearchFolders("", "C:\\W\\system32", "", ""), (std::vector<ByteString>{"C:\\W\\system32"}));
    EXPECT_EQ(SearchFolders("C:\\host\\", "C:\\W\\system32", "C:\\W", "c:\\w\\SYSTEM32\\;C:\\host;D:\\t;D:\\t\\"),
              (std::vector<ByteString>{"C:\\host\\", "C:\\W\\system32", "C:\\W", "D:\\t"}));
}

TEST(JoinPath, AddsOneSeparatorUnlessTheFolderEndsWithOne)
{
    EXPECT_EQ(JoinPath("C:\\bin", "a.exe"), "C:\\bin\\a.exe");
    EXPECT_EQ(JoinPath("C:\\bin\\", "a.exe"), "C:\\bin\\a.exe");
    EXPECT_EQ(JoinPath("C:/bin/", "a.exe"), "C:/bin/a.exe");
    EXPECT_EQ(JoinPath("C:\\\x95\x5C", "a.exe"), "C:\\\x95\x5C\\a.exe");
}

TEST(FindCommand, SearchesTheFoldersInOrderTryingEachName)
{
    const FakeFiles files{{"C:\\Windows\\system32\\sort.exe", PathKind::File},
                          {"D:\\tools\\sort", PathKind::File},
                          {"D:\\tools\\tidy", PathKind::File}};
    EXPECT_EQ(Find("sort", files).file, "C:\\Windows\\system32\\sort.exe");
    EXPECT_EQ(Find("tidy", files).file, "D:\\tools\\tidy");
    EXPECT_EQ(Find("\"tidy\"", files).file, "D:\\tools\\tidy");
    EXPECT_EQ(Find("tidy.exe", files).file, "");
}

TEST(FindCommand, TriesEveryNameInAFolderBeforeTheNextFolderAndSaysWhatItTried)
{
    const FakeFiles files{{"C:\\host\\more.exe", PathKind::File}, {"C:\\Windows\\system32\\more.com", PathKind::File}};
    EXPECT_EQ(Find("more", files).file, "C:\\host\\more.exe");
    const CommandLocation missing = Find("perl", files);
    EXPECT_EQ(missing.file, "");
    EXPECT_EQ(missing.triedNames, (std::vector<ByteString>{"perl", "perl.com", "perl.exe"}));
    EXPECT_EQ(missing.searchedFolders, kFolders);
    const CommandLocation withFolder = Find(".\\tool.pl", files);
    EXPECT_EQ(withFolder.triedNames, std::vector<ByteString>{".\\tool.pl"});
    EXPECT_TRUE(withFolder.searchedFolders.empty());
}

TEST(FindCommand, SkipsFoldersNamedLikeTheCommand)
{
    const FakeFiles files{{"C:\\host\\sort", PathKind::Folder}, {"C:\\Windows\\sort.exe", PathKind::File}};
    EXPECT_EQ(Find("sort", files).file, "C:\\Windows\\sort.exe");
}

TEST(FindCommand, NeverRunsABareCommandFromTheCurrentFolder)
{
    const FakeFiles files{{"sort.exe", PathKind::File}, {"tidy", PathKind::File}, {"lib", PathKind::Folder}};
    for (const char* command : {"sort", "sort.exe", "tidy"}) {
        const CommandLocation location = Find(command, files);
        EXPECT_EQ(location.file, "") << command;
        EXPECT_TRUE(location.onlyInCurrentFolder) << command;
    }
    EXPECT_FALSE(Find("lib", files).onlyInCurrentFolder);
    EXPECT_FALSE(Find("missing", files).onlyInCurrentFolder);
}

TEST(FindCommand, TakesACommandWithAFolderAsWritten)
{
    const FakeFiles files{{".\\sort.exe", PathKind::File},
                          {"C:\\host\\sort.exe", PathKind::File},
                          {"scripts\\tidy.pl", PathKind::File},
                          {"C:\\dir", PathKind::Folder}};
    EXPECT_EQ(Find(".\\sort", files).file, ".\\sort.exe");
    EXPECT_EQ(Find("scripts\\tidy.pl", files).file, "scripts\\tidy.pl");
    EXPECT_EQ(Find("\"C:\\dir\"", files).file, "C:\\dir");  // opening it tells why it cannot run
    EXPECT_EQ(Find("C:\\nowhere\\sort", files).file, "");
}

TEST(FindCommand, FindsNothingForAnEmptyOrBlankCommand)
{
    const FakeFiles files{{".exe", PathKind::File}, {"C:\\host\\.exe", PathKind::File}};
    for (const char* command : {"", "  ", "\"\""}) {
        const CommandLocation location = Find(command, files);
        EXPECT_EQ(location.file, "") << command;
        EXPECT_FALSE(location.onlyInCurrentFolder) << command;
    }
}

TEST(SplitInterpreter, SeparatesTheProgramFromItsOptions)
{
    const InterpreterCommand perl = SplitInterpreter("perl -w -s");
    EXPECT_EQ(perl.program, "perl");
    EXPECT_EQ(perl.options, " -w -s");
    const InterpreterCommand spaced = SplitInterpreter(" \tlua.exe");
    EXPECT_EQ(spaced.program, "lua.exe");
    EXPECT_EQ(spaced.options, "");
}

TEST(SplitInterpreter, TakesAQuotedProgramWithoutItsQuotes)
{
    const InterpreterCommand quoted = SplitInterpreter("\"C:\\Program Files\\Lua\\lua.exe\" -e x");
    EXPECT_EQ(quoted.program, "C:\\Program Files\\Lua\\lua.exe");
    EXPECT_EQ(quoted.options, " -e x");
    EXPECT_EQ(SplitInterpreter("\"C:\\open ended").program, "C:\\open ended");
}

TEST(SplitInterpreter, GivesNoProgramForABlankLine)
{
    EXPECT_EQ(SplitInterpreter("").program, "");
    EXPECT_EQ(SplitInterpreter("  \t ").program, "");
}

TEST(NamesDevice, KnowsTheDeviceNamesInAnyFolderAndTheDeviceNamespace)
{
    for (const char* device : {"COM1", "aux", "CON", "Nul.txt", "C:\\tools\\lpt9.pl", "prn  .x", "CONIN$", "conout$",
                               "\\\\.\\pipe\\tool", "//./COM3", "\\\\.\\C:"}) {
        EXPECT_TRUE(NamesDevice(device)) << device;
    }
    for (const char* file : {"COM", "COM0", "COM10", "console", "auxiliary.pl", "CONIN$.txt", "C:\\CON\\tool.exe",
                             "\\\\.\\C:\\tools\\tool.exe", "\\\\server\\share\\tool.exe", ""}) {
        EXPECT_FALSE(NamesDevice(file)) << file;
    }
}

}  // namespace
}  // namespace tuvex
