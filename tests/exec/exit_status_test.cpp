#include <gtest/gtest.h>

#include "exec/exit_status.h"

namespace tuvex {
namespace {

// コマンドが異常終了しました(
const ByteString kCrashed = "\x83R\x83}\x83\x93\x83h\x82\xAA\x88\xD9\x8F\xED\x8FI\x97\xB9\x82\xB5\x82\xDC\x82\xB5\x82\xBD(";

TEST(IsCrashExitCode, IsTrueFromTheExceptionCodesUp)
{
    for (std::uint32_t status : {0xC0000000u, 0xC0000005u, 0xC00000FDu, 0xC0000409u, 0xC000013Au, 0xFFFFFFFFu}) {
        EXPECT_TRUE(IsCrashExitCode(status)) << std::hex << status;
    }
    for (std::uint32_t status : {0u, 1u, 2u, 259u, 0x80000003u, 0xBFFFFFFFu}) {
        EXPECT_FALSE(IsCrashExitCode(status)) << std::hex << status;
    }
}

TEST(CrashMessage, WritesTheStatusAsEightUpperCaseHexDigits)
{
    EXPECT_EQ(CrashMessage(0xC0000005u), kCrashed + "0xC0000005)");
    EXPECT_EQ(CrashMessage(0xC00000FDu), kCrashed + "0xC00000FD)");
}

TEST(RaiseIfCrashed, RaisesTheMessageOnlyForACrash)
{
    EXPECT_NO_THROW(RaiseIfCrashed(1));
    try {
        RaiseIfCrashed(0xC000013Au);
        FAIL() << "no error raised";
    } catch (const ErrorMessage& error) {
        EXPECT_EQ(error.text(), kCrashed + "0xC000013A)");
    }
}

}  // namespace
}  // namespace tuvex
