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

UniqueFileHandle InheritableFile(const std::string& path, DWORD access, DWORD disposition)
{
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return UniqueFileHandle(CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                        disposition, 0, nullptr));
}

// Read while others may still hold the file: the module's child inherits
// every inheritable handle of tuvex_host, and so these files too.
std::string ReadShared(const std::string& path)
{
    const UniqueFileHandle file = InheritableFile(path, GENERIC_READ, OPEN_EXISTING);
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
        const UniqueFileHandle in = InheritableFile(folder / "in", GENERIC_READ, OPEN_EXISTING);
        const UniqueFileHandle out = InheritableFile(folder / "out", GENERIC_WRITE, CREATE_ALWAYS);
        const UniqueFileHandle err = InheritableFile(folder / "err", GENERIC_WRITE, CREATE_ALWAYS);
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
    EXPECT_EQ(run.err, "warning\r\ntuvex_host: exit code of the command: 0\n");
    EXPECT_EQ(run.out, "");
}

TEST(HostProgram, PrintsTheMessageBoxesOfTuvexRunInUtf8WhenRedirected)
{
    const HostRun run = RunHost("run \"" + TestChildPath() + "\" \"out " + Hex("result") + " err " +
                                Hex(Cp932(L"警告")) + "\"");
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(run.err, Utf8(L"警告\r\n") + "tuvex_host: exit code of the command: 0\n");
    EXPECT_EQ(run.out, "result");
}

TEST(HostProgram, LeavesTheWaitWindowToCloseByItself)
{
    const HostRun run =
        RunHost("filter Tuvex --param \"" + TestChildPath() + "|sleep 1800 out " + Hex("done") + "\"");
    EXPECT_EQ(run.exitCode, 0u) << run.err;
    EXPECT_EQ(run.out, "done");
    EXPECT_EQ(run.err, "tuvex_host: exit code of the command: 0\n");
}

TEST(HostProgram, PrintsTheCommandsExitCodeAfterTheRunAndExitsByItsOwnResult)
{
    const HostRun filtered = RunHost("filter Tuvex --param \"" + TestChildPath() + "|out 6f6b sleep 200 exit 5\"");
    EXPECT_EQ(filtered.exitCode, 0u) << filtered.err;
    EXPECT_EQ(filtered.out, "ok");
    EXPECT_EQ(filtered.err, "tuvex_host: exit code of the command: 5\n");
    const HostRun crashed = RunHost("run \"" + TestChildPath() + "\" \"sleep 200 crash\"");
    EXPECT_EQ(crashed.exitCode, 1u) << crashed.err;
    EXPECT_TRUE(crashed.err.ends_with("tuvex_host: exit code of the command: 3221225477 (0xC0000005, a crash)\n"))
        << crashed.err;
}

TEST(HostProgram, SettingsDoctorNamesAnExitCodeValueThatTheModuleDoesNotKnow)
{
    const TempFolder folder;
    const std::string dll = "--dll \"" + (folder / "Tuvex.dll") + "\" ";
    const HostRun absent = RunHost(dll + "conf");
    EXPECT_EQ(absent.exitCode, 0u) << absent.out;
    EXPECT_NE(absent.out.find("[COMMAND] exitCode is not set, so it is report"), std::string::npos) << absent.out;

    WriteBytes(folder / "Tuvex.conf", "[COMMAND]\r\nexitCode = kept\r\n");
    const HostRun unknown = RunHost(dll + "conf");
    EXPECT_EQ(unknown.exitCode, 1u) << unknown.out;
    EXPECT_NE(unknown.out.find("[COMMAND] exitCode = kept is no value the module knows (report, keep or ignore)"),
              std::string::npos)
        << unknown.out;

    WriteBytes(folder / "other.conf", "[COMMAND]\r\nexitCode=Keep\r\n");
    const HostRun known = RunHost("conf \"" + (folder / "other.conf") + "\"");
    EXPECT_EQ(known.exitCode, 0u) << known.out;
    EXPECT_NE(known.out.find("[COMMAND] exitCode = Keep: "), std::string::npos) << known.out;
}

