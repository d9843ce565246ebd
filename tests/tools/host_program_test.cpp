// tuvex_host.exe as a script runs it: standard input from a file (not a
// console), standard output and error into files.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "support/test_support.h"

namespace tuvex::test {
namespace {

struct HostRun {
    DWORD exitCode = 0;
    std::string out;
    std::string err;
};

UniqueHandle InheritableFile(const std::string& path, DWORD access, DWORD disposition)
{
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return UniqueHandle(CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, disposition,
                                    0, nullptr));
}

// Read while others may still hold the file: the module's child inherits
// every inheritable handle of tuvex_host, and so these files too.
std::string ReadShared(const std::string& path)
{
    const UniqueHandle file = InheritableFile(path, GENERIC_READ, OPEN_EXISTING);
    std::string bytes(GetFileSize(file.get(), nullptr), '\0');
    DWORD received = 0;
    ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &received, nullptr);
    bytes.resize(received);
    return bytes;
}

HostRun RunHost(const std::string& arguments, const std::string& input = "")
{
    const TempFolder folder;
    WriteBytes(folder / "in", input);
    HostRun run;
    {
        const UniqueHandle in = InheritableFile(folder / "in", GENERIC_READ, OPEN_EXISTING);
        const UniqueHandle out = InheritableFile(folder / "out", GENERIC_WRITE, CREATE_ALWAYS);
        const UniqueHandle err = InheritableFile(folder / "err", GENERIC_WRITE, CREATE_ALWAYS);
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = in.get();
        startup.hStdOutput = out.get();
        startup.hStdError = err.get();
        std::string commandLine = "\"" + ProgramDirectory() + "tuvex_host.exe\" " + arguments;
        PROCESS_INFORMATION process{};
        EXPECT_TRUE(CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                   nullptr, &startup, &process))
            << commandLine;
        const UniqueHandle processHandle(process.hProcess);
        const UniqueHandle threadHandle(process.hThread);
        EXPECT_EQ(WaitForSingleObject(process.hProcess, 60000), WAIT_OBJECT_0) << commandLine;
        GetExitCodeProcess(process.hProcess, &run.exitCode);
    }
    run.out = ReadShared(folder / "out");
    run.err = ReadShared(folder / "err");
    return run;
}

std::string Utf8(std::wstring_view text)
{
    std::string bytes(WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                          nullptr, nullptr),
                      '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(),
                        static_cast<int>(bytes.size()), nullptr, nullptr);
    return bytes;
}

std::string CatParameter() { return "--param \"" + TestChildPath() + "|cat\""; }

TEST(HostProgram, ReadsAShiftJisFileAsShiftJis)
{
    const TempFolder folder;
    WriteBytes(folder / "text.txt", Cp932(L"東京都\r\n"));
    const HostRun run = RunHost("filter Tuvex " + CatParameter() + " --in \"" + (folder / "text.txt") + "\"");
    EXPECT_EQ(run.exitCode, 0u) << run.err;
    EXPECT_EQ(run.out, Utf8(L"東京都\r\n"));
}

TEST(HostProgram, ReadsUtf16WithoutAByteOrderMarkWhenTold)
{
    const TempFolder folder;
    WriteBytes(folder / "text.txt", std::string("\x71\x67\xAC\x4E", 4));  // 東京 in UTF-16LE
    const HostRun run =
        RunHost("filter TuvexW " + CatParameter() + " --encoding utf-16 --in \"" + (folder / "text.txt") + "\"");
    EXPECT_EQ(run.exitCode, 0u) << run.err;
    EXPECT_EQ(run.out, Utf8(L"東京"));
}

TEST(HostProgram, RunsTheUtf8Filter)
{
    const TempFolder folder;
    WriteBytes(folder / "text.txt", Utf8(L"\U00020BB7\u91ce\r\n"));
    const HostRun run = RunHost("filter TuvexUtf8 --param \"" + TestChildPath() + "|hex-input\" --in \"" +
                                (folder / "text.txt") + "\"");
    EXPECT_EQ(run.exitCode, 0u) << run.err;
    EXPECT_EQ(run.out, "f0a0aeb7e9878e0d0a");
}

TEST(HostProgram, AcceptsOnlyTheRegisteredFilterNames)
{
    for (const std::string name : {"tuvex", "TuvexRun"}) {
        const HostRun run = RunHost("filter " + name + " " + CatParameter());
        EXPECT_EQ(run.exitCode, 2u) << name;
        EXPECT_EQ(run.err, "tuvex_host: the module has no filter " + name + "; its filters are: Tuvex TuvexW TuvexUtf8\n");
    }
}

TEST(HostProgram, SaysWhyTheInputFileCannotBeRead)
{
    const TempFolder folder;
    const HostRun run = RunHost("filter Tuvex " + CatParameter() + " --in \"" + (folder / "missing.txt") + "\"");
    EXPECT_EQ(run.exitCode, 2u);
    const std::string prefix = "tuvex_host: cannot read " + (folder / "missing.txt") + ": ";
    ASSERT_TRUE(run.err.starts_with(prefix)) << run.err;
    // The system's own words, not a bare number.
    EXPECT_GT(run.err.size(), prefix.size() + 3) << run.err;
    EXPECT_EQ(run.err.find("error 2"), std::string::npos) << run.err;
}

