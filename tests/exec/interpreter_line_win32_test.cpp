#include <gtest/gtest.h>

#include "exec/interpreter_line.h"
#include "support/test_support.h"

namespace tuvex {
namespace {

using test::TempFolder;
using test::WriteBytes;

ByteString OpenFailure(const std::string& subject, int errorNumber)
{
    return subject + test::Cp932(L"のオープンに失敗しました(") + std::to_string(errorNumber) + ")";
}

TEST(ReadInterpreterLine, ReadsTheHashBangLineOfTheFileItIsGiven)
{
    TempFolder folder;
    WriteBytes(folder / "sort.pl", "#!perl -w\r\nprint;\n");
    EXPECT_EQ(ReadInterpreterLine(folder / "sort.pl"), "perl -w");
}

TEST(ReadInterpreterLine, IsEmptyForMissingEmptyAndNonScriptFiles)
{
    TempFolder folder;
    WriteBytes(folder / "empty.txt", "");
    WriteBytes(folder / "bom.txt", "\xEF\xBB\xBF#!perl\n");
    WriteBytes(folder / "later.txt", "\n#!perl\n");
    EXPECT_EQ(ReadInterpreterLine(folder / "missing.pl"), "");
    EXPECT_EQ(ReadInterpreterLine(""), "");
    EXPECT_EQ(ReadInterpreterLine(folder / "empty.txt"), "");
    EXPECT_EQ(ReadInterpreterLine(folder / "bom.txt"), "");
    EXPECT_EQ(ReadInterpreterLine(folder / "later.txt"), "");
    EXPECT_EQ(ReadInterpreterLine(test::TestChildPath()), "");
}

TEST(ReadInterpreterLine, TakesAtMost252BytesOfALongFirstLine)
{
    TempFolder folder;
    WriteBytes(folder / "long.pl", "#!" + std::string(100 * 1024, 'p') + "\n");
    EXPECT_EQ(ReadInterpreterLine(folder / "long.pl"), std::string(252, 'p'));
}

TEST(ReadInterpreterLine, RaisesTheCommandsOpenFailureForAFolder)
{
    TempFolder folder;
    try {
        ReadInterpreterLine(folder.path());
        FAIL() << "no error raised";
    } catch (const ErrorMessage& error) {
        EXPECT_EQ(error.text(), OpenFailure(folder.path(), 13));
    }
}

}  // namespace
}  // namespace tuvex
