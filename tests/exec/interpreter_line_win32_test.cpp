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
    EXPECT_EQ(ReadInterpreterLine(folder / "sort.pl", "cmd"), "perl -w");
}

TEST(ReadInterpreterLine, IsEmptyForMissingEmptyAndNonScriptFiles)
{
    TempFolder folder;
    WriteBytes(folder / "empty.txt", "");
    WriteBytes(folder / "bom.txt", "\xEF\xBB\xBF#!perl\n");
    WriteBytes(folder / "later.txt", "\n#!perl\n");
    EXPECT_EQ(ReadInterpreterLine(folder / "missing.pl", "cmd"), "");
    EXPECT_EQ(ReadInterpreterLine("", "cmd"), "");
    EXPECT_EQ(ReadInterpreterLine(folder / "empty.txt", "cmd"), "");
    EXPECT_EQ(ReadInterpreterLine(folder / "bom.txt", "cmd"), "");
    EXPECT_EQ(ReadInterpreterLine(folder / "later.txt", "cmd"), "");
    EXPECT_EQ(ReadInterpreterLine(test::TestChildPath(), "cmd"), "");
}

TEST(ReadInterpreterLine, TakesAtMost252BytesOfALongFirstLine)
{
    TempFolder folder;
    WriteBytes(folder / "long.pl", "#!" + std::string(100 * 1024, 'p') + "\n");
    EXPECT_EQ(ReadInterpreterLine(folder / "long.pl", "cmd"), std::string(252, 'p'));
}

TEST(ReadInterpreterLine, RaisesTheOpenFailureWithTheCommandAsWritten)
{
    TempFolder folder;
    try {
        ReadInterpreterLine(folder.path(), "tools");
        FAIL() << "no error raised";
    } catch (const ErrorMessage& error) {
        EXPECT_EQ(test::FirstLine(error.text()), OpenFailure("tools", 13));
    }
}

}  // namespace
}  // namespace tuvex
