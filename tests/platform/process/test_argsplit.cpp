#include "common/testutil.h"
#include "platform/process/argsplit.h"

using Args = std::vector<std::string>;

TEST(ArgSplit, BlanksSeparateQuotesGroupAndBackslashesMatterOnlyBeforeAQuote) {
    const std::pair<const char*, Args> cases[] = {
        {"  csound   -Wsg\t-o test  ", {"csound", "-Wsg", "-o", "test"}},
        {"\"/opt/my csound/csound\" -W \"a b\"c d", {"/opt/my csound/csound", "-W", "a bc", "d"}},
        {"", {}},
        {" \t ", {}},
        {"x \"\" y", {"x", "", "y"}},
        {R"(C:\CS\CSOUND.EXE a\\b)", {R"(C:\CS\CSOUND.EXE)", R"(a\\b)"}},
        {R"(a\"b)", {R"(a"b)"}},
        {R"(a\\"b c")", {R"(a\b c)"}},
        {R"(a\\\"b)", {R"(a\"b)"}},
        {R"("a""b" c)", {R"(a"b)", "c"}},
        {"a \"b c", {"a", "b c"}}, // an unclosed quote runs to the end
    };
    for (const auto& [line, args] : cases)
        EXPECT_EQ(SplitCommandLine(line), args) << line;
    // Quoting round-trips every awkward name and leaves plain ones alone.
    Args awkward = {"/usr/bin/csound", "", "\\", "\"", "end\\\\", "\\\"both\\\\\""};
    for (const auto& n : testutil::AwkwardNames())
        awkward.push_back(n);
    EXPECT_EQ(SplitCommandLine(QuoteCommandLine(awkward)), awkward);
    EXPECT_EQ(QuoteCommandLine({"/usr/bin/csound", "-Wsg", "semi;colon", "two words"}),
              "/usr/bin/csound -Wsg semi;colon \"two words\""); // no shell ever sees it
}
