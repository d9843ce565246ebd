#include <gtest/gtest.h>

#include "dialog/dialog_settings_win32.h"
#include "module_folder.h"

namespace tuvex {
namespace {

using DialogSettingsTest = test::ModuleFolderTest;

void ExpectSettings(const DialogSettings& settings, const ByteString& fontName, int fontSize, int width, int height)
{
    EXPECT_EQ(settings.fontName, fontName);
    EXPECT_EQ(settings.fontSize, fontSize);
    EXPECT_EQ(settings.width, width);
    EXPECT_EQ(settings.height, height);
}

TEST_F(DialogSettingsTest, AreAllDefaultsWithoutTheFile)
{
    ExpectSettings(ReadDialogSettings(), "MS UI Gothic", 9, 320, 200);
}

TEST_F(DialogSettingsTest, TakeTheKeysThatTheFileHoldsAndDefaultsForTheRest)
{
    WriteSettings("[DIALOG]\r\nwidth=640\r\n");
    ExpectSettings(ReadDialogSettings(), "MS UI Gothic", 9, 640, 200);
    WriteSettings("[DIALOG]\r\nfontName=IPAGothic\r\nfontSize=-16\r\nheight=480\r\n");
    ExpectSettings(ReadDialogSettings(), "IPAGothic", -16, 320, 480);
}

TEST_F(DialogSettingsTest, KeepAnEmptyFontNameEmpty)
{
    WriteSettings("[DIALOG]\r\nfontName=\r\n");
    EXPECT_EQ(ReadDialogSettings().fontName, "");
}

TEST_F(DialogSettingsTest, CutALongFontNameTo1023Bytes)
{
    const std::string name(1500, 'f');
    WriteSettings("[DIALOG]\r\nfontName=" + name + "\r\n");
    EXPECT_EQ(ReadDialogSettings().fontName, name.substr(0, 1023));
}

TEST_F(DialogSettingsTest, IgnoreKeysOfOtherSections)
{
    WriteSettings("[OTHER]\r\nwidth=640\r\nfontName=Other\r\n");
    ExpectSettings(ReadDialogSettings(), "MS UI Gothic", 9, 320, 200);
}

TEST_F(DialogSettingsTest, PassAFontSizeOfZeroUnchanged)
{
    WriteSettings("[DIALOG]\r\nfontSize=0\r\n");
    EXPECT_EQ(ReadDialogSettings().fontSize, 0);
}

}  // namespace
}  // namespace tuvex
