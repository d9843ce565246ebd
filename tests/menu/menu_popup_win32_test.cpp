#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "menu/menu_file.h"
#include "menu/menu_popup_win32.h"
#include "support/test_support.h"
#include "menu_tree_text.h"

namespace tuvex {
namespace {

using test::Cp932;
using test::TempFolder;
using test::WriteBytes;

constexpr int kCursorX = 300;
constexpr int kCursorY = 200;

// A visible top-level window, as the host's window is when the user calls a
// filter. One for all tests: Wine takes seconds to take a window down.
HWND Owner()
{
    static const UniqueWindow window = test::MakeOwnerWindow(50, 50, 500, 400);
    return window.get();
}

// What the popup showed while it was open.
struct SeenPopup {
    bool shown = false;
    RECT rect{};
    bool leftOpen = false;     // it had to be closed for the test
    HWND foreground = nullptr;  // the foreground window while it showed
    std::vector<HMENU> menus;  // the popup's menu, then every submenu
    // One line per item: "name =id", ">submenu" with its items indented
    // below, "-----"; anything else that is set is written out too.
    std::string text;
};

void ReadMenu(HMENU menu, const std::string& indent, SeenPopup& seen)
{
    seen.menus.push_back(menu);
    const int count = GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        char name[256] = {};
        const int length = GetMenuStringA(menu, position, name, sizeof name, MF_BYPOSITION);
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_SUBMENU;
        GetMenuItemInfoA(menu, position, TRUE, &info);

        seen.text += indent;
        if (info.fType & MFT_SEPARATOR) {
            seen.text += "-----";
            info.fType &= ~MFT_SEPARATOR;
        } else if (info.hSubMenu) {
            seen.text += ">";
        }
        seen.text += std::string(name, length);
        if (info.wID != 0) {
            seen.text += " =" + std::to_string(info.wID);
        }
        if (info.fType != MFT_STRING) {
            seen.text += " type=" + std::to_string(info.fType);
        }
        if (info.fState != 0) {
            seen.text += " state=" + std::to_string(info.fState);
        }
        seen.text += "\n";
        if (info.hSubMenu) {
            ReadMenu(info.hSubMenu, indent + "  ", seen);
        }
    }
}

// A click of the left mouse button at `point` on the screen. Each half
// carries the point itself: a move of the cursor that was still on its way
// could otherwise come between the move and the button.
void Click(POINT point)
{
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    INPUT inputs[2] = {};
    for (INPUT& input : inputs) {
        input.type = INPUT_MOUSE;
        // The centre of the pixel, in the 0 to 65535 of absolute input.
        input.mi.dx = static_cast<LONG>((point.x * 65536LL + 32768) / width);
        input.mi.dy = static_cast<LONG>((point.y * 65536LL + 32768) / height);
    }
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_LEFTUP;
    SendInput(2, inputs, sizeof(INPUT));
}

struct PopupResult {
    CommandEntry chosen;
    SeenPopup seen;
};

// Shows the menu of a file with `bytes`, as a user who presses `keys` and
// clicks at `clickAt`; `inFront` is the foreground window when it opens.
PopupResult ShowMenuOf(const std::string& bytes, std::vector<WPARAM> keys, HWND inFront = Owner(),
                       std::optional<POINT> clickAt = std::nullopt)
{
    TempFolder folder;
    WriteBytes(folder / "Tuvex.ini", bytes);
    // The cursor first: the motion that the X server reports for it is let
    // in with the focus events, before the popup opens and takes the mouse.
    SetCursorPos(kCursorX, kCursorY);
    EXPECT_TRUE(test::BringToFront(inFront)) << "in front: " << GetForegroundWindow() << ", wanted " << inFront;
    PopupResult result;
    {
        test::PopupUser user(Owner(), [&](HWND popup, HMENU menu) {
            result.seen.foreground = GetForegroundWindow();
            GetWindowRect(popup, &result.seen.rect);
            ReadMenu(menu, "", result.seen);
            test::PressKeys(Owner(), keys);
            if (clickAt) {
                Click(*clickAt);
            }
        });
        result.chosen = ShowCommandMenu(Owner(), folder / "Tuvex.ini");
        const test::PopupUser::Outcome outcome = user.Finish();
        result.seen.shown = outcome.shown;
        result.seen.leftOpen = outcome.leftOpen;
    }
    EXPECT_FALSE(result.seen.leftOpen) << "the popup stayed open after the keys";
    return result;
}

void ExpectEntry(const CommandEntry& entry, const std::string& name, const std::string& command,
                 const std::string& arguments)
{
    EXPECT_EQ(entry.name, name);
    EXPECT_EQ(entry.command, command);
    EXPECT_EQ(entry.arguments, arguments);
}

ByteString OpenFailure(const std::string& path, int errorNumber)
{
    return Cp932(L"メニュー定義ファイル(") + path + Cp932(L")のオープンに失敗しました(") +
           std::to_string(errorNumber) + ")";
}

TEST(ShowCommandMenu, ShowsTheFilesItemsNumberedInFileOrder)
{
    const PopupResult result = ShowMenuOf(test::kWorkedExample, {VK_ESCAPE});
    ASSERT_TRUE(result.seen.shown);
    EXPECT_EQ(result.seen.text,
              "Sort =1\n"
              ">Convert\n"
              "  Upper case =2\n"
              "  -----\n"
              "  Number lines =3\n"
              "-----\n"
              "Reverse =4\n");
}

TEST(ShowCommandMenu, ReturnsNameCommandAndArgumentsOfAnItemChosenInASubmenu)
{
    // Sort, Convert, into Convert at Upper case, over the separator to Number lines.
    const PopupResult result = ShowMenuOf(test::kWorkedExample, {VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_RETURN});
    ASSERT_TRUE(result.seen.shown);
    ExpectEntry(result.chosen, "Number lines", "number.exe", "-w 4");
}

TEST(ShowCommandMenu, ReturnsEmptyArgumentsForAnItemWithTwoFields)
{
    const PopupResult result = ShowMenuOf(test::kWorkedExample, {VK_DOWN, VK_RETURN});
    ASSERT_TRUE(result.seen.shown);
    ExpectEntry(result.chosen, "Sort", "sort.exe", "");
}

TEST(ShowCommandMenu, ReturnsTheEmptyEntryWhenThePopupIsDismissedWithEsc)
{
    const PopupResult result = ShowMenuOf(test::kWorkedExample, {VK_DOWN, VK_ESCAPE});
    ASSERT_TRUE(result.seen.shown);
    ExpectEntry(result.chosen, "", "", "");
}

TEST(ShowCommandMenu, RaisesInsteadOfShowingAFileWithoutItems)
{
    TempFolder folder;
    const std::string path = folder / "Tuvex.ini";
    WriteBytes(path, "#nothing here yet\n\n");
    EXPECT_THROW(ShowCommandMenu(Owner(), path), ErrorMessage);
}

TEST(ShowCommandMenu, ShowsASubmenuWithoutItemsAsAnEmptySubmenu)
{
    const PopupResult result = ShowMenuOf("->Empty\nSort\tsort.exe\n", {VK_ESCAPE});
    ASSERT_TRUE(result.seen.shown);
    EXPECT_EQ(result.seen.text,
              ">Empty\n"
              "Sort =1\n");
    EXPECT_EQ(result.seen.menus.size(), 2u);
}

TEST(ShowCommandMenu, PassesCodePage932NamesThroughAsTheirBytes)
{
    const std::string sortName = Cp932(L"並べ替え(&S)");
    const std::string tableName = Cp932(L"表示");
    const PopupResult result =
        ShowMenuOf("->" + tableName + "\n\t" + sortName + "\tsort.exe\t/r " + tableName + "\n",
                   {VK_DOWN, VK_RIGHT, VK_RETURN});
    ASSERT_TRUE(result.seen.shown);
    EXPECT_EQ(result.seen.text, ">" + tableName + "\n  " + sortName + " =1\n");
    ExpectEntry(result.chosen, sortName, "sort.exe", "/r " + tableName);
}

TEST(ShowCommandMenu, OpensWithItsUpperLeftCornerAtTheMouseCursor)
{
    const PopupResult result = ShowMenuOf(test::kWorkedExample, {VK_ESCAPE});
    ASSERT_TRUE(result.seen.shown);
    EXPECT_EQ(result.seen.rect.left, kCursorX);
    EXPECT_EQ(result.seen.rect.top, kCursorY);
}

TEST(ShowCommandMenu, DestroysEveryMenuHandleBeforeItReturns)
{
    const PopupResult result = ShowMenuOf(test::kWorkedExample, {VK_DOWN, VK_DOWN, VK_RIGHT, VK_RETURN});
    ASSERT_EQ(result.seen.menus.size(), 2u) << result.seen.text;
    for (const HMENU menu : result.seen.menus) {
        EXPECT_FALSE(IsMenu(menu)) << "menu " << menu << " survived";
    }
    ExpectEntry(result.chosen, "Upper case", "conv.exe", "-u");
}

TEST(ShowCommandMenu, NumbersTheCommandsOfEachPopupFromOne)
{
    ShowMenuOf(test::kWorkedExample, {VK_ESCAPE});
    const PopupResult second = ShowMenuOf("Find\tfindstr\t/n x\nSort\tsort.exe\n", {VK_DOWN, VK_DOWN, VK_RETURN});
    EXPECT_EQ(second.seen.text,
              "Find =1\n"
              "Sort =2\n");
    ExpectEntry(second.chosen, "Sort", "sort.exe", "");
}

TEST(ShowCommandMenu, BringsABackgroundOwnerToTheFrontSoThatAClickElsewhereClosesIt)
{
    test::BringToFront(Owner());  // the owner exists and had the focus before
    const UniqueWindow inFront = test::MakeOwnerWindow(600, 500, 300, 300);
    ASSERT_TRUE(test::BringToFront(inFront.get())) << "in front: " << GetForegroundWindow();
    const PopupResult result = ShowMenuOf(test::kWorkedExample, {}, inFront.get(), POINT{750, 650});
    ASSERT_TRUE(result.seen.shown);
    EXPECT_EQ(result.seen.foreground, Owner()) << "in front: " << result.seen.foreground;
    ExpectEntry(result.chosen, "", "", "");
}

TEST(ShowCommandMenu, RaisesTheOpenFailureWithErrno2ForAMissingFile)
{
    TempFolder folder;
    const std::string path = folder / "Tuvex.ini";
    try {
        ShowCommandMenu(Owner(), path);
        ADD_FAILURE() << "no error for " << path;
    } catch (const ErrorMessage& error) {
        EXPECT_EQ(test::FirstLine(error.text()), OpenFailure(path, 2));
    }
}

TEST(ShowCommandMenu, RaisesTheOpenFailureWithErrno13ForAFolder)
{
    TempFolder folder;
    CreateDirectoryA((folder / "Tuvex.ini").c_str(), nullptr);
    const std::string path = folder / "Tuvex.ini";
    try {
        ShowCommandMenu(Owner(), path);
        ADD_FAILURE() << "no error for " << path;
    } catch (const ErrorMessage& error) {
        EXPECT_EQ(test::FirstLine(error.text()), OpenFailure(path, 13));
    }
}

TEST(LoadMenuDefinition, TakesCrLfAsTheLineEndInTextMode)
{
    TempFolder folder;
    WriteBytes(folder / "Tuvex.ini", "->Convert\r\n\tUpper case\tconv.exe\t-u\r\nSort\tsort.exe\r\n");
    const auto root = LoadMenuDefinition(folder / "Tuvex.ini");
    ASSERT_EQ(root->children.size(), 2u);
    const auto& convert = dynamic_cast<const Menu&>(*root->children[0]);
    EXPECT_EQ(convert.GetName(), "Convert");
    ASSERT_EQ(convert.children.size(), 1u);
    const auto& upper = dynamic_cast<const MenuItemCommand&>(*convert.children[0]);
    EXPECT_EQ(upper.arguments, "-u");
    EXPECT_EQ(dynamic_cast<const MenuItemCommand&>(*root->children[1]).command, "sort.exe");
}

}  // namespace
}  // namespace tuvex
