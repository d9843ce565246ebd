// How the exports start a command: where it is found, what it inherits, and
// what a crash leaves.
#include <gtest/gtest.h>

#include <cstdio>

#include "host/exports.h"
#include "support/test_support.h"

namespace tuvex {
namespace {

using test::Cp932;
using test::DialogWatcher;
using test::Hex;
using test::ScopedCurrentFolder;
using test::TempFolder;
using test::TestChildPath;

using FilterFunction = HGLOBAL __cdecl(HWND, const wchar_t*, const char*);

class CommandStartTest : public ::testing::Test {
protected:
    std::string Run(const std::string& command, const std::string& arguments)
    {
        return run_("", command.c_str(), arguments.c_str());
    }

    static std::vector<std::string> Shown(const DialogWatcher& watcher)
    {
        std::vector<std::string> texts;
        for (const test::SeenDialog& dialog : watcher.seen()) {
            texts.push_back(dialog.textBytes);
        }
        return texts;
    }

    // The test child copied to `path`.
    static void CopyTestChild(const std::string& path)
    {
        ASSERT_TRUE(CopyFileA(TestChildPath().c_str(), path.c_str(), FALSE)) << path;
    }

    test::InstalledModule module_;
    decltype(&TuvexRun) run_ = module_.Export<decltype(TuvexRun)>("TuvexRun");
    FilterFunction* narrow_ = module_.Export<FilterFunction>("Tuvex");
    FilterFunction* wide_ = module_.Export<FilterFunction>("TuvexW");
};

// ---- Where commands are found ----

TEST_F(CommandStartTest, ABareCommandFoundOnlyInTheCurrentFolderIsNotRun)
{
    TempFolder current;
    CopyTestChild(current / "tvxlocal.exe");
    const ScopedCurrentFolder inCurrent(current.path());
    DialogWatcher watcher;
    EXPECT_EQ(Run("tvxlocal", "out 6f6b"), "");
    EXPECT_EQ(Shown(watcher),
              std::vector<std::string>{"tvxlocal" +
                                       Cp932(L"はカレントフォルダーにあるため実行しません。実行するには .\\") +
                                       "tvxlocal" + Cp932(L" と書いてください")});
}

TEST_F(CommandStartTest, DotBackslashRunsACommandInTheCurrentFolder)
{
    TempFolder current;
    CopyTestChild(current / "tvxlocal.exe");
    const ScopedCurrentFolder inCurrent(current.path());
    DialogWatcher watcher;
    EXPECT_EQ(Run(".\\tvxlocal", "out 6f6b"), "ok");
    EXPECT_TRUE(watcher.seen().empty());
}

TEST_F(CommandStartTest, AHashBangFileNamedLikeABareCommandInTheCurrentFolderChangesNothing)
{
    TempFolder current;
    test::WriteBytes(current / "tuvex_test_child", "#!\"" + TestChildPath() + "\" out 58\r\n");
    const ScopedCurrentFolder inCurrent(current.path());
    EXPECT_EQ(Run("tuvex_test_child", "out 6f6b"), "ok");
}

TEST_F(CommandStartTest, AQuotedPathWithASpaceRuns)
{
    TempFolder folder;
    CreateDirectoryA((folder / "Program Files").c_str(), nullptr);
    CopyTestChild(folder / "Program Files\\tool.exe");
    DialogWatcher watcher;
    EXPECT_EQ(Run("\"" + folder.path() + "Program Files\\tool.exe\"", "out 6f6b"), "ok");
    EXPECT_TRUE(watcher.seen().empty());
}

TEST_F(CommandStartTest, AScriptOnPathRunsThroughItsInterpreterByFullPathsFromAnotherFolder)
{
    TempFolder onPath;
    TempFolder current;
    test::WriteBytes(onPath / "tvxscript", "#!tuvex_test_child command-line\n");
    const test::ScopedPath path(onPath.path());
    const ScopedCurrentFolder inCurrent(current.path());
    EXPECT_EQ(Run("tvxscript", "1 2"),
              "\"" + TestChildPath() + "\" command-line \"" + onPath.path() + "tvxscript\" 1 2");
}

TEST_F(CommandStartTest, ABatchFileFoundByItsBareNameRunsThroughTheCommandProcessor)
{
    TempFolder onPath;
    test::WriteBytes(onPath / "tvxbatch.bat", "@echo off\r\necho ok %1\r\n");
    const test::ScopedPath path(onPath.path());
    EXPECT_EQ(Run("tvxbatch", "arg"), "ok arg\r\n");
}

TEST_F(CommandStartTest, AFileThatIsNoProgramIsExplainedInWords)
{
    TempFolder folder;
    test::WriteBytes(folder / "notes.exe", "just text\r\n");
    DialogWatcher watcher;
    EXPECT_EQ(Run(folder / "notes.exe", ""), "");
    EXPECT_EQ(Shown(watcher), std::vector<std::string>{
                                  "\"" + (folder / "notes.exe") + "\"" + Cp932(L"の起動に失敗しました(193)\r\n") +
                                  Cp932(L"Windows が起動できるプログラムではありません。多くは、#! 行のないスクリプト(.py や "
                                        L".pl など。UTF-8 の BOM が先頭にあると #! 行は読まれません)か、この Windows "
                                        L"では動かない種類のプログラム(32 ビットの Windows での 64 ビットのプログラムなど)"
                                        L"です。")});
}

TEST_F(CommandStartTest, AnEmptyCommandShowsTheStartFailure)
{
    DialogWatcher watcher;
    EXPECT_EQ(Run("", "-a"), "");
    EXPECT_EQ(Shown(watcher), std::vector<std::string>{" -a" + Cp932(L"の起動に失敗しました(2)")});
}

TEST_F(CommandStartTest, ADeviceAsTheCommandIsSaidToBeOneAndNeverRead)
{
    const std::vector<std::string> devices = {"CON", "CONIN$", "nul.pl", "AUX", "COM1"};
    DialogWatcher watcher;
    std::vector<std::string> expected;
    for (const std::string& device : devices) {
        EXPECT_EQ(Run(device, ""), "") << device;
        expected.push_back(device + Cp932(L"はファイルではなくデバイスのため実行できません"));
    }
    EXPECT_EQ(Shown(watcher), expected);
}

TEST_F(CommandStartTest, ARelativeHashBangProgramIsTakenFromTheScriptsFolderNotTheCurrentOne)
{
    TempFolder scripts;
    TempFolder current;
    CreateDirectoryA((scripts / "bin").c_str(), nullptr);
    CreateDirectoryA((current / "bin").c_str(), nullptr);
    CopyTestChild(scripts / "bin\\tool.exe");
    test::WriteBytes(current / "bin\\tool.exe", "not a program");
    test::WriteBytes(scripts / "tvxscript", "#!bin\\tool.exe command-line\n");
    const ScopedCurrentFolder inCurrent(current.path());
    EXPECT_EQ(Run(scripts / "tvxscript", "1"),
              "\"" + scripts.path() + "bin\\tool.exe\" command-line \"" + scripts.path() + "tvxscript\" 1");
}

// Under Wine "/usr/bin/env" is Linux's own, which cannot find a Windows
// program: only the lookup of the name finds this one.
TEST_F(CommandStartTest, AUnixHashBangLineRunsTheProgramItNamesFoundOnPath)
{
    TempFolder onPath;
    TempFolder scripts;
    CopyTestChild(onPath / "tvxenvchild.exe");
    const test::ScopedPath path(onPath.path());
    for (const char* line : {"#!/usr/bin/env tvxenvchild command-line\n", "#!/usr/local/bin/tvxenvchild command-line\n"}) {
        test::WriteBytes(scripts / "tvxscript", line);
        EXPECT_EQ(Run(scripts / "tvxscript", "1"),
                  "\"" + onPath.path() + "tvxenvchild.exe\" command-line \"" + scripts.path() + "tvxscript\" 1")
            << line;
    }
}

TEST_F(CommandStartTest, ABarThatCutACharacterRunsNothingAndSaysWhichCharacterCutTheParameter)
{
    DialogWatcher watcher;
    // scripts\レポート.lua: ポ is 0x83 0x7C, its second byte a "|".
    EXPECT_EQ(narrow_(GetDesktopWindow(), L"text", "scripts\\\x83\x8C\x83|\x81[\x83g.lua|"), nullptr);
    EXPECT_EQ(Shown(watcher),
              std::vector<std::string>{Cp932(L"scripts\\レの直後で、パラメタが文字の途中から切れています\r\n"
                                             L"「ポ」の 2 バイト目は | と同じバイト(0x7C)のため、パラメタがそこで切れました。"
                                             L"メニュー定義ファイルに書いたコマンドは、切れずにそのまま使えます。")});
}

TEST_F(CommandStartTest, ACommandLineOverWindowsLimitIsRefusedInWordsAndOneAtItRuns)
{
    const std::string command = TestChildPath();
    // "<command>" out 6f6b exit 0 <padding>: the child ends before it reads the padding.
    const std::string actions = "out 6f6b exit 0 ";
    const std::size_t room = 32766 - (command.size() + 3) - actions.size();
    DialogWatcher watcher;
    EXPECT_EQ(Run(command, actions + std::string(room, 'a')), "ok");
    EXPECT_EQ(Run(command, actions + std::string(room + 1, 'a')), "");
    EXPECT_EQ(Shown(watcher), std::vector<std::string>{Cp932(L"コマンドラインが32767文字あり、上限の32766文字を超えています")});
}

TEST_F(CommandStartTest, APathTooLongForWindowsIsSaidToBeSoRatherThanNotFound)
{
    const std::string path = "C:\\" + std::string(300, 'p') + "\\tool.exe";
    DialogWatcher watcher;
    EXPECT_EQ(Run(path, ""), "");
    EXPECT_EQ(Shown(watcher),
              std::vector<std::string>{path + Cp932(L"のパスが") + std::to_string(path.size()) +
                                       Cp932(L"バイトあり、上限の259バイトを超えています")});
}

// ---- What the child inherits ----

TEST_F(CommandStartTest, AnInheritableHandleOfTheHostIsNotInTheChild)
{
    SECURITY_ATTRIBUTES inheritable = {sizeof(inheritable), nullptr, TRUE};
    const UniqueHandle event(CreateEventA(&inheritable, TRUE, FALSE, nullptr));
    char value[32] = {};
    std::snprintf(value, sizeof value, "%llx", static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(event.get())));
    EXPECT_EQ(Run(TestChildPath(), std::string("signal ") + value), "not signalled");
    EXPECT_EQ(WaitForSingleObject(event.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
}

// ---- Exit status ----

TEST_F(CommandStartTest, ACrashKeepsTheTextAndShowsStandardErrorThenTheCrash)
{
    const std::string parameter = TestChildPath() + "|out 6f6b err " + Hex("dying\r\n") + " crash";
    const std::string crashed = Cp932(L"コマンドが異常終了しました(0xC0000005)\r\nテキストはそのままです");
    {
        DialogWatcher watcher;
        EXPECT_EQ(narrow_(GetDesktopWindow(), L"text", parameter.c_str()), nullptr);
        EXPECT_EQ(Shown(watcher), (std::vector<std::string>{"dying\r\n", crashed}));
    }
    {
        DialogWatcher watcher;
        EXPECT_EQ(wide_(GetDesktopWindow(), L"text", parameter.c_str()), nullptr);
        ASSERT_EQ(watcher.seen().size(), 2u);
        EXPECT_EQ(watcher.seen()[1].textBytes, crashed);
    }
    {
        DialogWatcher watcher;
        EXPECT_EQ(Run(TestChildPath(), "out 6f6b err " + Hex("dying") + " crash"), "");
        EXPECT_EQ(Shown(watcher), (std::vector<std::string>{"dying", crashed}));
    }
}

TEST_F(CommandStartTest, ARealAccessViolationEndsTheCallWithTheCrashMessage)
{
    // A crash dialog that waited for someone would hold the call until the
    // test's own time ran out.
    DialogWatcher watcher;
    EXPECT_EQ(Run(TestChildPath(), "out 6f6b access-violation"), "");
    EXPECT_EQ(Shown(watcher), std::vector<std::string>{Cp932(L"コマンドが異常終了しました(0xC0000005)\r\nテキストはそのままです")});
}

TEST_F(CommandStartTest, AnOrdinaryFailureStatusStillGivesTheOutput)
{
    DialogWatcher watcher;
    EXPECT_EQ(Run(TestChildPath(), "out 6f6b exit 1"), "ok");
    const HGLOBAL block = narrow_(GetDesktopWindow(), L"", (TestChildPath() + "|out 6f6b exit 1").c_str());
    ASSERT_NE(block, nullptr);
    GlobalFree(block);
    EXPECT_TRUE(watcher.seen().empty());
}

}  // namespace
}  // namespace tuvex
