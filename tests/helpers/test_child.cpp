// A child process for the tests: does, in order, the actions named by its
// arguments, on its raw standard handles (no text-mode translation).
//
//   cat                  copy standard input to standard output until end of file
//   count-input          read standard input to end of file; print its size
//   hex-input            read standard input to end of file; print it in hexadecimal
//   out HEX / err HEX    write the bytes given in hexadecimal
//   out-repeat N BYTE    write N copies of the byte (hex) to standard output
//   err-repeat N BYTE    the same to standard error
//   err-lines N          write N lines of 78 characters and CR LF to standard error
//   err-numbered N KIND  write N lines "line 1", "line 2", ... padded with dots
//                        to 78 characters and CR LF to standard error, as KIND
//                        text: ansi or utf16 (see NumberedLine)
//   pieces N SIZE MS     write N pieces of SIZE bytes ("0".."9" cycling), MS ms apart
//   sleep MS             pause
//   wait-event NAME      wait until the named event NAME is set (at most a minute)
//   flush                wait until the reader has taken everything written to
//                        standard output and error so far: what follows comes in
//                        another read
//   exit CODE            end at once with that status
//   command-line         write the command line it was started with, then end
//   pid                  write its process id in decimal to standard output
//   grandchild MS HEX    start itself, inheriting the handles, to write HEX to
//                        standard output after MS ms; do not wait for it
//   grandchild-waiting NAME HEX
//                        start itself, inheriting the handles, to write HEX to
//                        standard output once the named event NAME is set; do
//                        not wait for it
//   grandchild-flood     start itself, inheriting the handles, to flood standard
//                        output; go on once it has written its first block
//   window-visible       write "hidden" or "shown" for the console window
//   pipe-access          write the user it runs as ("user SID"), then for each
//                        standard handle a line with what its access list
//                        holds ("allow SID", "deny SID" or "other", joined by
//                        spaces; "none" without a list)
//   crash                end at once as an access violation does (0xC0000005)
//   access-violation     write through a null pointer: a real, unhandled fault
//   flood                write to standard output until a write fails, then end
//   flood-after-signal NAME
//                        the same, setting the named event NAME after the first write
//   set-event NAME       set the named event NAME (tells a watcher when the
//                        child is done)
//   signal HEX           set the event whose handle value is HEX (hexadecimal),
//                        as a child that inherited it could; write "signalled"
//                        or "not signalled"
//   hold-mutex M E MS    take the named mutex M, set the named event E, pause
//                        MS ms, release M: a watcher that waits on M finds it
//                        abandoned only when the child was ended before
#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/win32_resource.h"

namespace {

// A wait for the test's signal ends after this at the latest, so that a
// child whose test has failed does not stay behind.
constexpr DWORD kLongestWaitMs = 60 * 1000;

HANDLE StandardInput() { return GetStdHandle(STD_INPUT_HANDLE); }
HANDLE StandardOutput() { return GetStdHandle(STD_OUTPUT_HANDLE); }
HANDLE StandardError() { return GetStdHandle(STD_ERROR_HANDLE); }

void WriteAll(HANDLE target, const char* data, std::size_t size)
{
    while (size > 0) {
        DWORD written = 0;
        if (!WriteFile(target, data, static_cast<DWORD>(size), &written, nullptr)) {
            ExitProcess(90);
        }
        data += written;
        size -= written;
    }
}

void WriteText(HANDLE target, const std::string& text) { WriteAll(target, text.data(), text.size()); }

std::string FromHex(const std::string& hex)
{
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes += static_cast<char>(std::strtoul(hex.substr(i, 2).c_str(), nullptr, 16));
    }
    return bytes;
}

void CopyInput(HANDLE target)
{
    std::vector<char> chunk(64 * 1024);
    DWORD received = 0;
    while (ReadFile(StandardInput(), chunk.data(), static_cast<DWORD>(chunk.size()), &received, nullptr) &&
           received > 0) {
        WriteAll(target, chunk.data(), received);
    }
}

std::string ReadInput()
{
    std::string input;
    std::vector<char> chunk(64 * 1024);
    DWORD received = 0;
    while (ReadFile(StandardInput(), chunk.data(), static_cast<DWORD>(chunk.size()), &received, nullptr) &&
           received > 0) {
        input.append(chunk.data(), received);
    }
    return input;
}

