#include "system/sourcefilenames.h"

#include <gtest/gtest.h>

namespace vortan {
namespace {

TEST(SourceFileNames, ExtensionsAddedAndChanged) {
  struct Case {
    const char* name;
    const char* with;     // WithExtension(name, ".html")
    const char* changed;  // ChangeFileExtension(name, ".html")
  } cases[] = {
      {"report", "report.html", "report.html"},
      {"/tmp/Source1.f", "/tmp/Source1.f", "/tmp/Source1.html"},
      {"/tmp/a.b/report", "/tmp/a.b/report.html", "/tmp/a.b/report.html"},
      {"prog.old.f", "prog.old.f", "prog.old.html"},
      {"page.htm", "page.htm", "page.html"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WithExtension(c.name, ".html"), c.with) << c.name;
    EXPECT_EQ(ChangeFileExtension(c.name, ".html"), c.changed) << c.name;
  }
  EXPECT_EQ(WithSourceExtension("prog"), "prog.f");
}

TEST(SourceFileNames, EditorCaptionIsThePathOrTheNamePart) {
  struct Case {
    const char* name;
    bool fullPath;
    const char* caption;
  } cases[] = {
      {"/home/u/src/prog.f", true, "/home/u/src/prog.f"},
      {"/home/u/src/prog.f", false, "prog.f"},
      {"prog.f", false, "prog.f"},
      {"/home/u/a.b/noext", false, "noext"},
  };
  for (const Case& c : cases) EXPECT_EQ(EditorCaption(c.name, c.fullPath), c.caption) << c.name;
}

}  // namespace
}  // namespace vortan
