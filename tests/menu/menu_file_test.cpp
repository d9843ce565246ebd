#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>

#include "common/unique_resource.h"
#include "menu/menu_file.h"
#include "menu_tree_text.h"

namespace tuvex {
namespace {

// A folder of its own under the temporary folder, removed with its files.
class MenuFileFolder {
public:
    MenuFileFolder()
        : folder_(std::filesystem::temp_directory_path() /
                  ("tuvex-menu-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count())))
    {
        std::filesystem::create_directories(folder_);
    }
    ~MenuFileFolder() { std::filesystem::remove_all(folder_); }
    MenuFileFolder(const MenuFileFolder&) = delete;
    MenuFileFolder& operator=(const MenuFileFolder&) = delete;

    ByteString PathOf(std::string_view name) const { return (folder_ / name).string(); }

    // Writes `bytes` unchanged (no line-end translation) and returns the path.
    ByteString Write(std::string_view name, std::string_view bytes) const
    {
        const ByteString path = PathOf(name);
        UniqueFile file(std::fopen(path.c_str(), "wb"));
        EXPECT_TRUE(file) << path;
        std::fwrite(bytes.data(), 1, bytes.size(), file.get());
        return path;
    }

private:
    std::filesystem::path folder_;
};

std::string TextOfFile(std::string_view bytes)
{
    MenuFileFolder folder;
    return test::MenuText(*LoadMenuDefinition(folder.Write("Tuvex.ini", bytes)));
}

TEST(LoadMenuDefinition, ReadsTheTextToolsExampleIntoATreeUnderTop)
{
    MenuFileFolder folder;
    const auto root = LoadMenuDefinition(folder.Write("Tuvex.ini", test::kWorkedExample));
    EXPECT_EQ(root->GetName(), "top");
    EXPECT_EQ(test::MenuText(*root),
              "Sort | sort.exe | \n"
              ">Convert\n"
              "  Upper case | conv.exe | -u\n"
              "  -----\n"
              "  Number lines | number.exe | -w 4\n"
              "-----\n"
              "Reverse | reverse.pl | \n");
}

TEST(LoadMenuDefinition, YieldsARootWithoutChildrenForAnEmptyOrCommentOnlyFile)
{
    EXPECT_EQ(TextOfFile(""), "");
    EXPECT_EQ(TextOfFile("#comment\n\n\t#indented\n\t\t\n"), "");
}

TEST(LoadMenuDefinition, ReadsTheLastLineWithoutALineEnd)
{
    EXPECT_EQ(TextOfFile("Sort\tsort.exe\nLast\tlast.exe"),
              "Sort | sort.exe | \n"
              "Last | last.exe | \n");
}

TEST(LoadMenuDefinition, ReadsALineLongerThan1023BytesAsPiecesOfOneLineEach)
{
    // 1200 bytes: a piece of 1023 bytes inside the submenu, then the rest,
    // 177 bytes, as a line of depth 0.
    const std::string first = "\tLong\t" + std::string(1023 - 6, 'c');
    const std::string rest = "Tail\t" + std::string(177 - 5, 't');
    ASSERT_EQ((first + rest).size(), 1200u);
    EXPECT_EQ(TextOfFile("->Sub\n" + first + rest + "\n"),
              ">Sub\n"
              "  Long | " + std::string(1017, 'c') + " | \n"
              "Tail | " + std::string(172, 't') + " | \n");
}

TEST(LoadMenuDefinition, KeepsThePiecesOfALongLineAfterItsHashAComment)
{
    const std::string live = "Live\tlive.exe\n";
    // The comment begins in a later piece, or before a zero byte; a zero byte
    // in a short line does not carry its comment into the next line.
    EXPECT_EQ(TextOfFile("B\tb.exe\t" + std::string(1015, 'b') + "#" + std::string(1022, 'c') + live),
              "B | b.exe | " + std::string(1015, 'b') + "\n");
    EXPECT_EQ(TextOfFile("#c" + std::string(1, '\0') + std::string(1020, 'c') + live), "");
    EXPECT_EQ(TextOfFile("#c" + std::string(1, '\0') + "c\n" + live), "Live | live.exe | \n");
}

TEST(LoadMenuDefinition, TakesAByteOrderMarkAsPartOfTheFirstLinesText)
{
    EXPECT_EQ(TextOfFile("\xEF\xBB\xBF->Sub\n\tA\ta.exe\n"), "A | a.exe | \n");
    EXPECT_EQ(TextOfFile("\xEF\xBB\xBF-----\nA\ta.exe\n"), "A | a.exe | \n");
    EXPECT_EQ(TextOfFile("\xEF\xBB\xBFName\tcmd.exe\n"), "\xEF\xBB\xBFName | cmd.exe | \n");
}

TEST(LoadMenuDefinition, ReadsAUtf16FileAsBytesWithoutError)
{
    // Each line's first byte after the LF is the LF's zero high byte, which
    // ends the line's text: nothing but the first character is ever seen.
    std::string utf16 = "\xFF\xFE";
    for (const char byte : std::string_view(test::kWorkedExample)) {
        utf16 += byte;
        utf16 += '\0';
    }
    EXPECT_EQ(TextOfFile(utf16), "");
}

TEST(LoadMenuDefinition, RaisesTheOpenFailureWithTheFullPathAndErrnoForAMissingFile)
{
    MenuFileFolder folder;
    const ByteString path = folder.PathOf("missing.ini");
    try {
        LoadMenuDefinition(path);
        ADD_FAILURE() << "no error for " << path;
    } catch (const ErrorMessage& error) {
        // メニュー定義ファイル(path)のオープンに失敗しました(2)
        // Tuvex.dll と同じフォルダーに、このファイルがありません。
        EXPECT_EQ(error.text(), "\x83\x81\x83j\x83\x85\x81[\x92\xE8\x8B`\x83t\x83@\x83""C\x83\x8B(" + path +
                                    ")\x82\xCC\x83I\x81[\x83v\x83\x93\x82\xC9\x8E\xB8\x94s\x82\xB5\x82\xDC\x82\xB5"
                                    "\x82\xBD(2)\r\nTuvex.dll \x82\xC6\x93\xAF\x82\xB6\x83t\x83H\x83\x8B\x83_\x81[\x82\xC9"
                                    "\x81""A\x82\xB1\x82\xCC\x83t\x83@\x83""C\x83\x8B\x82\xAA\x82\xA0\x82\xE8\x82\xDC\x82\xB9"
                                    "\x82\xF1\x81""B");
    }
}

}  // namespace
}  // namespace tuvex