std::string ToHex(const std::string& bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned char byte : bytes) {
        hex += digits[byte >> 4];
        hex += digits[byte & 15];
    }
    return hex;
}

// Line `number` of err-numbered: "line <number>" and dots, 78 characters
// and CR LF in all.
std::string NumberedLine(std::size_t number)
{
    std::string line = "line " + std::to_string(number);
    line.resize(78, '.');
    return line + "\r\n";
}

std::string Utf16FromAscii(const std::string& ascii)
{
    std::string units;
    for (char character : ascii) {
        units += character;
        units += '\0';
    }
    return units;
}

// Written in pieces, so that hundreds of megabytes need no more memory than one.
void WriteNumberedLines(std::size_t count, bool utf16)
{
    std::string piece;
    for (std::size_t number = 1; number <= count; ++number) {
        piece += utf16 ? Utf16FromAscii(NumberedLine(number)) : NumberedLine(number);
        if (piece.size() >= 1024 * 1024 || number == count) {
            WriteText(StandardError(), piece);
            piece.clear();
        }
    }
}

std::string SidText(PSID sid)
{
    char* text = nullptr;
    if (!ConvertSidToStringSidA(sid, &text)) {
        return "?";
    }
    const std::string result = text;
    LocalFree(text);
    return result;
}

std::string UserText()
{
    tuvex::UniqueHandle token;
    OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.put());
    char buffer[256] = {};
    DWORD size = 0;
    if (!GetTokenInformation(token.get(), TokenUser, buffer, sizeof buffer, &size)) {
        return "?";
    }
    return SidText(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid);
}

std::string AccessListText(HANDLE handle)
{
    PACL acl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetSecurityInfo(handle, SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &acl, nullptr,
                        &descriptor) != ERROR_SUCCESS) {
        return "unreadable";
    }
    std::string text = acl == nullptr ? "none" : "";
    for (DWORD index = 0; acl != nullptr && index < acl->AceCount; ++index) {
        void* ace = nullptr;
        GetAce(acl, index, &ace);
        const auto* header = static_cast<ACE_HEADER*>(ace);
        text += index == 0 ? "" : " ";
        if (header->AceType == ACCESS_ALLOWED_ACE_TYPE) {
            text += "allow " + SidText(&static_cast<ACCESS_ALLOWED_ACE*>(ace)->SidStart);
        } else if (header->AceType == ACCESS_DENIED_ACE_TYPE) {
            text += "deny " + SidText(&static_cast<ACCESS_DENIED_ACE*>(ace)->SidStart);
        } else {
            text += "other";
        }
    }
    LocalFree(descriptor);
    return text;
}

