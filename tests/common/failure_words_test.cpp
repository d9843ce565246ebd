#include <gtest/gtest.h>

#include <cerrno>

#include "common/failure_words.h"

namespace tuvex {
namespace {

TEST(MissingProgramWords, NameTheProgramTheNamesTriedAndEachFolderSearchedOnALineOfItsOwn)
{
    // 「perl」が見つかりません。perl、perl.com を、次のフォルダーで順に探しました:
    EXPECT_EQ(MissingProgramWords({"perl", false, {"perl", "perl.com"}, {"C:\\host\\", "D:\\tools"}}),
              "\x81uperl\x81v\x82\xAA\x8C\xA9\x82\xC2\x82\xA9\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x81""Bperl\x81""Aperl.com "
              "\x82\xF0\x81""A\x8E\x9F\x82\xCC\x83t\x83H\x83\x8B\x83_\x81[\x82\xC5\x8F\x87\x82\xC9\x92T\x82\xB5\x82\xDC"
              "\x82\xB5\x82\xBD:\r\n  C:\\host\\\r\n  D:\\tools");
    // スクリプトの #! 行のプログラム「perl」が見つかりません。perl を、次のフォルダーで順に探しました:
    EXPECT_EQ(MissingProgramWords({"perl", true, {"perl"}, {"C:\\host\\"}}),
              "\x83X\x83N\x83\x8A\x83v\x83g\x82\xCC #! \x8Ds\x82\xCC\x83v\x83\x8D\x83O\x83\x89\x83\x80\x81uperl\x81v\x82"
              "\xAA\x8C\xA9\x82\xC2\x82\xA9\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x81""Bperl \x82\xF0\x81""A\x8E\x9F\x82\xCC"
              "\x83t\x83H\x83\x8B\x83_\x81[\x82\xC5\x8F\x87\x82\xC9\x92T\x82\xB5\x82\xDC\x82\xB5\x82\xBD:\r\n  C:\\host\\");
    // 「.\t」が見つかりません。.\t を探しました。(then why only there)
    const ByteString asWritten = MissingProgramWords({".\\t", false, {".\\t"}, {}});
    EXPECT_TRUE(asWritten.starts_with("\x81u.\\t\x81v\x82\xAA\x8C\xA9\x82\xC2\x82\xA9\x82\xE8\x82\xDC\x82\xB9\x82\xF1"
                                      "\x81""B.\\t \x82\xF0\x92T\x82\xB5\x82\xDC\x82\xB5\x82\xBD\x81""B"))
        << asWritten;
    EXPECT_EQ(asWritten.find("\r\n"), ByteString::npos) << asWritten;
}

TEST(FailureWords, ExplainFilesThatAreNoProgramAndOpenFailuresThatHaveWords)
{
    // Windows が起動できるプログラムではありません。...
    EXPECT_TRUE(StartFailureWords(193, "system text").starts_with(
        "Windows \x82\xAA\x8BN\x93\xAE\x82\xC5\x82\xAB\x82\xE9\x83v\x83\x8D\x83O\x83\x89\x83\x80\x82\xC5\x82\xCD\x82\xA0"
        "\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x81""B"));
    EXPECT_EQ(StartFailureWords(5, "system text"), "system text");
    // 読むことが許されていないか、ファイルではなくフォルダーです。
    const ByteString denied = "\x93\xC7\x82\xDE\x82\xB1\x82\xC6\x82\xAA\x8B\x96\x82\xB3\x82\xEA\x82\xC4\x82\xA2\x82\xC8"
                              "\x82\xA2\x82\xA9\x81""A\x83t\x83@\x83""C\x83\x8B\x82\xC5\x82\xCD\x82\xC8\x82\xAD\x83t\x83H"
                              "\x83\x8B\x83_\x81[\x82\xC5\x82\xB7\x81""B";
    EXPECT_EQ(OpenFailureWords(EACCES, OpenedFile::Command), denied);
    EXPECT_EQ(OpenFailureWords(EACCES, OpenedFile::MenuFile), denied);
    EXPECT_NE(OpenFailureWords(EINVAL, OpenedFile::Command), "");
    EXPECT_EQ(OpenFailureWords(ENOENT, OpenedFile::Command), "");
    EXPECT_EQ(OpenFailureWords(EMFILE, OpenedFile::Command), "");
}

TEST(TidySystemText, FillsInsertsTakesEscapesAndDropsTheLineEnd)
{
    EXPECT_EQ(TidySystemText(L"%1 is not a valid Win32 application.\r\n", L"C:\\x.exe"),
              L"C:\\x.exe is not a valid Win32 application.");
    EXPECT_EQ(TidySystemText(L"a%nb%%c %2!s! %12d%tz%0 dropped", L"X"), L"a\r\nb%c X Xd\tz");
    EXPECT_EQ(TidySystemText(L"open %1!s cut", L"X"), L"open X");
    EXPECT_EQ(TidySystemText(L"100%", L"X"), L"100");
    EXPECT_EQ(TidySystemText(L" \r\n", L"X"), L"");
}

TEST(ProgramOfCommandLine, IsTheFirstWordWithoutItsQuotes)
{
    EXPECT_EQ(ProgramOfCommandLine("\"C:\\Program Files\\perl.exe\" -w \"x.pl\""), "C:\\Program Files\\perl.exe");
    EXPECT_EQ(ProgramOfCommandLine("sort /r"), "sort");
    EXPECT_EQ(ProgramOfCommandLine("\"open"), "open");
}

}  // namespace
}  // namespace tuvex
