#include "platform/argsplit.h"
#include "platform/launcher_testutil.h"

#include <gtest/gtest.h>

using Args = std::vector<std::string>;

TEST(LauncherSplit, BlanksSeparateAndQuotesGroup) {
    EXPECT_EQ(SplitCommandLine("  csound   -Wsg\t-o test  "),
              (Args{"csound", "-Wsg", "-o", "test"}));
    EXPECT_EQ(SplitCommandLine("\"/opt/my csound/csound\" -W \"a b\"c d"),
              (Args{"/opt/my csound/csound", "-W", "a bc", "d"}));
    EXPECT_EQ(SplitCommandLine(""), Args{});
    EXPECT_EQ(SplitCommandLine(" \t "), Args{});
    EXPECT_EQ(SplitCommandLine("x \"\" y"), (Args{"x", "", "y"}));
}

TEST(LauncherSplit, BackslashesAreSpecialOnlyBeforeAQuote) {
    EXPECT_EQ(SplitCommandLine(R"(C:\CS\CSOUND.EXE a\\b)"),
              (Args{R"(C:\CS\CSOUND.EXE)", R"(a\\b)"}));
    EXPECT_EQ(SplitCommandLine(R"(a\"b)"), (Args{R"(a"b)"}));
    EXPECT_EQ(SplitCommandLine(R"(a\\"b c")"), (Args{R"(a\b c)"}));
    EXPECT_EQ(SplitCommandLine(R"(a\\\"b)"), (Args{R"(a\"b)"}));
    EXPECT_EQ(SplitCommandLine(R"("a""b" c)"), (Args{R"(a"b)", "c"}));
    // An unclosed quote runs to the end of the text.
    EXPECT_EQ(SplitCommandLine("a \"b c"), (Args{"a", "b c"}));
}

TEST(LauncherSplit, QuotingRoundTripsEveryAwkwardName) {
    Args args = {"/usr/bin/csound", "", "\\", "\"", "end\\\\", "\\\"both\\\\\""};
    for (const auto& n : testutil::AwkwardNames())
        args.push_back(n);
    EXPECT_EQ(SplitCommandLine(QuoteCommandLine(args)), args);
}

TEST(LauncherSplit, PlainArgumentsAreLeftUnquoted) {
    const Args args = {"/usr/bin/csound", "-Wsg", "-o", "test", "/home/me/orc/a.orc"};
    EXPECT_EQ(QuoteCommandLine(args), "/usr/bin/csound -Wsg -o test /home/me/orc/a.orc");
    EXPECT_EQ(QuoteArgument("semi;colon"), "semi;colon"); // no shell ever sees it
    EXPECT_EQ(QuoteArgument("two words"), "\"two words\"");
}
