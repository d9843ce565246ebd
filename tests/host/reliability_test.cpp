// Bad inputs, each ending in a clear message or the quiet result with the
// host's text untouched, and no leak when the calls are repeated.
#include <gtest/gtest.h>

#include <set>

#include "host/exports.h"
#include "support/test_support.h"

namespace tuvex {
namespace {

using test::Cp932;
using test::DialogWatcher;
using test::Hex;
using test::TestChildPath;
using test::WriteBytes;

class ReliabilityTest : public ::testing::Test {
protected:
    // The texts of the dialogs that one filter call showed; the call must
    // return null, so the host keeps its text.
    std::vector<std::wstring> ShownByFailingCall(decltype(&Tuvex) filter, const wchar_t* text, const std::string& parameter)
    {
        DialogWatcher watcher;
        const HGLOBAL result = filter(nullptr, text, parameter.c_str());
        EXPECT_EQ(result, nullptr) << "parameter " << parameter;
        GlobalFree(result);
        std::vector<std::wstring> texts;
        for (const test::SeenDialog& dialog : watcher.seen()) {
            texts.push_back(dialog.text);
        }
        return texts;
    }

    std::string Place(const std::string& name, std::string_view bytes)
    {
        WriteBytes(folder_ / name, bytes);
        return folder_ / name;
    }

    test::TempFolder folder_;
    test::InstalledModule module_;
    decltype(&Tuvex) narrow_ = module_.Export<decltype(Tuvex)>("Tuvex");
    decltype(&TuvexW) wide_ = module_.Export<decltype(TuvexW)>("TuvexW");
    decltype(&TuvexRun) run_ = module_.Export<decltype(TuvexRun)>("TuvexRun");
};

TEST_F(ReliabilityTest, AFolderGivenAsTheCommandCannotBeOpened)
{
    const std::string folder = folder_.path().substr(0, folder_.path().size() - 1);
    EXPECT_EQ(ShownByFailingCall(narrow_, L"text", folder + "|-x"),
              std::vector<std::wstring>{test::FromCp932(folder) + L"のオープンに失敗しました(13)\r\n"
                                        L"読むことが許されていないか、ファイルではなくフォルダーです。"});
}

TEST_F(ReliabilityTest, AScriptWithABinaryFirstLineIsStartedAsItIsAndFailsToStart)
{
    const std::string script = Place("binary.tvx", std::string("\x7f" "ELF\x01\x01\0\0\xff\xfe", 10));
    const std::vector<std::wstring> shown = ShownByFailingCall(narrow_, L"text", script);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].rfind(L"\"" + test::FromCp932(script) + L"\"の起動に失敗しました(", 0), 0u) << testing::PrintToString(shown[0]);
}

TEST_F(ReliabilityTest, AHugeInterpreterLineNamesAMissingInterpreterCutTo252Bytes)
{
    const std::string script = Place("long.tvx", "#!" + std::string(100 * 1024, 'i') + "\n");
    const std::vector<std::wstring> shown = ShownByFailingCall(narrow_, L"text", script);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].substr(0, 253), std::wstring(252, L'i') + L" ");
    EXPECT_NE(shown[0].find(L"の起動に失敗しました("), std::wstring::npos);
}

TEST_F(ReliabilityTest, AMissingInterpreterIsReportedWithTheWholeCommandLine)
{
    const std::string script = Place("missing.tvx", "#!no-such-interpreter -w\r\nbody\r\n");
    const std::vector<std::wstring> shown = ShownByFailingCall(wide_, L"text", script + "|a");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].substr(0, shown[0].find(L"。") + 1),
              L"no-such-interpreter -w \"" + test::FromCp932(script) +
                  L"\" aの起動に失敗しました(2)\r\nスクリプトの #! 行のプログラム「no-such-interpreter」が見つかりません。");
}

TEST_F(ReliabilityTest, AMenuFileThatIsAFolderCannotBeOpened)
{
    CreateDirectoryA((module_.directory() + "Tuvex.ini").c_str(), nullptr);
    EXPECT_EQ(ShownByFailingCall(narrow_, L"text", ""),
              std::vector<std::wstring>{L"メニュー定義ファイル(" + test::FromCp932(module_.directory()) +
                                        L"Tuvex.ini)のオープンに失敗しました(13)\r\n"
                                        L"読むことが許されていないか、ファイルではなくフォルダーです。"});
}