// Starts this program with `actions`, inheriting the standard handles.
void StartGrandchild(const std::string& actions)
{
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string commandLine = std::string("\"") + self + "\" " + actions;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = StandardInput();
    startup.hStdOutput = StandardOutput();
    startup.hStdError = StandardError();
    PROCESS_INFORMATION started = {};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &started)) {
        ExitProcess(91);
    }
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
}

}  // namespace

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        const std::string action = argv[i];
        auto next = [&]() -> std::string { return i + 1 < argc ? argv[++i] : std::string(); };
        if (action == "cat") {
            CopyInput(StandardOutput());
        } else if (action == "err-input") {
            CopyInput(StandardError());
        } else if (action == "count-input") {
            WriteText(StandardOutput(), std::to_string(ReadInput().size()));
        } else if (action == "hex-input") {
            WriteText(StandardOutput(), ToHex(ReadInput()));
        } else if (action == "out") {
            WriteText(StandardOutput(), FromHex(next()));
        } else if (action == "err") {
            WriteText(StandardError(), FromHex(next()));
        } else if (action == "out-repeat" || action == "err-repeat") {
            const std::size_t count = std::strtoull(next().c_str(), nullptr, 10);
            const std::string block(count, FromHex(next()).at(0));
            WriteText(action == "out-repeat" ? StandardOutput() : StandardError(), block);
        } else if (action == "err-lines") {
            const std::size_t count = std::strtoull(next().c_str(), nullptr, 10);
            std::string lines;
            for (std::size_t line = 0; line < count; ++line) {
                lines += std::string(78, static_cast<char>('a' + line % 26)) + "\r\n";
            }
            WriteText(StandardError(), lines);
        } else if (action == "err-numbered") {
            const std::size_t count = std::strtoull(next().c_str(), nullptr, 10);
            WriteNumberedLines(count, next() == "utf16");
        } else if (action == "set-event") {
            const tuvex::UniqueHandle event(OpenEventA(EVENT_MODIFY_STATE, FALSE, next().c_str()));
            SetEvent(event.get());
        } else if (action == "pieces") {
            const int count = std::atoi(next().c_str());
            const int size = std::atoi(next().c_str());
            const int pauseMs = std::atoi(next().c_str());
            for (int piece = 0; piece < count; ++piece) {
                WriteText(StandardOutput(), std::string(size, static_cast<char>('0' + piece % 10)));
                Sleep(pauseMs);
            }
        } else if (action == "sleep") {
            Sleep(std::atoi(next().c_str()));
        } else if (action == "exit") {
            ExitProcess(std::atoi(next().c_str()));
        } else if (action == "pid") {
            WriteText(StandardOutput(), std::to_string(GetCurrentProcessId()));
        } else if (action == "command-line") {
            WriteText(StandardOutput(), GetCommandLineA());
            return 0;
        } else if (action == "grandchild") {
            const std::string delayMs = next();
            StartGrandchild("sleep " + delayMs + " out " + next());
        } else if (action == "grandchild-waiting") {
            const std::string event = next();
            StartGrandchild("wait-event " + event + " out " + next());
        } else if (action == "grandchild-flood") {
            // The flood has begun before this child goes on, however slow
            // the machine: what the child does next meets it.
            const std::string name = "TuvexTestFlood-" + std::to_string(GetCurrentProcessId());
            const tuvex::UniqueHandle begun(CreateEventA(nullptr, TRUE, FALSE, name.c_str()));
            StartGrandchild("flood-after-signal " + name);
            WaitForSingleObject(begun.get(), kLongestWaitMs);
        } else if (action == "wait-event") {
            const tuvex::UniqueHandle event(OpenEventA(SYNCHRONIZE, FALSE, next().c_str()));
            WaitForSingleObject(event.get(), kLongestWaitMs);
        } else if (action == "flush") {
            FlushFileBuffers(StandardOutput());
            FlushFileBuffers(StandardError());
        } else if (action == "crash") {
            ExitProcess(0xC0000005);
        } else if (action == "access-violation") {
            volatile int* p = nullptr;
            *p = 1;
        } else if (action == "flood" || action == "flood-after-signal") {
            const tuvex::UniqueHandle begun(action == "flood" ? nullptr : OpenEventA(EVENT_MODIFY_STATE, FALSE, next().c_str()));
            const std::string block(64 * 1024, 'f');
            for (DWORD written = 0;
                 WriteFile(StandardOutput(), block.data(), static_cast<DWORD>(block.size()), &written, nullptr);) {
                SetEvent(begun.get());
            }
        } else if (action == "signal") {
            const auto handle = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(std::strtoull(next().c_str(), nullptr, 16)));
            WriteText(StandardOutput(), SetEvent(handle) ? "signalled" : "not signalled");
        } else if (action == "hold-mutex") {
            const tuvex::UniqueHandle mutex(OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, next().c_str()));
            WaitForSingleObject(mutex.get(), INFINITE);
            const tuvex::UniqueHandle held(OpenEventA(EVENT_MODIFY_STATE, FALSE, next().c_str()));
            SetEvent(held.get());
            Sleep(std::atoi(next().c_str()));
            ReleaseMutex(mutex.get());
        } else if (action == "pipe-access") {
            std::string text = "user " + UserText();
            for (HANDLE handle : {StandardInput(), StandardOutput(), StandardError()}) {
                text += "\n" + AccessListText(handle);
            }
            WriteText(StandardOutput(), text);
        } else if (action == "window-visible") {
            const HWND console = GetConsoleWindow();
            WriteText(StandardOutput(), console && IsWindowVisible(console) ? "shown" : "hidden");
        } else {
            WriteText(StandardError(), "test_child: unknown action " + action);
            return 2;
        }
    }
    return 0;
}
