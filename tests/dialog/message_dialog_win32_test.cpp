#include <gtest/gtest.h>

#include <clocale>
#include <functional>
#include <string>
#include <utility>

#include "dialog/message_dialog_win32.h"
#include "dialog/terminal_text.h"
#include "error_output_corpus.h"
#include "module_folder.h"
#include "support/test_support.h"

namespace tuvex {
namespace {

using test::Cp932;
using test::DialogWatcher;
using test::Mismatch;

constexpr int kTextId = 1000;

using Size = std::pair<LONG, LONG>;

Size OuterSize(HWND window)
{
    RECT frame{};
    GetWindowRect(window, &frame);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

// A control's rectangle in its dialog's client coordinates.
RECT PlaceOf(HWND dialog, int id)
{
    RECT place{};
    GetWindowRect(GetDlgItem(dialog, id), &place);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
    return place;
}

void ExpectPlace(const RECT& place, int left, int top, int width, int height)
{
    EXPECT_EQ(place.left, left);
    EXPECT_EQ(place.top, top);
    EXPECT_EQ(place.right - place.left, width);
    EXPECT_EQ(place.bottom - place.top, height);
}

HFONT FontOf(HWND window)
{
    return reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
}

LOGFONTW FontDescription(HFONT font)
{
    LOGFONTW description{};
    GetObjectW(font, sizeof(description), &description);
    return description;
}

ByteBuffer BytesOf(std::wstring_view text)
{
    const auto* bytes = reinterpret_cast<const char*>(text.data());
    return ByteBuffer(bytes, bytes + text.size() * sizeof(wchar_t));
}

class MessageDialogTest : public test::ModuleFolderTest {
protected:
    // Runs `show` and hands the dialog that it opens to `look` on the
    // watcher's thread; returns what the dialog showed, once it has closed.
    static test::SeenDialog SeenWhile(const std::function<void()>& show, DialogWatcher::Inspector look)
    {
        DialogWatcher watcher(std::move(look));
        show();
        const auto seen = watcher.seen();
        return seen.empty() ? test::SeenDialog{"", L"(no dialog)", L"(no dialog)", ""} : seen.front();
    }

    static test::SeenDialog Show(const ByteString& message, DialogWatcher::Inspector look = {})
    {
        return SeenWhile([&] { ShowMessage(nullptr, message); }, std::move(look));
    }

    static std::wstring ShownTextOf(const ByteBuffer& bytes)
    {
        return SeenWhile([&] { ShowMessageW(nullptr, bytes); }, {}).text;
    }

    // Whether `close` ended the open dialog by itself; if not, the watcher
    // still closes it, so that the show operation returns. A selection posted
    // after `close` answers either way: the dialog's loop takes it only if
    // the dialog is still open once `close` has been handled.
    bool ClosesBy(const std::function<void(HWND dialog)>& close)
    {
        bool closed = false;
        Show("abc", [&](HWND dialog) {
            HWND edit = GetDlgItem(dialog, kTextId);
            close(dialog);
            PostMessageW(edit, EM_SETSEL, 1, 2);
            test::WaitUntil([dialog, edit] {
                DWORD start = 0, end = 0;
                SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
                return !IsWindow(dialog) || (start == 1 && end == 2);
            });
            closed = !IsWindow(dialog);
        });
        return closed;
    }
};

TEST_F(MessageDialogTest, OpensWithTheCaptionTuvexAt320By200WithoutSettings)
{
    Size size{};
    const auto seen = Show("abc", [&](HWND dialog) { size = OuterSize(dialog); });
    EXPECT_EQ(seen.caption, L"Tuvex");
    EXPECT_EQ(size, Size(320, 200));
}

TEST_F(MessageDialogTest, TakesItsOuterSizeFromTheSettingsAtEveryOpening)
{
    Size size{};
    WriteSettings("[DIALOG]\r\nwidth=640\r\n");
    Show("abc", [&](HWND dialog) { size = OuterSize(dialog); });
    EXPECT_EQ(size, Size(640, 200));
    WriteSettings("[DIALOG]\r\nwidth=500\r\nheight=400\r\n");
    Show("abc", [&](HWND dialog) { size = OuterSize(dialog); });
    EXPECT_EQ(size, Size(500, 400));
}

TEST_F(MessageDialogTest, OpensAtTheDefaultSizeForAWidthOrHeightOfZeroOrLess)
{
    Size size{};
    WriteSettings("[DIALOG]\r\nwidth=0\r\nheight=-1\r\n");
    Show("abc", [&](HWND dialog) { size = OuterSize(dialog); });
    EXPECT_EQ(size, Size(320, 200));
}

TEST_F(MessageDialogTest, KeepsASizeFromTheSettingsOnTheScreenAndLargeEnoughForItsOkButton)
{
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    Size size{};
    WriteSettings("[DIALOG]\r\nwidth=100000\r\nheight=100000\r\n");
    Show("abc", [&](HWND dialog) { size = OuterSize(dialog); });
    EXPECT_EQ(size, Size(work.right - work.left, work.bottom - work.top));
    WriteSettings("[DIALOG]\r\nwidth=1\r\nheight=1\r\n");
    Show("abc", [&](HWND dialog) { size = OuterSize(dialog); });
    EXPECT_EQ(size, Size(160, 120));
}

TEST_F(MessageDialogTest, LaysTheControlsOutForTheClientArea)
{
    Show("abc", [](HWND dialog) {
        RECT client{};
        GetClientRect(dialog, &client);
        ExpectPlace(PlaceOf(dialog, kTextId), 3, 3, client.right - 6, client.bottom - 30);
        ExpectPlace(PlaceOf(dialog, IDOK), client.right - 81, client.bottom - 24, 80, 22);
    });
}

TEST_F(MessageDialogTest, LaysTheControlsOutAgainWhenTheClientAreaChanges)
{
    Show("abc", [](HWND dialog) {
        SendMessageW(dialog, WM_SIZE, SIZE_RESTORED, MAKELPARAM(400, 300));
        ExpectPlace(PlaceOf(dialog, kTextId), 3, 3, 394, 270);
        ExpectPlace(PlaceOf(dialog, IDOK), 319, 276, 80, 22);
    });
}

TEST_F(MessageDialogTest, ShowsMultibyteTextAsItsCharacters)
{
    const std::wstring text = L"日本語のエラー\r\n二行目\tタブ";
    EXPECT_EQ(Show(Cp932(text)).text, text);
}

TEST_F(MessageDialogTest, ShowsUtf16TextAsItsCharacters)
{
    EXPECT_EQ(ShownTextOf(BytesOf(L"ab\r\nエラー")), L"ab\r\nエラー");
}

TEST_F(MessageDialogTest, ShowsEmptyMessagesOfBothKindsAsAnEmptyText)
{
    EXPECT_EQ(Show("").text, L"");
    EXPECT_EQ(ShownTextOf({}), L"");
}

TEST_F(MessageDialogTest, ShowsTwoHiraganaWithoutLineEndAsTheirBytesInTheCodePage)
{
    EXPECT_EQ(ShownTextOf(BytesOf(L"\u3042\u3044")), L"B0D0");
}

TEST_F(MessageDialogTest, ShowsEverySampleOfTheCorpusInItsKindAsATerminalShowsIt)
{
    for (const test::ErrorOutputSample& sample : test::kErrorOutputCorpus) {
        const std::wstring shown(sample.shown.begin(), sample.shown.end());
        EXPECT_EQ(Mismatch(Show(ByteString(sample.bytes)).text, shown), "same") << sample.name << " by ShowMessage";
        EXPECT_EQ(Mismatch(ShownTextOf(ByteBuffer(sample.bytes.begin(), sample.bytes.end())), shown), "same")
            << sample.name << " by ShowMessageW";
    }
}

TEST_F(MessageDialogTest, ShowsColourAndCursorSequencesAsATerminalDoesWithoutThem)
{
    const std::string error = "\x1b[01m\x1b[Kmain.c:3:\x1b[m\x1b[K \x1b[01;31m\x1b[K" + Cp932(L"エラー") +
                              "\x1b[m\x1b[K\n";
    EXPECT_EQ(Show(error).text, L"main.c:3: エラー\r\n");
}

TEST_F(MessageDialogTest, ShowsWhatFollowsACarriageReturnOverTheStartOfItsLine)
{
    EXPECT_EQ(Show("copying 10%\rcopying 99%\rdone\r\nnext\n").text, L"doneing 99%\r\nnext\r\n");
}

TEST_F(MessageDialogTest, BreaksALineLongerThanTheTerminalAndMarksEachBreak)
{
    const std::string line(2 * kTerminalColumns + 5, 'x');
    const std::wstring piece(kTerminalColumns, L'x');
    const std::wstring mark(1, static_cast<wchar_t>(kLineBreakMark));
    EXPECT_EQ(Mismatch(Show(line).text, piece + mark + L"\r\n" + piece + mark + L"\r\nxxxxx"), "same");
}

TEST_F(MessageDialogTest, ShowsA200000CharacterMessageWhole)
{
    std::string message;
    while (message.size() < 200000) {
        message += std::string(98, static_cast<char>('a' + message.size() % 26)) + "\r\n";
    }
    const std::wstring shown = Show(message).text;
    EXPECT_EQ(shown.size(), 200000u);
    EXPECT_TRUE(shown == std::wstring(message.begin(), message.end())) << "the text differs";
}

TEST_F(MessageDialogTest, DrawsTheTextInMsUiGothicOf9PixelsWithoutSettings)
{
    LOGFONTW font{};
    Show("abc", [&](HWND dialog) { font = FontDescription(FontOf(GetDlgItem(dialog, kTextId))); });
    EXPECT_STREQ(font.lfFaceName, L"MS UI Gothic");
    EXPECT_EQ(font.lfHeight, 9);
}

TEST_F(MessageDialogTest, DrawsTheTextInTheFontOfTheSettings)
{
    LOGFONTW font{};
    WriteSettings("[DIALOG]\r\nfontName=IPAGothic\r\nfontSize=-16\r\n");
    Show("abc", [&](HWND dialog) { font = FontDescription(FontOf(GetDlgItem(dialog, kTextId))); });
    EXPECT_STREQ(font.lfFaceName, L"IPAGothic");
    EXPECT_EQ(font.lfHeight, -16);
}

TEST_F(MessageDialogTest, LeavesTheOkButtonInTheDialogsOwnFont)
{
    HFONT dialogFont = nullptr, buttonFont = nullptr, textFont = nullptr;
    Show("abc", [&](HWND dialog) {
        dialogFont = FontOf(dialog);
        buttonFont = FontOf(GetDlgItem(dialog, IDOK));
        textFont = FontOf(GetDlgItem(dialog, kTextId));
    });
    EXPECT_EQ(buttonFont, dialogFont);
    EXPECT_NE(textFont, dialogFont);
}

TEST_F(MessageDialogTest, ReleasesTheFontOfEachOpeningOnceItsDialogHasClosed)
{
    for (int opening = 0; opening < 5; ++opening) {
        HFONT font = nullptr;
        DWORD typeWhileOpen = 0;
        Show("abc", [&](HWND dialog) {
            font = FontOf(GetDlgItem(dialog, kTextId));
            typeWhileOpen = GetObjectType(font);
        });
        EXPECT_EQ(typeWhileOpen, static_cast<DWORD>(OBJ_FONT)) << "opening " << opening;
        EXPECT_EQ(GetObjectType(font), 0u) << "opening " << opening;
    }
}

TEST_F(MessageDialogTest, KeepsTheTextReadOnly)
{
    LONG style = 0;
    std::wstring afterTyping;
    Show("abc", [&](HWND dialog) {
        HWND text = GetDlgItem(dialog, kTextId);
        style = GetWindowLongW(text, GWL_STYLE);
        SendMessageW(text, WM_CHAR, 'x', 0);
        afterTyping = test::WindowTextOf(text);
    });
    EXPECT_NE(style & ES_READONLY, 0);
    EXPECT_EQ(afterTyping, L"abc");
}

TEST_F(MessageDialogTest, ClosesByTheOkButton)
{
    EXPECT_TRUE(ClosesBy([](HWND dialog) { PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0); }));
}

HWND FocusOf(HWND dialog)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
    return info.hwndFocus ? info.hwndFocus : dialog;
}

TEST_F(MessageDialogTest, ClosesByEnter)
{
    EXPECT_TRUE(ClosesBy([](HWND dialog) { PostMessageW(FocusOf(dialog), WM_KEYDOWN, VK_RETURN, 1); }));
}

TEST_F(MessageDialogTest, ClosesByEsc)
{
    EXPECT_TRUE(ClosesBy([](HWND dialog) { PostMessageW(FocusOf(dialog), WM_KEYDOWN, VK_ESCAPE, 1); }));
}

TEST_F(MessageDialogTest, ClosesByTheCloseBox)
{
    // Sent, not posted: the close box's command closes a dialog through a
    // Cancel that the dialog posts to itself, which has to be in the queue
    // before the selection is.
    EXPECT_TRUE(ClosesBy([](HWND dialog) { SendMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }));
}

TEST_F(MessageDialogTest, StaysOpenForOtherCommands)
{
    EXPECT_FALSE(ClosesBy([](HWND dialog) { SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, 1), 0); }));
}