TEST_F(ReliabilityTest, ASettingsFileWithBadValuesStillGivesAUsableDialog)
{
    for (const char* settings : {"[DIALOG]\r\nwidth=abc\r\nheight=-5\r\nfontSize=zz\r\n",
                                 "[DIALOG]\r\nwidth=0\r\nheight=99999999999\r\n", "\x01\x02garbage\xff\r\n"}) {
        WriteBytes(module_.directory() + "Tuvex.conf", settings);
        RECT frame = {};
        DialogWatcher watcher([&](HWND dialog) { GetWindowRect(dialog, &frame); });
        GlobalFree(narrow_(nullptr, L"text", " "));
        ASSERT_EQ(watcher.seen().size(), 1u) << settings;
        EXPECT_EQ(watcher.seen()[0].text, L"パラメタが空です");
        EXPECT_GT(frame.right - frame.left, 0) << settings;
        EXPECT_GT(frame.bottom - frame.top, 0) << settings;
    }
}

TEST_F(ReliabilityTest, FiftyMebibytesOfStandardErrorAreShownShortenedBesideTheOutput)
{
    DialogWatcher watcher;
    const HGLOBAL result = narrow_(nullptr, L"", (TestChildPath() + "|out 6f6b err-lines 655360").c_str());
    ASSERT_NE(result, nullptr);
    GlobalFree(result);
    ASSERT_EQ(watcher.seen().size(), 1u);
    // The whole lines of 80 bytes within the first MiB and the last 256 KiB,
    // and a line of 29 characters that counts the bytes between.
    const std::wstring shown = watcher.seen()[0].text;
    EXPECT_EQ(shown.size(), (13107u + 3276u) * 80 + 29);
    EXPECT_NE(shown.find(L"\r\n…(途中の 51118160 バイトを省略しました)…\r\n"), std::wstring::npos);
}

TEST_F(ReliabilityTest, FiftyMebibytesOfTextGoThroughWhole)
{
    const std::wstring text(25 << 20, L'\u3042');
    const HGLOBAL result = wide_(nullptr, text.c_str(), (TestChildPath() + "|cat").c_str());
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(GlobalSize(result), (50u << 20) + 2);
    const auto* units = static_cast<const wchar_t*>(GlobalLock(result));
    EXPECT_TRUE(std::wstring_view(units, text.size()) == text);
    GlobalUnlock(result);
    GlobalFree(result);
}

TEST_F(ReliabilityTest, RepeatedCallsOnEveryPathLeaveNoHandleBehind)
{
    WriteBytes(module_.directory() + "Tuvex.ini", "Copy\t" + TestChildPath() + "\tcat\n");
    const std::string folderCommand = folder_.path().substr(0, folder_.path().size() - 1);
    const std::string copy = TestChildPath() + "|cat";
    const std::string withErrors = TestChildPath() + "|out 6f6b err " + Hex("warning");
    std::set<HFONT> fonts;
    DialogWatcher watcher([&](HWND dialog) {
        if (HWND edit = GetDlgItem(dialog, 1000)) {
            fonts.insert(reinterpret_cast<HFONT>(SendMessageW(edit, WM_GETFONT, 0, 0)));
        }
    });
    auto round = [&] {
        GlobalFree(narrow_(nullptr, L"text", copy.c_str()));
        GlobalFree(wide_(nullptr, L"text", withErrors.c_str()));       // the dialog shown and closed
        GlobalFree(narrow_(nullptr, L"text", " "));                    // bad parameter
        GlobalFree(narrow_(nullptr, L"text", "no-such-program-tuvex")); // command not found
        GlobalFree(narrow_(nullptr, L"text", folderCommand.c_str()));   // script that cannot be opened
        DeleteFileA((module_.directory() + "TuvexW.ini").c_str());
        GlobalFree(wide_(nullptr, L"text", nullptr));                  // missing menu file
        run_("text", TestChildPath().c_str(), "cat");
        run_("text", "no-such-program-tuvex", "");
    };
    round();  // one-time costs: the locale, the dialog class, loaded DLLs
    DWORD before = 0;
    GetProcessHandleCount(GetCurrentProcess(), &before);
    constexpr DWORD kRounds = 16;
    for (DWORD i = 0; i < kRounds; ++i) {
        round();
    }
    DWORD after = 0;
    GetProcessHandleCount(GetCurrentProcess(), &after);
    // A handle left behind on any path shows once a round; the system may
    // open a few of its own on the way (caches, a thread of its own).
    EXPECT_LT(after, before + kRounds / 2) << "before " << before << ", after " << kRounds << " rounds " << after;
    EXPECT_GT(watcher.seen().size(), kRounds * 4);
    // Every dialog's font is gone once the dialog has closed.
    for (HFONT font : fonts) {
        LOGFONTW description;
        EXPECT_EQ(GetObjectW(font, sizeof description, &description), 0);
    }
}

}  // namespace
}  // namespace tuvex
