// The combo-box histories: most recent first, each text once, and a stored form that fits.
#include "system/combohistory.h"

#include <gtest/gtest.h>

using namespace vortan;

TEST(ComboHistory, AddingTexts) {
  using L = std::vector<std::string>;
  struct TCase {
    const char* name;
    L before;
    std::string text;
    L after;
  };
  const TCase cases[] = {
      {"new text on top", {"b", "c"}, "a", {"a", "b", "c"}},
      {"listed text moves up", {"b", "c", "a"}, "a", {"a", "b", "c"}},
      {"case ignored, new spelling kept", {"b", "Iter"}, "ITER", {"ITER", "b"}},
      {"empty text not added", {"b"}, "", {"b"}},
      {"into an empty list", {}, "x", {"x"}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    L h = c.before;
    AddToHistory(h, c.text);
    EXPECT_EQ(h, c.after);
  }
}

TEST(ComboHistory, GrowsWithoutLimitButTheStoredFormFits) {
  std::vector<std::string> h;
  for (int i = 0; i < 500; ++i) AddToHistory(h, "text" + std::to_string(i));
  ASSERT_EQ(h.front(), "text499");
  const std::vector<std::string> kept = HistoryThatFits(h, 2048);
  std::size_t bytes = 0;
  for (const auto& s : kept) bytes += s.size() + 2;
  EXPECT_LE(bytes, 2048u);
  EXPECT_GT(bytes + h[kept.size()].size() + 2, 2048u) << "one more would still fit";
  EXPECT_TRUE(std::equal(kept.begin(), kept.end(), h.begin()))
      << "the most recent entries stay, in order";
}