TEST(HostProgram, MenuDoctorExitsByWhatItFound)
{
    const TempFolder folder;
    const std::string dll = "--dll \"" + (folder / "Tuvex.dll") + "\" ";
    WriteBytes(folder / "Tuvex.ini", Cp932(L"並べ替え(&S)\tcmd\t/c sort\r\n"));
    WriteBytes(folder / "TuvexW.ini", "  Sort\tcmd\n");

    const HostRun sound = RunHost(dll + "menu");
    EXPECT_EQ(sound.exitCode, 0u) << sound.out;
    EXPECT_NE(sound.out.find(Utf8(L"    1  並べ替え(S)  [S]  :  cmd /c sort")), std::string::npos) << sound.out;
    EXPECT_TRUE(sound.out.starts_with("menu file " + (folder / "Tuvex.ini") + " (beside the module")) << sound.out;

    const HostRun flawed = RunHost(dll + "menu TuvexW");
    EXPECT_EQ(flawed.exitCode, 1u) << flawed.out;
    EXPECT_NE(flawed.out.find("  line 1: indented with spaces"), std::string::npos) << flawed.out;

    WriteBytes(folder / "TuvexUtf8.ini", "Sort backwards\tcmd\t/c sort /r\n");
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
    EXPECT_EQ(run.exitCode, 1u) << run.out;
    EXPECT_NE(run.out.find("    1  Child  :  " + TestChildPath() + "  (" + TestChildPath() + ")\n"), std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("    2  Missing  :  no-such-command-here  (not found)\n"), std::string::npos) << run.out;
    // A command found nowhere is a finding, with the names tried and the
    // folders searched, this program's first.
    EXPECT_NE(run.out.find("  line 2: the command \"no-such-command-here\" is found nowhere: looked for "
                           "no-such-command-here, no-such-command-here.com, no-such-command-here.exe"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("in this order (this program's folder stands in for the editor's; the current folder is "
                           "never searched):\n  " + ProgramDirectory() + "\n"),
              std::string::npos)
        << run.out;
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

TEST(HostProgram, MenuDoctorShowsTheProgramThatAUnixHashBangLineRuns)
{
    const TempFolder folder;
    WriteBytes(folder / "env.txt", "#!/usr/bin/env tuvex_test_child cat\n");
    WriteBytes(folder / "Tuvex.ini", "Env\t" + (folder / "env.txt") + "\r\n");
    const HostRun run = RunHost("menu \"" + (folder / "Tuvex.ini") + "\"");
    EXPECT_EQ(run.exitCode, 0u) << run.out;
    EXPECT_NE(run.out.find("    1  Env  :  " + (folder / "env.txt") + "  (" + (folder / "env.txt") + ", run by " +
                           TestChildPath() + " cat (a Unix \"#!\" line: tuvex_test_child is looked up as a command))\n"),
              std::string::npos)
        << run.out;
}

TEST(HostProgram, MenuDoctorHintsAtDotBackslashForAMenuFileNotBesideTheModule)
{
    const TempFolder folder;
    const HostRun run = RunHost("--dll \"" + (folder / "Tuvex.dll") + "\" menu mine");
    EXPECT_EQ(run.exitCode, 2u);
    EXPECT_TRUE(run.err.starts_with("tuvex_host: cannot read " + (folder / "mine.ini") + ": ")) << run.err;
    EXPECT_TRUE(run.err.ends_with("\n(a name without a folder is the file beside the module; for mine.ini in the "
                                  "current folder, write .\\mine.ini)\n"))
        << run.err;
}

TEST(HostProgram, RefusesAnInputThatIsNotInTheEncodingGivenNamingTheByte)
{
    const TempFolder folder;
    WriteBytes(folder / "text.txt", Cp932(L"東京"));
    const HostRun run =
        RunHost("filter Tuvex " + CatParameter() + " --encoding utf-8 --in \"" + (folder / "text.txt") + "\"");
    EXPECT_EQ(run.exitCode, 2u) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "tuvex_host: the input is not UTF-8 (as --encoding says): byte 1 is 0x93; give the encoding "
                       "it is in with --encoding cp932, utf-8 or utf-16\n");
}

TEST(HostProgram, MenuDoctorSaysWhichProgramsOfWindowsWineLacks)
{
    const TempFolder folder;
    WriteBytes(folder / "Tuvex.ini", "Sort\tsort\r\n");
    const HostRun run = RunHost("menu \"" + (folder / "Tuvex.ini") + "\"");
    const bool underWine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    EXPECT_EQ(run.out.find("under Wine: Wine lacks sort, which Windows has") != std::string::npos, underWine)
        << run.out;
    EXPECT_EQ(run.exitCode, underWine ? 1u : 0u) << run.out;
}

TEST(HostProgram, WritesTheResultInTheEncodingAskedFor)
{
    const std::string param = "--param \"" + TestChildPath() + "|out " + Hex(Cp932(L"東京")) + "\" ";
    EXPECT_EQ(RunHost("filter Tuvex " + param + "--out-encoding cp932").out, Cp932(L"東京"));
    EXPECT_EQ(RunHost("filter Tuvex " + param + "--out-encoding utf-16").out, std::string("\x71\x67\xAC\x4E", 4));
    // A character that Shift_JIS lacks: U+00E9 in UTF-16LE.
    const HostRun refused = RunHost("filter TuvexW --param \"" + TestChildPath() + "|out e900\" --out-encoding cp932");
    EXPECT_EQ(refused.exitCode, 2u) << refused.err;
    EXPECT_NE(refused.err.find("tuvex_host: the result holds a character that code page 932 lacks"), std::string::npos)
        << refused.err;
}

TEST(HostProgram, EndsACommandThatOutlivesTheTimeoutAsTheEndButtonDoes)
{
    const HostRun run = RunHost("filter Tuvex --timeout 0.5 --param \"" + TestChildPath() + "|out 6f6b sleep 60000\"");
    EXPECT_EQ(run.exitCode, 124u) << run.err;
    EXPECT_EQ(run.out, "");
    // The end gives the command the exit code 1.
    EXPECT_EQ(run.err, Utf8(L"コマンドを終了しました\r\n") + "tuvex_host: exit code of the command: 1\n" +
                           "tuvex_host: the command still ran after the timeout of 500 ms and was ended\n");
}

TEST(HostProgram, NamesAnUnknownOptionAndADllOfTheOtherWidth)
{
    // The line that matters and where the usage is, not the whole usage.
    const HostRun typo = RunHost("filter Tuvex --paramm x");
    EXPECT_EQ(typo.exitCode, 2u);
    EXPECT_EQ(typo.err, "tuvex_host: unknown option --paramm (did you mean --param?)\nFor the usage: tuvex_host --help\n");

    // The start of a DLL for the other processor: DOS header, then the PE
    // header with its machine.
    const TempFolder folder;
    std::string header(0x100, '\0');
    header.replace(0, 2, "MZ");
    header[0x3C] = '\x80';
    header.replace(0x80, 4, std::string("PE\0\0", 4));
    const bool program64 = sizeof(void*) == 8;
    header.replace(0x84, 2, program64 ? std::string("\x4C\x01", 2) : std::string("\x64\x86", 2));
    WriteBytes(folder / "Tuvex.dll", header);
    const HostRun other = RunHost("--dll \"" + (folder / "Tuvex.dll") + "\" list");
    EXPECT_EQ(other.exitCode, 2u);
    EXPECT_EQ(other.err, "tuvex_host: cannot load " + (folder / "Tuvex.dll") + ": it is a " +
                             (program64 ? "32-bit DLL and this tuvex_host is 64-bit" : "64-bit DLL and this tuvex_host is 32-bit") +
                             ": use the tuvex_host.exe of the same package (" + (program64 ? "win32" : "win64") +
                             "), as an editor loads only the Tuvex.dll of its own width\n");
}

TEST(HostProgram, CheckPrintsATableOfWhatWindowsDoes)
{
    const HostRun run = RunHost("check");
    EXPECT_LE(run.exitCode, 1u) << run.err;  // rows may fail where the system is not Windows
    EXPECT_TRUE(run.out.starts_with("tuvex_host check on Windows ")) << run.out;
    EXPECT_NE(run.out.find("\n| what | expected | got | result |\n|---|---|---|---|\n"), std::string::npos) << run.out;
    std::size_t rows = 0;
    for (std::size_t at = 0; (at = run.out.find("\n| ", at)) != std::string::npos; ++at) {
        ++rows;
    }
    EXPECT_GE(rows, 17u) << run.out;  // the heading and every behaviour
}

}  // namespace
}  // namespace tuvex::test
