#include "dialog/message_dialog_win32.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>
#include <string_view>

#include "common/win32_resource.h"
#include "dialog/dialog_settings_win32.h"
#include "dialog/message_dialog.h"
#include "common/module_location_win32.h"
#include "resources/tuvex_resources.h"

namespace tuvex {

namespace {

// The zero bytes that end the text of ShowMessage and of ShowMessageW.
constexpr std::size_t kMessageTerminatorBytes = 1;
constexpr std::size_t kBytesTerminatorBytes = 2;

// What one open message dialog owns: its text, with the terminating zero
// byte(s), and the font of its edit control. Each show operation has its own,
// so a message shown while another is open leaves the first one whole.
struct OpenMessage {
    ByteBuffer text;
    UniqueFont font;  // released once the dialog has closed
};

TextKind KindOfMessage(const ByteBuffer& text)
{
    return DetectTextKind(text.data(), text.size(), &CountWideCharsInAnsiCodePage);
}

// A text judged UTF-16 may hold no zero unit (one from ShowMessage ends in a
// single zero byte): the copy is terminated, so nothing past it is read.
std::wstring Utf16Copy(const ByteBuffer& text)
{
    std::wstring copy(Utf16TextUnits(text.data(), text.size()), L'\0');
    std::memcpy(copy.data(), text.data(), copy.size() * sizeof(wchar_t));
    return copy;
}

// A text judged UTF-8 is well formed and ends at its first zero byte.
std::wstring Utf8Copy(const ByteBuffer& text)
{
    const int length = static_cast<int>(std::min<std::size_t>(std::strlen(text.data()), INT_MAX));
    std::wstring copy(static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, text.data(), length, nullptr, 0)),
                      L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), length, copy.data(), static_cast<int>(copy.size()));
    return copy;
}

// The text as UTF-16 when it is not text of the ANSI code page.
std::optional<std::wstring> WideCopy(const ByteBuffer& text)
{
    switch (KindOfMessage(text)) {
    case TextKind::Utf16:
        return Utf16Copy(text);
    case TextKind::Utf8:
        return Utf8Copy(text);
    case TextKind::Multibyte:
        break;
    }
    return std::nullopt;
}

void PutMessageText(HWND edit, const ByteBuffer& text)
{
    if (const std::optional<std::wstring> wide = WideCopy(text)) {
        SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(wide->c_str()));
    } else {
        SendMessageA(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.data()));
    }
}

// The size of the work area (the screen without the task bar) of the monitor
// that `window` is on.
DialogSize WorkAreaSize(HWND window)
{
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    if (!GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor)) {
        return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
    return {monitor.rcWork.right - monitor.rcWork.left, monitor.rcWork.bottom - monitor.rcWork.top};
}

void FillDialog(HWND dialog, OpenMessage& message)
{
    const DialogSettings settings = ReadDialogSettings();
    const DialogSize size = FittedDialogSize({settings.width, settings.height}, WorkAreaSize(dialog));
    RECT frame{};
    GetWindowRect(dialog, &frame);
    MoveWindow(dialog, frame.left, frame.top, size.width, size.height, TRUE);

    HWND edit = GetDlgItem(dialog, IDC_MESSAGE_TEXT);
    // The font goes on before the text: a change of font lays out the whole
    // text again, which for a long text takes several times the first
    // layout (see bench/error_output_bench.cpp).
    message.font.reset(CreateFontA(settings.fontSize, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH | FF_DONTCARE, settings.fontName.c_str()));
    SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(message.font.get()), TRUE);

    // The edit control's default limit would cut long messages.
    SendMessageA(edit, EM_SETLIMITTEXT, 0, 0);
    PutMessageText(edit, message.text);
}

// No exception may pass through the system's dialog code: a dialog that
// cannot be filled is closed, and the show operation returns.
void InitializeDialog(HWND dialog, LPARAM openMessage) noexcept
{
    SetWindowLongPtrA(dialog, DWLP_USER, openMessage);
    try {
        FillDialog(dialog, *reinterpret_cast<OpenMessage*>(openMessage));
    } catch (...) {
        EndDialog(dialog, 1);
    }
}

void PlaceControl(HWND control, const ControlPlacement& place)
{
    MoveWindow(control, place.left, place.top, place.width, place.height, TRUE);
}

void LayOutControls(HWND dialog, std::uint32_t clientSize)
{
    const MessageDialogLayout layout = LayOutMessageDialog(clientSize);
    PlaceControl(GetDlgItem(dialog, IDC_MESSAGE_TEXT), layout.edit);
    PlaceControl(GetDlgItem(dialog, IDOK), layout.okButton);
}

// Returns 0 for every message, WM_INITDIALOG included: the system's dialog
// handling places the keyboard focus.
INT_PTR CALLBACK MessageDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        InitializeDialog(dialog, lParam);
        break;
    case WM_SIZE:
        LayOutControls(dialog, static_cast<std::uint32_t>(lParam));
        break;
    case WM_COMMAND:
        // OK and Enter arrive as IDOK; Esc and the close box as IDCANCEL.
        if (wParam == IDOK || wParam == IDCANCEL) {
            EndDialog(dialog, 1);
        }
        break;
    default:
        break;
    }
    return 0;
}

// Without its dialog the text still reaches the user, in a message box.
void ShowInMessageBox(HWND owner, const ByteBuffer& text)
{
    if (const std::optional<std::wstring> wide = WideCopy(text)) {
        MessageBoxW(owner, wide->c_str(), L"Tuvex", MB_OK);
    } else {
        MessageBoxA(owner, text.data(), "Tuvex", MB_OK);
    }
}

ByteBuffer TerminatedText(std::string_view bytes, std::size_t terminatorBytes)
{
    ByteBuffer text(bytes.begin(), bytes.end());
    text.insert(text.end(), terminatorBytes, '\0');
    return text;
}

TextKind KindShown(std::string_view bytes, std::size_t terminatorBytes)
{
    return KindOfMessage(TerminatedText(bytes, terminatorBytes));
}

void ShowBytes(HWND owner, std::string_view bytes, std::size_t terminatorBytes) noexcept
{
    try {
        OpenMessage message;
        message.text = TerminatedText(bytes, terminatorBytes);
        if (DialogBoxParamA(moduleInstance, MAKEINTRESOURCEA(IDD_MESSAGE_DIALOG), owner, &MessageDialogProc,
                            reinterpret_cast<LPARAM>(&message)) == -1) {
            ShowInMessageBox(owner, message.text);
        }
    } catch (...) {
        // Out of memory for the copy: there is nothing left to show it with.
    }
}

}  // namespace

std::optional<std::size_t> CountWideCharsInAnsiCodePage(const char* text)
{
    const int length = static_cast<int>(std::min<std::size_t>(std::strlen(text), INT_MAX));
    if (length == 0) {
        return 0;
    }
    const int count = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text, length, nullptr, 0);
    if (count == 0) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(count);
}

void ShowMessage(HWND owner, const ByteString& message) noexcept
{
    ShowBytes(owner, message, kMessageTerminatorBytes);
}

void ShowMessageW(HWND owner, const ByteBuffer& bytes) noexcept
{
    ShowBytes(owner, std::string_view(bytes.data(), bytes.size()), kBytesTerminatorBytes);
}

TextKind KindShownByShowMessage(std::string_view message)
{
    return KindShown(message, kMessageTerminatorBytes);
}

TextKind KindShownByShowMessageW(std::string_view bytes)
{
    return KindShown(bytes, kBytesTerminatorBytes);
}

}  // namespace tuvex
