#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>

#include "menu/menu_file.h"
#include "menu_tree_text.h"

namespace tuvex {
namespace {

std::unique_ptr<Menu> TreeOf(std::initializer_list<const char*> lines)
{
    MenuTreeBuilder builder;
    for (const char* line : lines) {
        builder.PlaceLine(line);
    }
    return builder.TakeRoot();
}

std::string TextOf(std::initializer_list<const char*> lines)
{
    return test::MenuText(*TreeOf(lines));
}

TEST(MenuTree, HasARootNamedTopWithoutChildrenWhenNoLineDefinesAnything)
{
    const auto root = TreeOf({"#only a comment\n", "\n", "\t\t\n", "->\n", "Name alone\n"});
    EXPECT_EQ(root->GetName(), "top");
    EXPECT_TRUE(root->children.empty()) << test::MenuText(*root);
}

TEST(MenuTree, TakesTheThirdFieldAsArgumentsAndIgnoresFurtherFields)
{
    EXPECT_EQ(TextOf({"Name\tcommand\ta b c\textra\n", "->Sub\tignored\n"}),
              "Name | command | a b c\n"
              ">Sub\n");
}

TEST(MenuTree, PutsDeeperIndentedLinesIntoTheSubmenuAbove)
{
    EXPECT_EQ(TextOf({"->A\n", "\t->B\n", "\t\tX\tx.exe\n", "\tY\ty.exe\n", "Z\tz.exe\n"}),
              ">A\n"
              "  >B\n"
              "    X | x.exe | \n"
              "  Y | y.exe | \n"
              "Z | z.exe | \n");
}

TEST(MenuTree, PutsAnOverIndentedLineIntoTheInnermostOpenMenu)
{
    EXPECT_EQ(TextOf({"->A\n", "\t\t\tX\tx.exe\n", "\tY\ty.exe\n", "Z\tz.exe\n"}),
              ">A\n"
              "  X | x.exe | \n"
              "  Y | y.exe | \n"
              "Z | z.exe | \n");
}

TEST(MenuTree, NestsAnOverIndentedSubmenuOnlyOneLevelDeeper)
{
    EXPECT_EQ(TextOf({"->A\n", "\t\t\t->B\n", "\t\tX\tx.exe\n", "\tY\ty.exe\n"}),
              ">A\n"
              "  >B\n"
              "    X | x.exe | \n"
              "  Y | y.exe | \n");
}

TEST(MenuTree, KeepsASubmenuOpenAcrossBlankCommentAndNamelessArrowLines)
{
    EXPECT_EQ(TextOf({"->A\n", "\tX\tx.exe\n", "\n", "#comment\n", "->\n", "->#nameless\n", "\tY\ty.exe\n"}),
              ">A\n"
              "  X | x.exe | \n"
              "  Y | y.exe | \n");
}

TEST(MenuTree, ClosesDeeperSubmenusAtAOneFieldLineWithoutAddingIt)
{
    EXPECT_EQ(TextOf({"->A\n", "\tX\tx.exe\n", "Name alone\n", "\tY\ty.exe\n"}),
              ">A\n"
              "  X | x.exe | \n"
              "Y | y.exe | \n");
    EXPECT_EQ(TextOf({"->A\n", "\tX\tx.exe\n", "   \n", "\tY\ty.exe\n"}),
              ">A\n"
              "  X | x.exe | \n"
              "Y | y.exe | \n");
}

TEST(MenuTree, ClosesDeeperSubmenusAtASeparator)
{
    EXPECT_EQ(TextOf({"->A\n", "\t->B\n", "\t\tX\tx.exe\n", "\t-----\n", "\t\tY\ty.exe\n"}),
              ">A\n"
              "  >B\n"
              "    X | x.exe | \n"
              "  -----\n"
              "  Y | y.exe | \n");
}

TEST(MenuTree, ClosesTheSubmenuAtASubmenuLineIndentedAsFar)
{
    EXPECT_EQ(TextOf({"->A\n", "\tX\tx.exe\n", "->B\n", "\tY\ty.exe\n"}),
              ">A\n"
              "  X | x.exe | \n"
              ">B\n"
              "  Y | y.exe | \n");
}

TEST(MenuTree, KeepsASubmenuWithoutItemsAsAnEmptySubmenu)
{
    EXPECT_EQ(TextOf({"->Empty\n", "Sort\tsort.exe\n"}),
              ">Empty\n"
              "Sort | sort.exe | \n");
}

TEST(MenuTree, TellsHowDeepItsSubmenusNest)
{
    EXPECT_EQ(SubmenuNesting(*TreeOf({"A\ta.exe\n"})), 0u);
    EXPECT_EQ(SubmenuNesting(*TreeOf({"->A\n", "\t->B\n", "->C\n"})), 2u);
}

}  // namespace
}  // namespace tuvex
