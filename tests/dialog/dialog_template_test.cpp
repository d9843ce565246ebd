#include <gtest/gtest.h>

#include <string>

#include "support/test_support.h"

namespace tuvex {
namespace {

// Reads a dialog template, in the standard (not extended) format, word by word.
class TemplateReader {
public:
    explicit TemplateReader(const void* start) : word_(static_cast<const WORD*>(start)) {}

    WORD Word() { return *word_++; }
    DWORD Dword()
    {
        const DWORD low = Word();
        return low | DWORD{Word()} << 16;
    }
    // A string, or an ordinal written as "#<number>".
    std::wstring NameOrOrdinal()
    {
        if (*word_ == 0xFFFF) {
            ++word_;
            return L"#" + std::to_wstring(Word());
        }
        std::wstring text(reinterpret_cast<const wchar_t*>(word_));
        word_ += text.size() + 1;
        return text;
    }
    void AlignToDword()
    {
        if (reinterpret_cast<std::uintptr_t>(word_) % 4 != 0) {
            ++word_;
        }
    }

private:
    const WORD* word_;
};

struct Item {
    DWORD style, extendedStyle;
    short x, y, cx, cy;
    WORD id;
    std::wstring className, text;
};

Item ReadItem(TemplateReader& reader)
{
    reader.AlignToDword();
    Item item{};
    item.style = reader.Dword();
    item.extendedStyle = reader.Dword();
    item.x = static_cast<short>(reader.Word());
    item.y = static_cast<short>(reader.Word());
    item.cx = static_cast<short>(reader.Word());
    item.cy = static_cast<short>(reader.Word());
    item.id = reader.Word();
    item.className = reader.NameOrOrdinal();
    item.text = reader.NameOrOrdinal();
    EXPECT_EQ(reader.Word(), 0) << "creation data of control " << item.id;
    return item;
}

void ExpectItem(const Item& item, DWORD style, short x, short y, short cx, short cy, WORD id,
                const std::wstring& className, const std::wstring& text)
{
    EXPECT_EQ(item.style, style) << std::hex << item.style;
    EXPECT_EQ(item.extendedStyle, 0u);
    EXPECT_EQ((std::vector<short>{item.x, item.y, item.cx, item.cy}), (std::vector<short>{x, y, cx, cy}));
    EXPECT_EQ(item.id, id);
    EXPECT_EQ(item.className, className);
    EXPECT_EQ(item.text, text);
}

TEST(MessageDialogTemplate, IsJapaneseDialog101OfTheModuleWithItsCaptionFontAndTwoControls)
{
    test::InstalledModule module;
    HRSRC resource = FindResourceExW(module.handle(), MAKEINTRESOURCEW(5), MAKEINTRESOURCEW(101),
                                     MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT));
    ASSERT_NE(resource, nullptr) << "error " << GetLastError();
    TemplateReader reader(LockResource(LoadResource(module.handle(), resource)));

    EXPECT_EQ(reader.Dword(), 0x80CC0040u) << "style";
    EXPECT_EQ(reader.Dword(), 0u) << "extended style";
    EXPECT_EQ(reader.Word(), 2) << "controls";
    EXPECT_EQ((std::vector<WORD>{reader.Word(), reader.Word(), reader.Word(), reader.Word()}),
              (std::vector<WORD>{0, 0, 186, 136}));
    EXPECT_EQ(reader.NameOrOrdinal(), L"") << "menu";
    EXPECT_EQ(reader.NameOrOrdinal(), L"") << "class";
    EXPECT_EQ(reader.NameOrOrdinal(), L"Tuvex");
    EXPECT_EQ(reader.Word(), 9) << "font points";
    EXPECT_EQ(reader.NameOrOrdinal(), L"MS UI Gothic");

    // Predefined classes as ordinals: 0x80 is Button, 0x81 Edit.
    ExpectItem(ReadItem(reader), 0x50010001, 140, 119, 44, 14, IDOK, L"#128", L"OK");
    ExpectItem(ReadItem(reader), 0x50A10804, 1, 2, 183, 115, 1000, L"#129", L"");
}

}  // namespace
}  // namespace tuvex
