#include <gtest/gtest.h>

#include <thread>

#include "exec/interpreter_line.h"
#include "support/test_support.h"

namespace tuvex {
namespace {

using test::TempFolder;
using test::WriteBytes;

ByteString OpenFailure(const std::string& subject, int errorNumber)
{
    return subject + test::Cp932(L"のオープンに失敗しました(") + std::to_string(errorNumber) + ")";
}

TEST(ReadInterpreterLine, ReadsTheHashBangLineOfTheFileItIsGiven)
{
    TempFolder folder;
    WriteBytes(folder / "sort.pl", "#!perl -w\r\nprint;\n");
    EXPECT_EQ(ReadInterpreterLine(folder / "sort.pl", "cmd"), "perl -w");
}

TEST(ReadInterpreterLine, IsEmptyForMissingEmptyAndNonScriptFiles)
{
    TempFolder folder;
    WriteBytes(folder / "empty.txt", "");
    WriteBytes(folder / "bom.txt", "\xEF\xBB\xBF#!perl\n");
    WriteBytes(folder / "later.txt", "\n#!perl\n");
    EXPECT_EQ(ReadInterpreterLine(folder / "missing.pl", "cmd"), "");
    EXPECT_EQ(ReadInterpreterLine("", "cmd"), "");
    EXPECT_EQ(ReadInterpreterLine(folder / "empty.txt", "cmd"), "");
    EXPECT_EQ(ReadInterpreterLine(folder / "bom.txt", "cmd"), "");
    EXPECT_EQ(ReadInterpreterLine(folder / "later.txt", "cmd"), "");
    EXPECT_EQ(ReadInterpreterLine(test::TestChildPath(), "cmd"), "");
}

TEST(ReadInterpreterLine, TakesAtMost252BytesOfALongFirstLine)
{
    TempFolder folder;
    WriteBytes(folder / "long.pl", "#!" + std::string(100 * 1024, 'p') + "\n");
    EXPECT_EQ(ReadInterpreterLine(folder / "long.pl", "cmd"), std::string(252, 'p'));
}

TEST(ReadInterpreterLine, RaisesTheOpenFailureWithTheCommandAsWritten)
{
    TempFolder folder;
    try {
        ReadInterpreterLine(folder.path(), "tools");
        FAIL() << "no error raised";
    } catch (const ErrorMessage& error) {
        EXPECT_EQ(test::FirstLine(error.text()), OpenFailure("tools", 13));
    }
}

TEST(ReadInterpreterLine, SaysThatAPipeIsADeviceWithoutWaitingToReadIt)
{
    const std::string name = "pipe\\tuvex-probe-" + std::to_string(GetCurrentProcessId());
    const UniqueFileHandle server(CreateNamedPipeA(("\\\\.\\" + name).c_str(), PIPE_ACCESS_OUTBOUND, 0, 1, 0, 0, 0, nullptr));
    // A probe that read the pipe would get a "#!" line after a while.
    std::thread writer([&] {
        ConnectNamedPipe(server.get(), nullptr);
        Sleep(2000);
        DWORD written = 0;
        WriteFile(server.get(), "#!perl\n", 7, &written, nullptr);
    });
    std::string result;
    try {
        result = "interpreter " + ReadInterpreterLine("\\\\?\\" + name, "tool");
    } catch (const ErrorMessage& error) {
        result = error.text();
    }
    const UniqueFileHandle client(CreateFileA(("\\\\.\\" + name).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    writer.join();  // the client above lets it go if the probe never connected
    EXPECT_EQ(result, "tool" + test::Cp932(L"はファイルではなくデバイスのため実行できません"));
}

}  // namespace
}  // namespace tuvex
