#include <gtest/gtest.h>

#include "exec/command_lookup.h"
#include "support/test_support.h"

namespace tuvex {
namespace {

using test::ProgramDirectory;
using test::ScopedCurrentFolder;
using test::ScopedPath;
using test::TempFolder;
using test::WriteBytes;

std::string SystemFolder()
{
    char folder[MAX_PATH] = {};
    GetSystemDirectoryA(folder, MAX_PATH);
    return folder;
}

TEST(LocateCommand, FindsAProgramBesideTheHostProgramWithExeAdded)
{
    const CommandLocation location = LocateCommand("tuvex_test_child");
    EXPECT_EQ(location.file, ProgramDirectory() + "tuvex_test_child.exe");
    EXPECT_FALSE(location.onlyInCurrentFolder);
}

TEST(LocateCommand, FindsASystemProgramInTheSystemFolder)
{
    EXPECT_EQ(LocateCommand("cmd").file, SystemFolder() + "\\cmd.exe");
}

TEST(LocateCommand, TriesTheExtensionsOfPathExtInOrder)
{
    TempFolder onPath;
    WriteBytes(onPath / "tvxtool.tvx", "#!runner\n");
    WriteBytes(onPath / "tvxtool.cmd", "@echo off\r\n");
    const ScopedPath path(onPath.path());
    const test::ScopedVariable pathExt("PATHEXT", ".TVX;.CMD");
    EXPECT_EQ(LocateCommand("tvxtool").file, onPath / "tvxtool.tvx");
}

TEST(LocateCommand, SearchesAbsolutePathEntriesButNeverRelativeOnes)
{
    TempFolder onPath;
    TempFolder current;
    CreateDirectoryA((current / "sub").c_str(), nullptr);
    WriteBytes(onPath / "onpath.tvx", "#!runner\n");
    WriteBytes(current / "sub\\relative.tvx", "#!runner\n");
    const ScopedCurrentFolder inCurrent(current.path());
    const ScopedPath path("sub;.;" + onPath.path());
    EXPECT_EQ(LocateCommand("onpath.tvx").file, onPath / "onpath.tvx");
    const CommandLocation relative = LocateCommand("relative.tvx");
    EXPECT_EQ(relative.file, "");
    EXPECT_FALSE(relative.onlyInCurrentFolder);
}

TEST(LocateCommand, TellsACommandThatExistsOnlyInTheCurrentFolder)
{
    TempFolder current;
    WriteBytes(current / "local.exe", "MZ");
    const ScopedCurrentFolder inCurrent(current.path());
    for (const char* command : {"local", "local.exe", "\"local\""}) {
        const CommandLocation location = LocateCommand(command);
        EXPECT_EQ(location.file, "") << command;
        EXPECT_TRUE(location.onlyInCurrentFolder) << command;
    }
    EXPECT_EQ(LocateCommand(".\\local").file, ".\\local.exe");
}

TEST(LocateCommand, PrefersTheSearchToAFileOfTheSameNameInTheCurrentFolder)
{
    TempFolder current;
    WriteBytes(current / "tuvex_test_child.exe", "MZ");
    const ScopedCurrentFolder inCurrent(current.path());
    EXPECT_EQ(LocateCommand("tuvex_test_child").file, ProgramDirectory() + "tuvex_test_child.exe");
}

}  // namespace
}  // namespace tuvex
