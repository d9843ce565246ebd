#include "host_io_win32.h"

#include "common/system_text_win32.h"

namespace tuvex::host {

std::wstring Decode(std::string_view bytes, UINT codePage)
{
    if (bytes.empty()) {
        return {};
    }
    const int size = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(size, L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), size);
    return text;
}

std::string Encode(std::wstring_view text, UINT codePage)
{
    if (text.empty()) {
        return {};
    }
    const int size =
        WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(size, '\0');
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
    return bytes;
}

std::optional<std::string> EncodeExactly(std::wstring_view text, UINT codePage)
{
    if (text.empty()) {
        return std::string();
    }
    BOOL usedDefault = FALSE;
    const int size = WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, &usedDefault);
    if (size == 0 || usedDefault) {
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()), bytes.data(), size,
                        nullptr, nullptr);
    return bytes;
}

UINT StreamCodePage(HANDLE stream)
{
    DWORD mode = 0;
    return GetConsoleMode(stream, &mode) ? GetConsoleOutputCP() : CP_UTF8;
}

bool WriteBytes(HANDLE target, std::string_view bytes)
{
    DWORD written = 0;
    return bytes.empty() || WriteFile(target, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

bool WriteText(HANDLE stream, std::wstring_view text)
{
    return WriteBytes(stream, Encode(text, StreamCodePage(stream)));
}

UniqueHandle OpenFile(const std::string& path, DWORD access, DWORD disposition)
{
    HANDLE file = CreateFileA(path.c_str(), access, FILE_SHARE_READ, nullptr, disposition, 0, nullptr);
    return UniqueHandle(file == INVALID_HANDLE_VALUE ? nullptr : file);
}

std::wstring SystemMessage(DWORD error, std::wstring_view insert)
{
    const std::wstring message = SystemText(error, insert);
    return message.empty() ? L"error " + std::to_wstring(error) : message;
}

std::optional<std::string> ReadAllBytes(HANDLE source, DWORD& error)
{
    std::string bytes;
    char chunk[65536];
    DWORD received = 0;
    while (ReadFile(source, chunk, sizeof chunk, &received, nullptr)) {
        if (received == 0) {
            return bytes;
        }
        bytes.append(chunk, received);
    }
    error = GetLastError();
    if (error == ERROR_BROKEN_PIPE || error == ERROR_HANDLE_EOF) {
        return bytes;
    }
    return std::nullopt;
}

std::optional<std::string> ReadFileBytes(const std::string& path, DWORD& error)
{
    const UniqueHandle file = OpenFile(path, GENERIC_READ, OPEN_EXISTING);
    if (!file) {
        error = GetLastError();
        return std::nullopt;
    }
    return ReadAllBytes(file.get(), error);
}

}  // namespace tuvex::host
