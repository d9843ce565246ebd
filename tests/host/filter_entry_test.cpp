#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "host/exports.h"
#include "support/test_support.h"

namespace tuvex {
namespace {

using test::Cp932;
using test::DialogWatcher;
using test::Hex;
using test::Mismatch;
using test::TestChildPath;

// The bytes of a filter's result block, all of them.
std::string BlockBytes(HGLOBAL block)
{
    if (block == nullptr) {
        return "(null)";
    }
    const SIZE_T size = GlobalSize(block);
    const auto* data = static_cast<const char*>(GlobalLock(block));
    std::string bytes(data, size);
    GlobalUnlock(block);
    GlobalFree(block);
    return bytes;
}

std::string Utf16Bytes(std::wstring_view text)
{
    return std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
}

// The block that a narrow filter makes of a text: its UTF-16 and a zero unit.
std::string Utf16Block(std::wstring_view text)
{
    return Utf16Bytes(text) + std::string(2, '\0');
}

class FilterTest : public ::testing::Test {
protected:
    std::string Parameter(const std::string& childActions) const { return TestChildPath() + "|" + childActions; }

    std::string Narrow(const wchar_t* text, const std::string& parameter)
    {
        return BlockBytes(narrow_(owner_, text, parameter.c_str()));
    }
    std::string Wide(const wchar_t* text, const std::string& parameter)
    {
        return BlockBytes(wide_(owner_, text, parameter.c_str()));
    }
    std::string Utf8(const wchar_t* text, const std::string& parameter)
    {
        return BlockBytes(utf8_(owner_, text, parameter.c_str()));
    }

    // The texts of the dialogs shown, in order.
    static std::vector<std::wstring> Texts(const DialogWatcher& watcher)
    {
        std::vector<std::wstring> texts;
        for (const test::SeenDialog& dialog : watcher.seen()) {
            texts.push_back(dialog.text);
        }
        return texts;
    }

    // The first line of each dialog's text, in order.
    static std::vector<std::wstring> FirstLines(const DialogWatcher& watcher)
    {
        std::vector<std::wstring> lines = Texts(watcher);
        for (std::wstring& line : lines) {
            line = line.substr(0, line.find(L"\r\n"));
        }
        return lines;
    }

