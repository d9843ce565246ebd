#include "dialog/message_dialog_win32.h"

#include <clocale>
#include <cstdlib>
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

// The text of the dialog being opened, with its terminating zero byte(s).
// Keeps its storage, and the last text shown, until the next show.
ByteBuffer messageBuffer;

// The font of the open dialog's edit control; released once it has closed.
UniqueFont messageFont;

// The run-time library (msvcrt.dll) is shared with the host and its other
// modules, so its global locale is not ours to change: the module keeps a
// locale of its own, made at first use and freed at unload.
_locale_t UserDefaultLocale()
{
    static const UniqueLocale locale(_create_locale(LC_ALL, ""));
    return locale.get();
}

void PutMessageText(HWND edit)
{
    const char* bytes = messageBuffer.data();
    if (IsUtf16Text(bytes, messageBuffer.size(), &CountWideCharsInUserLocale)) {
        // A text from ShowMessage may hold no zero unit: the control gets a
        // terminated copy, so nothing past the buffer is read.
        std::wstring text(Utf16TextUnits(bytes, messageBuffer.size()), L'\0');
        std::memcpy(text.data(), bytes, text.size() * sizeof(wchar_t));
        SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
    } else {
        SendMessageA(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(bytes));
    }
}

void FillDialog(HWND dialog)
{
    const DialogSettings settings = ReadDialogSettings();
    RECT frame{};
    GetWindowRect(dialog, &frame);
    MoveWindow(dialog, frame.left, frame.top, settings.width, settings.height, TRUE);

    HWND edit = GetDlgItem(dialog, IDC_MESSAGE_TEXT);
    // The edit control's default limit would cut long messages.
    SendMessageA(edit, EM_SETLIMITTEXT, 0, 0);
    PutMessageText(edit);

    messageFont.reset(CreateFontA(settings.fontSize, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH | FF_DONTCARE, settings.fontName.c_str()));
    SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(messageFont.get()), TRUE);
}

// No exception may pass through the system's dialog code: a dialog that
// cannot be filled is closed, and the show operation returns.
void InitializeDialog(HWND dialog) noexcept
{
    try {
        FillDialog(dialog);
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
        InitializeDialog(dialog);
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

void ShowBytes(HWND owner, std::string_view bytes, std::size_t terminatorBytes) noexcept
{
    try {
        messageBuffer.assign(bytes.begin(), bytes.end());
        messageBuffer.insert(messageBuffer.end(), terminatorBytes, '\0');
    } catch (...) {
        return;
    }
    // The buffer is the dialog's only source of text: no creation parameter.
    DialogBoxParamA(moduleInstance, MAKEINTRESOURCEA(IDD_MESSAGE_DIALOG), owner, &MessageDialogProc, 0);
    messageFont.reset();
}

}  // namespace

std::optional<std::size_t> CountWideCharsInUserLocale(const char* text)
{
    const std::size_t count = _mbstowcs_l(nullptr, text, 0, UserDefaultLocale());
    if (count == static_cast<std::size_t>(-1)) {
        return std::nullopt;
    }
    return count;
}

void ShowMessage(HWND owner, const ByteString& message) noexcept
{
    ShowBytes(owner, message, 1);
}

void ShowMessageW(HWND owner, const ByteBuffer& bytes) noexcept
{
    ShowBytes(owner, std::string_view(bytes.data(), bytes.size()), 2);
}

}  // namespace tuvex
