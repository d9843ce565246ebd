#include <gtest/gtest.h>

#include <thread>

#include "exec/exchange_outcome.h"
#include "exec/interpreter_line.h"
#include "support/test_support.h"

namespace tuvex {
namespace {

using test::TempFolder;
using test::WriteBytes;

// The failure as "<step> <subject> <code>".
std::string Described(const ExchangeError& error)
{
    const char* step = error.step == ExchangeStep::OpenScript ? "open-script"
                       : error.step == ExchangeStep::IsDevice ? "device"
                                                              : "other";
    return std::string(step) + " " + error.subject + " " + std::to_string(error.code);
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
    } catch (const ExchangeError& error) {
        EXPECT_EQ(Described(error), "open-script tools 13");
    }
}

TEST(ReadInterpreterLine, SaysThatAPipeIsADeviceWithoutWaitingToReadIt)
{
    const std::string name = "pipe\\tuvex-probe-" + std::to_string(GetCurrentProcessId());
    const UniqueFileHandle server(CreateNamedPipeA(("\\\\.\\" + name).c_str(), PIPE_ACCESS_OUTBOUND, 0, 1, 0, 0, 0, nullptr));
    // A probe that read the pipe would get a "#!" line once the test has
    // waited for it in vain.
    const UniqueHandle probed(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    std::thread writer([&] {
        ConnectNamedPipe(server.get(), nullptr);
        WaitForSingleObject(probed.get(), test::kStateTimeoutMs);
        DWORD written = 0;
        WriteFile(server.get(), "#!perl\n", 7, &written, nullptr);
    });
    std::string result;
    try {
        result = "interpreter " + ReadInterpreterLine("\\\\?\\" + name, "tool");
    } catch (const ExchangeError& error) {
        result = Described(error);
    }
    SetEvent(probed.get());
    const UniqueFileHandle client(CreateFileA(("\\\\.\\" + name).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    writer.join();  // the client above lets it go if the probe never connected
    EXPECT_EQ(result, "device tool 0");
}

}  // namespace
}  // namespace tuvex