    test::InstalledModule module_;
    decltype(&Tuvex) narrow_ = module_.Export<decltype(Tuvex)>("Tuvex");
    decltype(&TuvexW) wide_ = module_.Export<decltype(TuvexW)>("TuvexW");
    decltype(&TuvexUtf8) utf8_ = module_.Export<decltype(TuvexUtf8)>("TuvexUtf8");
    HWND owner_ = GetDesktopWindow();
};

TEST_F(FilterTest, NarrowFilterSendsCodePage932AndReturnsTheSameUtf16)
{
    const wchar_t* text = L"日本語のテキスト\r\nASCII line\r\n";
    DialogWatcher watcher;
    EXPECT_EQ(Narrow(text, Parameter("hex-input")), Utf16Block(test::FromCp932(Hex(Cp932(text)))));
    EXPECT_EQ(Narrow(text, Parameter("cat")), Utf16Block(text));
    EXPECT_TRUE(watcher.seen().empty());
}

TEST_F(FilterTest, WideFilterSendsAndReturnsTheExactBytes)
{
    const wchar_t* text = L"日本語\r\nabc\U0001F600\n";
    DialogWatcher watcher;
    EXPECT_EQ(Wide(text, Parameter("cat")), Utf16Block(text));
    EXPECT_EQ(Wide(text, Parameter("hex-input")), Hex(Utf16Bytes(text)) + std::string(2, '\0'));
    EXPECT_TRUE(watcher.seen().empty());
}

TEST_F(FilterTest, WideFilterGivesAnEmptyTextAnEmptyInput)
{
    EXPECT_EQ(Wide(L"", Parameter("count-input")), "0" + std::string(3, '\0'));
}

TEST_F(FilterTest, ReturnsNullWithoutAMessageWhenTheCommandWritesNothing)
{
    DialogWatcher watcher;
    EXPECT_EQ(Narrow(L"text", Parameter("exit 0")), "(null)");
    EXPECT_EQ(Wide(L"text", Parameter("exit 0")), "(null)");
    EXPECT_TRUE(watcher.seen().empty());
}

TEST_F(FilterTest, NarrowFilterCutsTheOutputAtItsFirstZeroByte)
{
    EXPECT_EQ(Narrow(L"", Parameter("out " + Hex(std::string("ab\0cd", 5)))), Utf16Block(L"ab"));
    EXPECT_EQ(Narrow(L"", Parameter("out 0078")), std::string(2, '\0'));
}

TEST_F(FilterTest, NarrowFilterJoinsACharacterWhoseBytesArriveApart)
{
    // "あ" is 0x82 0xA0; the child pauses between its two bytes.
    EXPECT_EQ(Narrow(L"", Parameter("out 6182 flush out a062")), Utf16Block(L"a\u3042b"));
    DialogWatcher watcher;
    EXPECT_EQ(Narrow(L"", Parameter("out 6182")), "(null)");
    EXPECT_EQ(FirstLines(watcher), std::vector<std::wstring>{L"コマンドの出力をUTF-16に変換できません"});
}

TEST_F(FilterTest, WideFilterReturnsZeroBytesAndPadsAnOddLengthOutput)
{
    const std::string withZeros("a\0\0b", 4);
    EXPECT_EQ(Wide(L"", Parameter("out " + Hex(withZeros))), withZeros + std::string(2, '\0'));
    EXPECT_EQ(Wide(L"", Parameter("out 616263")), std::string("abc\0\0\0", 6));
}

TEST_F(FilterTest, ShowsStandardErrorAndStillReturnsTheOutput)
{
    DialogWatcher watcher;
    const std::string errors = Cp932(L"警告: 3 行目\r\n");
    EXPECT_EQ(Narrow(L"", Parameter("out 6f6b err " + Hex(errors))), Utf16Block(L"ok"));
    EXPECT_EQ(Texts(watcher), std::vector<std::wstring>{L"警告: 3 行目\r\n"});
}

TEST_F(FilterTest, WideFilterShowsUtf16StandardErrorAsUtf16)
{
    DialogWatcher watcher;
    EXPECT_EQ(Wide(L"", Parameter("err " + Hex(Utf16Bytes(L"エラー\r\n")))), "(null)");
    EXPECT_EQ(Texts(watcher), std::vector<std::wstring>{L"エラー\r\n"});
}

TEST_F(FilterTest, ShowsParameterErrorsAndReturnsNull)
{
    DialogWatcher watcher;
    EXPECT_EQ(Narrow(L"text", " "), "(null)");
    EXPECT_EQ(Wide(L"text", "  |-r"), "(null)");
    EXPECT_EQ(Texts(watcher), (std::vector<std::wstring>{L"パラメタが空です", L"コマンドが指定されていません"}));
}

TEST_F(FilterTest, ShowsAStartFailureAndReturnsNull)
{
    const test::ScopedVariable pathExt("PATHEXT", ".COM;.EXE;.BAT;.CMD");
    DialogWatcher watcher;
    EXPECT_EQ(Narrow(L"text", "no-such-program-tuvex|-x"), "(null)");
    ASSERT_EQ(Texts(watcher).size(), 1u);
    // The line of the failure, then the program, the names tried and the
    // folders searched, the host program's first, a line each.
    const std::wstring shown = Texts(watcher)[0];
    const std::wstring name = L"no-such-program-tuvex";
    EXPECT_EQ(shown.substr(0, shown.find(L"\r\n", shown.find(L"\r\n") + 2)),
              name + L" -xの起動に失敗しました(2)\r\n「" + name + L"」が見つかりません。" + name + L"、" + name +
                  L".com、" + name + L".exe、" + name + L".bat、" + name + L".cmd を、次のフォルダーで順に探しました:")
        << testing::PrintToString(shown);
    EXPECT_NE(shown.find(L"探しました:\r\n  " + test::FromCp932(test::ProgramDirectory()) + L"\r\n  "), std::wstring::npos)
        << testing::PrintToString(shown);
    wchar_t systemFolder[MAX_PATH] = {};
    GetSystemDirectoryW(systemFolder, MAX_PATH);
    EXPECT_NE(shown.find(L"\r\n  " + std::wstring(systemFolder) + L"\r\n"), std::wstring::npos)
        << testing::PrintToString(shown);
    // After the folders, what to do.
    EXPECT_EQ(shown.substr(shown.rfind(L"\r\n") + 2),
              L"インストールするか、そのプログラムのフォルダーを環境変数 PATH に加えてから、エディターを起動し直してください"
              L"(エディターは起動したときの PATH で探します)。")
        << testing::PrintToString(shown);
}

TEST_F(FilterTest, NarrowFilterRunsNothingForATextThatCodePage932CannotHold)
{
    DialogWatcher watcher;
    EXPECT_EQ(Narrow(L"smile \U0001F600", Parameter("err 78")), "(null)");
    EXPECT_EQ(Narrow(L"caf\u00e9", Parameter("err 78")), "(null)");
    EXPECT_EQ(FirstLines(watcher), std::vector<std::wstring>(2, L"テキストをコードページ932に変換できません"));
}

TEST_F(FilterTest, NarrowFilterNamesTheFirstCharacterThatCodePage932LacksWhereItStandsAndTheFiltersThatCarryIt)
{
    DialogWatcher watcher;
    EXPECT_EQ(Narrow(L"ok\r\nab\u00e9\u00e8", Parameter("err 78")), "(null)");
    EXPECT_EQ(Narrow(L"\U0001F600", Parameter("err 78")), "(null)");
    EXPECT_EQ(Narrow(L"a\rb\n\xDC00", Parameter("err 78")), "(null)");
    const std::wstring first = L"テキストをコードページ932に変換できません\r\n";
    EXPECT_EQ(Texts(watcher),
              (std::vector<std::wstring>{
                  first + L"「\u00e9」(U+00E9) は 2 行 3 文字目にあり、コードページ932にない文字です。TuvexUtf8 か TuvexW なら渡せます",
                  first + L"「\U0001F600」(U+1F600) は 1 行 1 文字目にあり、コードページ932にない文字です。TuvexUtf8 か TuvexW なら渡せます",
                  first + L"U+DC00 は 3 行 1 文字目にあり、コードページ932にない文字です。TuvexW なら渡せます"}));
}

// Code page 932 has only look-alikes for these (Windows' default conversion
// would send "e", a backslash, "μ", "|"), or nothing at all (the wave dash): the
// child must never get a changed text.
TEST_F(FilterTest, NarrowFilterRefusesCharactersThatCodePage932HasOnlyLookAlikesFor)
{
    const wchar_t* refused[] = {L"caf\u00e9", L"\u00a5100", L"5 \u00b5m", L"a\u00a6b", L"\u301c"};
    for (const wchar_t* text : refused) {
        DialogWatcher watcher;
        EXPECT_EQ(Narrow(text, Parameter("hex-input")), "(null)") << Hex(Utf16Bytes(text));
        EXPECT_EQ(FirstLines(watcher), std::vector<std::wstring>{L"テキストをコードページ932に変換できません"});
    }
}

TEST_F(FilterTest, NarrowFilterSendsAndReturnsCodePage932sOwnCharacters)
{
    // Full-width tilde, horizontal bar, circled one, Roman two, parenthesised "kabushiki".
    const wchar_t* text = L"~\\ \uff5e\u2015\u2460\u2161\u3231";
    EXPECT_EQ(Narrow(text, Parameter("hex-input")), Utf16Block(L"7e5c208160815c87408755878a"));
    EXPECT_EQ(Narrow(text, Parameter("cat")), Utf16Block(text));
}

TEST_F(FilterTest, NarrowFilterConvertsLongTextsWholeInEveryPiece)
{
    // Long enough to be converted in several pieces.
    std::wstring text(100000, L'a');
    while (text.size() < std::size_t(5) << 20) {
        text += L"日本語のテキスト, line " + std::to_wstring(text.size()) + L"\r\n";
    }
    EXPECT_EQ(Mismatch(Narrow(text.c_str(), Parameter("cat")), Utf16Block(text)), "same");
    DialogWatcher watcher;
    EXPECT_EQ(Narrow((L"\u3042\u00e9" + text).c_str(), Parameter("count-input")), "(null)");
    EXPECT_EQ(Narrow((text + L"\u00e9").c_str(), Parameter("count-input")), "(null)");
    EXPECT_EQ(FirstLines(watcher), std::vector<std::wstring>(2, L"テキストをコードページ932に変換できません"));
}

TEST_F(FilterTest, WideFilterReturnsOutputsOfAnyLengthInBlocksOfTheirExactSize)
{
    EXPECT_EQ(Mismatch(Wide(L"", Parameter("out-repeat 300001 61")), std::string(300001, 'a') + std::string(3, '\0')),
              "same");
    const std::wstring text((std::size_t(3) << 20) / 2 + 1, L'\u3042');
    EXPECT_EQ(Mismatch(Wide(text.c_str(), Parameter("cat")), Utf16Block(text)), "same");
    EXPECT_EQ(Wide(text.c_str(), Parameter("count-input")), "3145730" + std::string(3, '\0'));
}

TEST_F(FilterTest, NarrowFilterReturnsNullForOutputThatIsNotCodePage932)
{
    DialogWatcher watcher;
    // 0x81 starts a character that 0x20 cannot end. (A lone 0xFF would not
    // do: Windows' table maps it to a private use character, Wine refuses it.)
    EXPECT_EQ(Narrow(L"", Parameter("out 41812042 err " + Hex(Cp932(L"注意")))), "(null)");
    EXPECT_EQ(FirstLines(watcher), (std::vector<std::wstring>{L"注意", L"コマンドの出力をUTF-16に変換できません"}));
}

// The bytes chosen are read alike by Windows' and Wine's tables of code page
// 932 (which differ for 0x80, 0xA0 and 0xFD to 0xFF).
TEST_F(FilterTest, OutputThatDoesNotConvertIsNamedByItsEncodingAndFirstByteWithTheFilterThatReadsIt)
{
    DialogWatcher watcher;
    EXPECT_EQ(Narrow(L"", Parameter("out 4181")), "(null)");          // a lead byte cut off by the end
    EXPECT_EQ(Narrow(L"", Parameter("out e381820a")), "(null)");      // "あ" in UTF-8
    EXPECT_EQ(Utf8(L"", Parameter("out 81204142")), "(null)");        // text of neither
    EXPECT_EQ(Utf8(L"", Parameter("out c3a9 flush out 82a0")), "(null)");  // "é" in both, then "あ" in Shift_JIS
    const std::wstring first = L"コマンドの出力をUTF-16に変換できません\r\n";
    EXPECT_EQ(Texts(watcher),
              (std::vector<std::wstring>{
                  first + L"Shift_JIS (コードページ932) として読めないバイトがあります: 2 バイト目の 0x81",
                  first + L"Shift_JIS (コードページ932) として読めないバイトがあります: 3 バイト目の 0x82。"
                          L"UTF-8 としては正しいので、TuvexUtf8 なら読めます",
                  first + L"UTF-8 として読めないバイトがあります: 1 バイト目の 0x81",
                  first + L"UTF-8 として読めないバイトがあります: 3 バイト目の 0x82。"
                          L"Shift_JIS (コードページ932) としては正しいので、Tuvex なら読めます"}));
}

TEST_F(FilterTest, NarrowFilterLeavesTheSharedRuntimeLocaleAlone)
{
    const std::string before = std::setlocale(LC_ALL, nullptr);
    Narrow(L"abc", Parameter("cat"));
    EXPECT_EQ(std::string(std::setlocale(LC_ALL, nullptr)), before);
}

TEST_F(FilterTest, Utf8FilterSendsUtf8WithoutAByteOrderMarkAndReturnsTheSameText)
{
    const wchar_t* text = L"caf\u00e9 \U00020BB7 \U0001F600\r\n\u6771\u4eac";
    DialogWatcher watcher;
    EXPECT_EQ(Utf8(text, Parameter("hex-input")),
              Utf16Block(L"636166c3a920f0a0aeb720f09f98800d0ae69db1e4baac"));
    EXPECT_EQ(Utf8(text, Parameter("cat")), Utf16Block(text));
    EXPECT_EQ(Utf8(L"", Parameter("count-input")), Utf16Block(L"0"));
    EXPECT_TRUE(watcher.seen().empty());
}

TEST_F(FilterTest, Utf8FilterDropsOneByteOrderMarkAtTheVeryStartOnly)
{
    EXPECT_EQ(Utf8(L"", Parameter("out efbbbf61efbbbf62")), Utf16Block(L"a\ufeffb"));
    // The mark's bytes arrive apart; a second mark at the start is text.
    EXPECT_EQ(Utf8(L"", Parameter("out ef flush out bbbfefbbbf61")), Utf16Block(L"\ufeffa"));
    EXPECT_EQ(Utf8(L"", Parameter("out efbbbf")), Utf16Block(L""));
}

TEST_F(FilterTest, Utf8FilterJoinsACharacterWhoseBytesArriveApartAndEndsAtTheFirstZeroByte)
{
    EXPECT_EQ(Utf8(L"", Parameter("out 61f0a0 flush out aeb762")), Utf16Block(L"a\U00020BB7b"));
    EXPECT_EQ(Utf8(L"", Parameter("out " + Hex(std::string("\xE6\x9D\xB1\0\xFF", 5)))), Utf16Block(L"\u6771"));
}

TEST_F(FilterTest, Utf8FilterKeepsTheTextForOutputThatIsNotUtf8)
{
    // An encoded surrogate, a stray continuation byte, a sequence cut by the end.
    for (const char* output : {"41eda080", "41bf42", "41e69d"}) {
        DialogWatcher watcher;
        EXPECT_EQ(Utf8(L"text", Parameter(std::string("out ") + output + " err " + Hex("\xE6\xB3\xA8"))), "(null)")
            << output;
        EXPECT_EQ(FirstLines(watcher), (std::vector<std::wstring>{L"\u6ce8", L"コマンドの出力をUTF-16に変換できません"}))
            << output;
    }
}

TEST_F(FilterTest, Utf8FilterRunsNothingForATextWithALoneSurrogate)
{
    for (const wchar_t* text : {L"a\xD842" L"b", L"a\xDFB7", L"\xD842"}) {
        DialogWatcher watcher;
        EXPECT_EQ(Utf8(text, Parameter("err 78")), "(null)") << Hex(Utf16Bytes(text));
        EXPECT_EQ(Texts(watcher), std::vector<std::wstring>{L"テキストをUTF-8に変換できません"});
    }
}

TEST_F(FilterTest, ShowsUtf8StandardErrorAsTextThroughEveryFilter)
{
    const std::string errors = "\xE3\x82\xA8\xE3\x83\xA9\xE3\x83\xBC: \xE6\x9D\xB1\xE4\xBA\xAC\r\n";
    DialogWatcher watcher;
    EXPECT_EQ(Utf8(L"", Parameter("out 6f6b err " + Hex(errors))), Utf16Block(L"ok"));
    EXPECT_EQ(Narrow(L"", Parameter("err " + Hex(errors))), "(null)");
    EXPECT_EQ(Wide(L"", Parameter("err " + Hex(errors + "x"))), "(null)");
    EXPECT_EQ(Texts(watcher), (std::vector<std::wstring>{L"エラー: 東京\r\n", L"エラー: 東京\r\n", L"エラー: 東京\r\nx"}));
}

TEST_F(FilterTest, Utf8FilterCarriesLongJapaneseTextsWholeThroughAllPieces)
{
    // 9 MiB of UTF-8; the pattern's odd length puts surrogate pairs across
    // every place where the text may be cut into pieces.
    std::wstring text;
    while (text.size() * 11 / 5 < std::size_t(9) << 20) {
        text += L"\u6771\u4eac\U00020BB7\n";
    }
    DialogWatcher watcher;
    EXPECT_EQ(Mismatch(Utf8(text.c_str(), Parameter("cat")), Utf16Block(text)), "same");
    EXPECT_EQ(Texts(watcher), std::vector<std::wstring>{});
}

// Drives the command menu of an installed module: a menu file beside it and
// a key press on the popup.
class FilterMenuTest : public FilterTest {
protected:
    void SetUp() override
    {
        test::WriteBytes(module_.directory() + "Tuvex.ini",
                         "Copy\t" + TestChildPath() + "\tcat\n->Sub\n\tShout\t" + TestChildPath() + "\tout 4849\n");
        test::WriteBytes(module_.directory() + "TuvexW.ini", "Count\t" + TestChildPath() + "\tcount-input\n");
        test::WriteBytes(module_.directory() + "TuvexUtf8.ini",
                         "Copy\t" + TestChildPath() + "\tcat\nTokyo\t" + TestChildPath() + "\tout e69db1e4baac\n");
        window_ = test::MakeOwnerWindow(0, 0, 300, 200);
        owner_ = window_.get();
        SetCursorPos(40, 40);
        ASSERT_TRUE(test::BringToFront(owner_)) << "in front: " << GetForegroundWindow();
    }