TEST(HostProgram, PrintsTheModulesMessagesAndClosesThemWhenInputIsNoConsole)
{
    const HostRun run = RunHost("filter Tuvex --param \"" + TestChildPath() + "|err " + Hex("warning") + "\"");
    EXPECT_EQ(run.exitCode, 1u);  // a message, and nothing came back
    EXPECT_EQ(run.err, "warning\r\n");
    EXPECT_EQ(run.out, "");
}

TEST(HostProgram, PrintsTheMessageBoxesOfTuvexRunInUtf8WhenRedirected)
{
    const HostRun run = RunHost("run \"" + TestChildPath() + "\" \"out " + Hex("result") + " err " +
                                Hex(Cp932(L"警告")) + "\"");
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(run.err, Utf8(L"警告\r\n"));
    EXPECT_EQ(run.out, "result");
}

TEST(HostProgram, LeavesTheWaitWindowToCloseByItself)
{
    const HostRun run =
        RunHost("filter Tuvex --param \"" + TestChildPath() + "|sleep 1800 out " + Hex("done") + "\"");
    EXPECT_EQ(run.exitCode, 0u) << run.err;
    EXPECT_EQ(run.out, "done");
    EXPECT_EQ(run.err, "");
}

TEST(HostProgram, MenuDoctorExitsByWhatItFound)
{
    const TempFolder folder;
    const std::string dll = "--dll \"" + (folder / "Tuvex.dll") + "\" ";
    WriteBytes(folder / "Tuvex.ini", Cp932(L"並べ替え(&S)\tsort\r\n"));
    WriteBytes(folder / "TuvexW.ini", "  Sort\tsort\n");

    const HostRun sound = RunHost(dll + "menu");
    EXPECT_EQ(sound.exitCode, 0u) << sound.out;
    EXPECT_NE(sound.out.find(Utf8(L"    1  並べ替え(S)  [S]  :  sort")), std::string::npos) << sound.out;

    const HostRun flawed = RunHost(dll + "menu TuvexW");
    EXPECT_EQ(flawed.exitCode, 1u) << flawed.out;
    EXPECT_NE(flawed.out.find("  line 1: indented with spaces"), std::string::npos) << flawed.out;

    WriteBytes(folder / "TuvexUtf8.ini", "Sort backwards\tsort\t/r\n");
    EXPECT_EQ(RunHost(dll + "menu TuvexUtf8").exitCode, 0u);

    const HostRun missing = RunHost(dll + "menu \"" + (folder / "none.ini") + "\"");
    EXPECT_EQ(missing.exitCode, 2u);
    EXPECT_TRUE(missing.err.starts_with("tuvex_host: cannot read " + (folder / "none.ini") + ": ")) << missing.err;
}

TEST(HostProgram, MenuDoctorSaysWhereEachCommandIsFoundAndWhatRunsAScript)
{
    const TempFolder folder;
    WriteBytes(folder / "script.txt", "#!tuvex_test_child.exe cat\r\n");
    WriteBytes(folder / "relative.txt", "#!bin\\child.exe cat\r\n");
    CreateDirectoryA((folder / "bin").c_str(), nullptr);
    ASSERT_TRUE(CopyFileA(TestChildPath().c_str(), (folder / "bin\\child.exe").c_str(), FALSE));
    WriteBytes(folder / "tool.bat", "@echo off\r\n");
    WriteBytes(folder / "Tuvex.ini", "Child\t" + TestChildPath() + "\r\nMissing\tno-such-command-here\r\nScript\t" +
                                         (folder / "script.txt") + "\r\nRelative\t" + (folder / "relative.txt") +
                                         "\r\nBatch\t" + (folder / "tool.bat") + "\r\n");
    const HostRun run = RunHost("menu \"" + (folder / "Tuvex.ini") + "\"");
    EXPECT_EQ(run.exitCode, 0u) << run.out;
    EXPECT_NE(run.out.find("    1  Child  :  " + TestChildPath() + "  (" + TestChildPath() + ")\n"), std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("    2  Missing  :  no-such-command-here  (not found)\n"), std::string::npos) << run.out;
    // The interpreter is looked up as the module looks it up: here, beside the program.
    EXPECT_NE(run.out.find("    3  Script  :  " + (folder / "script.txt") + "  (" + (folder / "script.txt") +
                           ", run by " + TestChildPath() + " cat)\n"),
              std::string::npos)
        << run.out;
    // A relative "#!" program lies beside the script.
    EXPECT_NE(run.out.find("    4  Relative  :  " + (folder / "relative.txt") + "  (" + (folder / "relative.txt") +
                           ", run by " + (folder / "bin\\child.exe") + " cat)\n"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("    5  Batch  :  " + (folder / "tool.bat") + "  (" + (folder / "tool.bat") +
                           ", a batch file: the command processor reads its arguments, so & | < > ^ and %NAME% in "
                           "them are live)\n"),
              std::string::npos)
        << run.out;
}

}  // namespace
}  // namespace tuvex::test
