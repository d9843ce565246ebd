#include "dialog/message_dialog_win32.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>
#include <string_view>

#include "common/module_location_win32.h"
#include "common/unicode_text.h"
#include "common/win32_resource.h"
#include "dialog/dialog_settings_win32.h"
#include "dialog/message_dialog.h"
#include "dialog/terminal_text.h"
#include "resources/tuvex_resources.h"

namespace tuvex {

namespace {

// A slice goes into the edit control at a time; a timer tick puts slices in
// until it has taken kFillTickSeconds or input is waiting, so that the
// dialog and its owner answer while the text fills in. Each insertion costs
// the edit control time in proportion to the text it already holds, so a
// slice is at least kSliceUnits and otherwise a 32nd of the text in:
// the text is whole after some dozens of slices instead of hundreds.
constexpr std::size_t kSliceUnits = 4 * 1024;
constexpr std::size_t kSliceShareOfFilled = 32;
constexpr double kFillTickSeconds = 0.02;
constexpr UINT_PTR kFillTimer = 1;

// What one open message dialog owns: the text it shows, how much of it is in
// the edit control, and the edit control's font. Each show operation has its
// own, so a message shown while another is open leaves the first one whole.
struct OpenMessage {
    std::u16string text;
    std::size_t filled = 0;
    UniqueFont font;  // released once the dialog has closed
};

std::u16string Decoded(UINT codePage, std::string_view bytes)
{
    // Text of the code page and UTF-8 ends at its first zero byte.
    bytes = bytes.substr(0, bytes.find('\0'));
    const int length = static_cast<int>(std::min<std::size_t>(bytes.size(), INT_MAX));
    if (length == 0) {
        return {};
    }
    std::u16string text(static_cast<std::size_t>(MultiByteToWideChar(codePage, 0, bytes.data(), length, nullptr, 0)),
                        u'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), length, reinterpret_cast<wchar_t*>(text.data()),
                        static_cast<int>(text.size()));
    return text;
}

// What the dialog shows of `bytes`: their characters in the kind judged, as a
// terminal shows them.
std::u16string ShownText(std::string_view bytes, TextKind filterKind)
{
    switch (JudgeTextKind(bytes, filterKind)) {
    case TextKind::Utf16: {
        // UTF-16 text ends at its first zero unit.
        std::u16string units(Utf16TextUnits(bytes.data(), bytes.size()), u'\0');
        std::memcpy(units.data(), bytes.data(), units.size() * sizeof(char16_t));
        return TerminalText(units);
    }
    case TextKind::Utf8:
        return TerminalText(Decoded(CP_UTF8, bytes));
    case TextKind::Multibyte:
        break;
    }
    return TerminalText(Decoded(CP_ACP, bytes));
}

const wchar_t* Wide(const std::u16string& text)
{
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

// Adds the next slice at the end of the edit control, leaving the user's
// selection and view as they were.
void AppendSlice(HWND edit, OpenMessage& message)
{
    const std::size_t units = std::max(kSliceUnits, message.filled / kSliceShareOfFilled);
    const std::size_t end = SliceEnd(message.text, message.filled, units);
    const std::u16string slice = message.text.substr(message.filled, end - message.filled);
    DWORD selectionStart = 0;
    DWORD selectionEnd = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&selectionStart), reinterpret_cast<LPARAM>(&selectionEnd));
    const LRESULT firstLine = SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0);
    SendMessageW(edit, WM_SETREDRAW, FALSE, 0);
    SendMessageW(edit, EM_SETSEL, message.filled, message.filled);
    SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(Wide(slice)));
    SendMessageW(edit, EM_SETSEL, selectionStart, selectionEnd);
    SendMessageW(edit, EM_LINESCROLL, 0, firstLine - SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0));
    SendMessageW(edit, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(edit, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
    message.filled = end;
}

double Seconds()
{
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return double(counter.QuadPart) / double(frequency.QuadPart);
}

// One timer tick's share of the filling; the timer stops once the text is whole.
void FillSome(HWND dialog, OpenMessage& message)
{
    HWND edit = GetDlgItem(dialog, IDC_MESSAGE_TEXT);
    const double start = Seconds();
    do {
        AppendSlice(edit, message);
    } while (message.filled < message.text.size() && Seconds() - start < kFillTickSeconds &&
             HIWORD(GetQueueStatus(QS_INPUT)) == 0);
    if (message.filled == message.text.size()) {
        KillTimer(dialog, kFillTimer);
        SetPropW(dialog, kTextWholeProperty, reinterpret_cast<HANDLE>(1));
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
    // text again.
    message.font.reset(CreateFontA(settings.fontSize, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH | FF_DONTCARE, settings.fontName.c_str()));
    SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(message.font.get()), TRUE);

    // The edit control's default limit would cut long messages.
    SendMessageA(edit, EM_SETLIMITTEXT, 0, 0);
    // The first slice fills the first view; the rest follows once the
    // dialog shows.
    if (!message.text.empty()) {
        AppendSlice(edit, message);
    }
    if (message.filled == message.text.size()) {
        SetPropW(dialog, kTextWholeProperty, reinterpret_cast<HANDLE>(1));
    } else {
        SetTimer(dialog, kFillTimer, USER_TIMER_MINIMUM, nullptr);
    }
}

OpenMessage& MessageOf(HWND dialog)
{
    return *reinterpret_cast<OpenMessage*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

// No exception may pass through the system's dialog code: a dialog that
// cannot be filled is closed, and the show operation returns.
void InitializeDialog(HWND dialog, LPARAM openMessage) noexcept
{
    SetWindowLongPtrA(dialog, DWLP_USER, openMessage);
    try {
        FillDialog(dialog, MessageOf(dialog));
    } catch (...) {
        EndDialog(dialog, 1);
    }
}

void ContinueFilling(HWND dialog) noexcept
{
    try {
        FillSome(dialog, MessageOf(dialog));
    } catch (...) {
        KillTimer(dialog, kFillTimer);  // out of memory for a slice: the text stays as far as it came
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
    case WM_TIMER:
        if (wParam == kFillTimer) {
            ContinueFilling(dialog);
        }
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
    case WM_DESTROY:
        RemovePropW(dialog, kTextWholeProperty);
        break;
    default:
        break;
    }
    return 0;
}

void ShowText(HWND owner, std::u16string text) noexcept
{
    try {
        OpenMessage message;
        message.text = std::move(text);
        if (DialogBoxParamA(moduleInstance, MAKEINTRESOURCEA(IDD_MESSAGE_DIALOG), owner, &MessageDialogProc,
                            reinterpret_cast<LPARAM>(&message)) == -1) {
            // Without its dialog the text still reaches the user, in a message box.
            MessageBoxW(owner, Wide(message.text), L"Tuvex", MB_OK);
        }
    } catch (...) {
        // Out of memory for the text: there is nothing left to show it with.
    }
}

void ShowBytes(HWND owner, std::string_view bytes, TextKind filterKind) noexcept
{
    try {
        ShowText(owner, ShownText(bytes, filterKind));
    } catch (...) {
    }
}

}  // namespace

void ShowMessage(HWND owner, const ByteString& message) noexcept
{
    ShowBytes(owner, message, TextKind::Multibyte);
}

void ShowMessageW(HWND owner, const ByteBuffer& bytes, TextKind filterKind) noexcept
{
    ShowBytes(owner, std::string_view(bytes.data(), bytes.size()), filterKind);
}

void ShowMessageWithoutOwner(const ByteString& text) noexcept
{
    try {
        std::u16string shown = ShownText(text, TextKind::Multibyte);
        // A message box grows with its text: a long one goes to the message
        // window, which scrolls.
        if (FitsInMessageBox(shown)) {
            MessageBoxW(nullptr, Wide(shown), nullptr, MB_OK);
        } else {
            ShowText(nullptr, std::move(shown));
        }
    } catch (...) {
    }
}

}  // namespace tuvex
