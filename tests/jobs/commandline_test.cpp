#include "jobs/commandline.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vortan;

namespace {

using TArgs = std::vector<std::string>;

}  // namespace

TEST(CommandLineTest, Split) {
  const struct {
    std::string text;
    TArgs expected;
  } cases[] = {
      {R"("/opt/v/Bin/gfortran" -g "/src/my prog.f" -o "/src/my prog" )",
       {"/opt/v/Bin/gfortran", "-g", "/src/my prog.f", "-o", "/src/my prog"}},
      {"\"ftnchek\" -nonovice -quiet -wrap=999  \"/a b/x.f\"",
       {"ftnchek", "-nonovice", "-quiet", "-wrap=999", "/a b/x.f"}},
      {"a \"\" b\t\tc", {"a", "", "b", "c"}},
      {R"(pre"fix with"post)", {"prefix withpost"}},
      {R"(a\\b \"x\")", {R"(a\\b)", R"("x")"}},
      {R"("a\\" "b\\\"c")", {R"(a\)", R"(b\"c)"}},
      {" \t ", {}},
      {"\"unclosed quote", {"unclosed quote"}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitCommandLine(c.text), c.expected) << c.text;
}

TEST(CommandLineTest, QuotedArgumentsComeBackUnchanged) {
  EXPECT_EQ(QuoteArgument("/src/my prog.f"), "\"/src/my prog.f\"");
  for (const std::string name : {"plain", "with blank", "quo\"te", "trail\\", "mid\\dle", "",
                                 "back\\\"slash", "\"\"", "tab\there"}) {
    EXPECT_EQ(SplitCommandLine(QuoteArgument(name)), TArgs{name}) << name;
  }
}

TEST(CommandLineTest, FormatArguments) {
  const struct {
    const char* format;
    TArgs args;
    const char* expected;
  } cases[] = {
      {"%s %s -o %s %s", {"-g", "\"a.f\"", "\"a\"", ""}, "-g \"a.f\" -o \"a\" "},
      {"-nonovice -quiet -wrap=999 %s %s", {"", "\"x.f\""}, "-nonovice -quiet -wrap=999  \"x.f\""},
      {"%s and %s", {"one"}, "one and "},
      {"%s", {"one", "two"}, "one"},
      {"100%% %d %s%", {"x"}, "100% %d x%"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatArguments(c.format, c.args), c.expected) << c.format;
}