// What an open message dialog shows: its text and whether its font is alive.
struct ShownMessage {
    std::wstring text;
    bool fontAlive = false;
};

ShownMessage ShownIn(HWND dialog)
{
    HWND edit = GetDlgItem(dialog, kTextId);
    return {test::WindowTextOf(edit), GetObjectType(FontOf(edit)) == static_cast<DWORD>(OBJ_FONT)};
}

// Shows a second message from inside the first one's modal loop, as a
// nested call from the editor would, once the first one shows (the loop may
// run before it does).
void CALLBACK ShowInnerMessage(HWND, UINT, UINT_PTR timer, DWORD)
{
    if (!test::FindVisibleWindow([](HWND window) { return GetDlgItem(window, kTextId) != nullptr; })) {
        return;
    }
    KillTimer(nullptr, timer);
    ShowMessage(nullptr, "inner");
}

TEST_F(MessageDialogTest, AMessageShownWhileAnotherIsOpenLeavesBothReadableInTheirFonts)
{
    ShownMessage outerWhileInner, inner, outerAfterInner;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, &ShowInnerMessage);
    Show("outer", [&](HWND found) {
        // The watcher may meet either dialog first.
        HWND other = test::WaitForWindow(
            [found](HWND window) { return window != found && GetDlgItem(window, kTextId) != nullptr; }, 10000);
        ASSERT_NE(other, nullptr) << "no second dialog";
        const bool foundIsOuter = ShownIn(found).text == L"outer";
        HWND outer = foundIsOuter ? found : other;
        HWND innerDialog = foundIsOuter ? other : found;
        outerWhileInner = ShownIn(outer);
        inner = ShownIn(innerDialog);
        PostMessageW(innerDialog, WM_COMMAND, IDOK, 0);
        test::WaitUntil([innerDialog] { return !IsWindow(innerDialog); });
        outerAfterInner = ShownIn(outer);
    });
    KillTimer(nullptr, timer);
    EXPECT_EQ(outerWhileInner.text, L"outer");
    EXPECT_TRUE(outerWhileInner.fontAlive) << "the outer dialog's font went with the inner one's opening";
    EXPECT_EQ(inner.text, L"inner");
    EXPECT_TRUE(inner.fontAlive);
    EXPECT_EQ(outerAfterInner.text, L"outer");
    EXPECT_TRUE(outerAfterInner.fontAlive) << "the outer dialog's font went with the inner one's closing";
}

TEST_F(MessageDialogTest, ShowsTheTextInAMessageBoxWhenTheDialogCannotBeMade)
{
    // A module without the dialog's template.
    moduleInstance = GetModuleHandleA("kernel32.dll");
    EXPECT_EQ(Show(Cp932(L"日本語のエラー")).text, L"日本語のエラー");
    EXPECT_EQ(ShownTextOf(BytesOf(L"ab\r\nエラー")), L"ab\r\nエラー");
}

TEST_F(MessageDialogTest, LeavesTheRunTimeLibrarysGlobalLocaleAlone)
{
    const std::string before = std::setlocale(LC_ALL, nullptr);
    Show(Cp932(L"日本語"));
    EXPECT_EQ(std::string(std::setlocale(LC_ALL, nullptr)), before);
}

}  // namespace
}  // namespace tuvex
