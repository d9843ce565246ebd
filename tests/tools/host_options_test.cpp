#include <gtest/gtest.h>

#include "host_options.h"

namespace tuvex::host {
namespace {

TEST(HostOptions, ReadsTheCommandItsWordsAndEveryOption)
{
    const ParsedArguments parsed = ParseHostArguments({"filter", "Tuvex", "--param", "sort|/r", "--in", "a.txt",
                                                       "--out", "b.txt", "--encoding", "CP932", "--messages",
                                                       "window", "--dll", "x.dll", "--out-encoding", "utf-16",
                                                       "--timeout", "2.5"});
    EXPECT_EQ(parsed.problem, "");
    EXPECT_EQ(parsed.options.command, "filter");
    EXPECT_EQ(parsed.options.words, std::vector<std::string>{"Tuvex"});
    EXPECT_EQ(parsed.options.parameter.value_or("(none)"), "sort|/r");
    EXPECT_EQ(parsed.options.in, "a.txt");
    EXPECT_EQ(parsed.options.out, "b.txt");
    EXPECT_EQ(parsed.options.encoding, TextEncoding::Cp932);
    EXPECT_EQ(parsed.options.messages, MessageMode::Window);
    EXPECT_EQ(parsed.options.dll, "x.dll");
    EXPECT_EQ(parsed.options.outEncoding, TextEncoding::Utf16);
    EXPECT_EQ(parsed.options.timeoutMs.value_or(0), 2500u);
}

TEST(HostOptions, TakesEveryWordAfterADoubleDashAsAWord)
{
    const ParsedArguments parsed = ParseHostArguments({"run", "perl", "--", "--version"});
    EXPECT_EQ(parsed.problem, "");
    EXPECT_EQ(parsed.options.words, (std::vector<std::string>{"perl", "--version"}));
}

TEST(HostOptions, LeavesTheMessageModeToTheCallerWhenNotGiven)
{
    EXPECT_FALSE(ParseHostArguments({"list"}).options.messages.has_value());
}

TEST(HostOptions, RunWithTheArgumentsSplitIntoWordsShowsThemAsOneQuotedWord)
{
    // What a shell hands over for: run find /c "line"
    const ParsedArguments parsed = ParseHostArguments({"run", "find", "/c", "line"});
    EXPECT_EQ(parsed.problem,
              "run takes the command and then its arguments as one word; quote them: "
              "tuvex_host run find \"/c line\" (a quote inside is written \\\", as in \"/c \\\"line\\\"\")");
}

TEST(HostOptions, NamesWhatIsWrongWithTheCommandLine)
{
    EXPECT_EQ(ParseHostArguments({}).problem, "no command given");
    EXPECT_EQ(ParseHostArguments({"frobnicate"}).problem, "unknown command frobnicate");
    EXPECT_EQ(ParseHostArguments({"filter", "--in"}).problem, "--in needs a value");
    EXPECT_EQ(ParseHostArguments({"filter", "Tuvex", "TuvexW"}).problem, "filter takes one name: Tuvex, TuvexW or TuvexUtf8");
    EXPECT_EQ(ParseHostArguments({"run"}).problem, "run takes a command and, optionally, its arguments");
    EXPECT_EQ(ParseHostArguments({"menu", "a", "b"}).problem, "menu takes one menu file: Tuvex, TuvexW, TuvexUtf8 or a path");
    EXPECT_EQ(ParseHostArguments({"run", "sort", "--encoding", "sjis"}).problem,
              "--encoding takes cp932, utf-8 or utf-16, not sjis");
    EXPECT_EQ(ParseHostArguments({"run", "sort", "--messages", "none"}).problem,
              "--messages takes console or window, not none");
    EXPECT_EQ(ParseHostArguments({"run", "sort", "--out-encoding", "latin1"}).problem,
              "--out-encoding takes cp932, utf-8 or utf-16, not latin1");
    EXPECT_EQ(ParseHostArguments({"filter", "Tuvex", "--paramm", "x"}).problem,
              "unknown option --paramm (did you mean --param?)");
    EXPECT_EQ(ParseHostArguments({"run", "perl", "--version"}).problem,
              "unknown option --version (an argument of the command that begins with -- goes after a --: "
              "tuvex_host run perl -- --version)");
    for (const char* seconds : {"0", "-1", "1e3", "", "90000", "."}) {
        EXPECT_EQ(ParseHostArguments({"run", "sort", "--timeout", seconds}).problem,
                  std::string("--timeout takes a number of seconds above 0 (at most a day), not ") + seconds);
    }
    EXPECT_EQ(ParseHostArguments({"check", "x"}).problem, "check takes no words");
}

}  // namespace
}  // namespace tuvex::host