    // The result block of `call` while a user presses `keys` on its popup.
    std::string ResultWithKeysOnPopup(const std::function<HGLOBAL()>& call, const std::vector<WPARAM>& keys)
    {
        test::PopupUser user(owner_, [&](HWND, HMENU) { test::PressKeys(owner_, keys); });
        const std::string result = BlockBytes(call());
        const test::PopupUser::Outcome outcome = user.Finish();
        EXPECT_TRUE(outcome.shown);
        EXPECT_FALSE(outcome.leftOpen) << "the popup stayed open after the keys";
        return result;
    }

    UniqueWindow window_;
};

TEST_F(FilterMenuTest, RunsTheCommandChosenFromTheMenuWhenTheParameterIsEmpty)
{
    EXPECT_EQ(ResultWithKeysOnPopup([&] { return narrow_(owner_, L"text", ""); },
                                    {VK_DOWN, VK_DOWN, VK_RIGHT, VK_RETURN}),
              Utf16Block(L"HI"));
}

TEST_F(FilterMenuTest, WideFilterReadsItsOwnMenuFileWhenTheParameterIsNull)
{
    EXPECT_EQ(ResultWithKeysOnPopup([&] { return wide_(owner_, L"abc", nullptr); }, {VK_DOWN, VK_RETURN}),
              "6" + std::string(3, '\0'));
}

TEST_F(FilterMenuTest, Utf8FilterReadsItsOwnMenuFile)
{
    EXPECT_EQ(ResultWithKeysOnPopup([&] { return utf8_(owner_, L"text", ""); }, {VK_DOWN, VK_DOWN, VK_RETURN}),
              Utf16Block(L"\u6771\u4eac"));
}

TEST_F(FilterMenuTest, DismissingTheMenuRunsNothingAndShowsNothing)
{
    DialogWatcher watcher;
    EXPECT_EQ(ResultWithKeysOnPopup([&] { return narrow_(owner_, L"text", nullptr); }, {VK_ESCAPE, VK_ESCAPE}),
              "(null)");
    EXPECT_TRUE(watcher.seen().empty());
}

TEST_F(FilterMenuTest, MenuFilesThatDefineNoCommandRunNothingAndSaySo)
{
    const std::string empty[] = {
        "",
        "->Only a submenu\n-----\n",
        std::string(5 << 20, 'a'),                                            // 5 MiB of one line
        std::string("\xFF\xFE" "C\0o\0p\0y\0\t\0x\0\r\0\n\0", 18),  // UTF-16 with a byte-order mark
    };
    for (const std::string& bytes : empty) {
        test::WriteBytes(module_.directory() + "Tuvex.ini", bytes);
        DialogWatcher watcher;
        EXPECT_EQ(BlockBytes(narrow_(owner_, L"text", nullptr)), "(null)");
        EXPECT_EQ(Texts(watcher), std::vector<std::wstring>{L"メニュー定義ファイル(" + test::FromCp932(module_.directory()) +
                                                            L"Tuvex.ini)に選べるコマンドがありません。tuvex_host menu "
                                                            L"で中身を確かめてください"});
    }
}

TEST_F(FilterMenuTest, ALongCommentLineStaysACommentToItsEnd)
{
    test::WriteBytes(module_.directory() + "Tuvex.ini", "#" + std::string(1022, 'c') + "Live\t" + TestChildPath() +
                                                            "\tout 4c495645\nCopy\t" + TestChildPath() + "\tcat\n");
    EXPECT_EQ(ResultWithKeysOnPopup([&] { return narrow_(owner_, L"text", ""); }, {VK_DOWN, VK_RETURN}),
              Utf16Block(L"text"));
}

TEST_F(FilterMenuTest, SubmenusNestedDeeperThanWindowsBuildsAreRefusedInWords)
{
    std::string nested;
    for (int level = 0; level <= 30; ++level) {
        nested += std::string(level, '\t') + "->S\n";
    }
    test::WriteBytes(module_.directory() + "Tuvex.ini", nested + std::string(31, '\t') + "Copy\t" + TestChildPath() + "\tcat\n");
    DialogWatcher watcher;
    EXPECT_EQ(BlockBytes(narrow_(owner_, L"text", "")), "(null)");
    EXPECT_EQ(Texts(watcher), std::vector<std::wstring>{L"メニュー定義ファイル(" + test::FromCp932(module_.directory()) +
                                                        L"Tuvex.ini)のサブメニューの入れ子が31段あり、上限の30段を超えています"});
}

TEST_F(FilterMenuTest, ShowsTheMenuFileFailureWhenThereIsNoFile)
{
    DeleteFileA((module_.directory() + "Tuvex.ini").c_str());
    DeleteFileA((module_.directory() + "TuvexUtf8.ini").c_str());
    DialogWatcher watcher;
    EXPECT_EQ(BlockBytes(narrow_(owner_, L"text", nullptr)), "(null)");
    EXPECT_EQ(BlockBytes(utf8_(owner_, L"text", nullptr)), "(null)");
    const std::wstring folder = test::FromCp932(module_.directory());
    const std::wstring missing = L")のオープンに失敗しました(2)\r\nTuvex.dll と同じフォルダーに、このファイルがありません。";
    EXPECT_EQ(Texts(watcher), (std::vector<std::wstring>{L"メニュー定義ファイル(" + folder + L"Tuvex.ini" + missing,
                                                         L"メニュー定義ファイル(" + folder + L"TuvexUtf8.ini" + missing}));
}

}  // namespace
}  // namespace tuvex
