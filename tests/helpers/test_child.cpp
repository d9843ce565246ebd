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
//   exit CODE            end at once with that status
//   command-line         write the command line it was started with, then end
//   grandchild MS HEX    start itself, inheriting the handles, to write HEX to
//                        standard output after MS ms; do not wait for it
//   grandchild-flood     start itself, inheriting the handles, to flood standard
//                        output; do not wait for it
//   window-visible       write "hidden" or "shown" for the console window
//   crash                end at once as an access violation does (0xC0000005)
//   flood                write to standard output until a write fails, then end
//   set-event NAME       set the named event NAME (tells a watcher when the
//                        child is done)
//   signal HEX           set the event whose handle value is HEX (hexadecimal),
//                        as a child that inherited it could; write "signalled"
//                        or "not signalled"
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/win32_resource.h"

namespace {

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
        } else if (action == "command-line") {
            WriteText(StandardOutput(), GetCommandLineA());
            return 0;
        } else if (action == "grandchild") {
            const std::string delayMs = next();
            StartGrandchild("sleep " + delayMs + " out " + next());
        } else if (action == "grandchild-flood") {
            StartGrandchild("flood");
        } else if (action == "crash") {
            ExitProcess(0xC0000005);
        } else if (action == "flood") {
            const std::string block(64 * 1024, 'f');
            for (DWORD written = 0;
                 WriteFile(StandardOutput(), block.data(), static_cast<DWORD>(block.size()), &written, nullptr);) {
            }
        } else if (action == "signal") {
            const auto handle = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(std::strtoull(next().c_str(), nullptr, 16)));
            WriteText(StandardOutput(), SetEvent(handle) ? "signalled" : "not signalled");
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
