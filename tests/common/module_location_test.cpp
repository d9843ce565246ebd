#include <gtest/gtest.h>

#include "common/code_page_932.h"
#include "common/module_location.h"

namespace tuvex {
namespace {

ByteString DirectoryOf(std::string_view path)
{
    return DirectoryOfModulePath(path, &IsCp932LeadByte);
}

TEST(ModuleDirectory, IsTheDriveAndFolderWithTheirLastSeparator)
{
    EXPECT_EQ(DirectoryOf("C:\\a\\b\\x.dat"), "C:\\a\\b\\");
    EXPECT_EQ(DirectoryOf("C:\\x.dat"), "C:\\");
}

TEST(ModuleDirectory, OfANetworkPathHasNoDriveAndKeepsBothLeadingSeparators)
{
    EXPECT_EQ(DirectoryOf("\\\\server\\share\\plug\\Tuvex.dll"), "\\\\server\\share\\plug\\");
}

TEST(ModuleDirectory, CountsForwardSlashesAsSeparators)
{
    EXPECT_EQ(DirectoryOf("C:/a/b/x.dat"), "C:/a/b/");
    EXPECT_EQ(DirectoryOf("C:\\a/b\\x.dat"), "C:\\a/b\\");
}

TEST(ModuleDirectory, NeverTakesTheSecondByteOfADoubleByteCharacterForASeparator)
{
    // "表" is 0x95 0x5C in code page 932.
    EXPECT_EQ(DirectoryOf("C:\\\x95\x5C\\x.dat"), "C:\\\x95\x5C\\");
    EXPECT_EQ(DirectoryOf("C:\\a\\\x95\x5C.dll"), "C:\\a\\");
}

TEST(ModuleDirectory, IsJustTheDriveWhenThePathHasNoSeparator)
{
    EXPECT_EQ(DirectoryOf("C:x.dat"), "C:");
    EXPECT_EQ(DirectoryOf("x.dat"), "");
    EXPECT_EQ(DirectoryOf(""), "");
}

TEST(ModuleDirectory, CutsTheFolderPartTo255Bytes)
{
    const std::string folder = "\\" + std::string(300, 'f') + "\\";
    EXPECT_EQ(DirectoryOf("C:" + folder + "x.dll"), "C:" + folder.substr(0, 255));
}

TEST(ModuleFilePath, AppendsTheNameToTheModuleDirectoryWithoutASeparator)
{
    moduleDirectory = "C:\\a\\b\\";
    EXPECT_EQ(ModuleFilePath("Tuvex.ini"), "C:\\a\\b\\Tuvex.ini");
    moduleDirectory.clear();
}

}  // namespace
}  // namespace tuvex
