#include "common/system_text_win32.h"

#include "common/failure_words.h"

namespace tuvex {

namespace {

constexpr UINT kCodePage932 = 932;

std::wstring FromCp932(std::string_view bytes)
{
    if (bytes.empty()) {
        return {};
    }
    const int size = MultiByteToWideChar(kCodePage932, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(kCodePage932, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), size);
    return text;
}

ByteString ToCp932(std::wstring_view text)
{
    if (text.empty()) {
        return {};
    }
    // No best fit: a character the code page lacks shows as "?", never as a
    // look-alike.
    const int size = WideCharToMultiByte(kCodePage932, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    ByteString bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(kCodePage932, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()), bytes.data(),
                        size, nullptr, nullptr);
    return bytes;
}

}  // namespace

std::wstring SystemText(DWORD code, std::wstring_view insert)
{
    // Inserts are left as they stand ("%1") and filled in afterwards: the
    // system's texts do not say what they expect there.
    // Language 0: the user's language first, as the system searches.
    wchar_t text[2048] = {};
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                        text, static_cast<DWORD>(std::size(text)), nullptr);
    return TidySystemText(std::wstring_view(text, length), insert);
}

ByteString SystemTextCp932(DWORD code, std::string_view insert)
{
    return ToCp932(SystemText(code, FromCp932(insert)));
}

}  // namespace tuvex
