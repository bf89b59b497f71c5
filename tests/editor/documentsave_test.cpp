// Saving a document: what is asked or reported, and what is on disk afterwards.
#include "editor/documentsave.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <optional>
#include <sstream>

#include "support/files.h"
#include "support/scriptedprompts.h"
#include "support/tempdir.h"

namespace vortan {
namespace {

using vortan::test::ReadFile;

TEST(DocumentSave, AsksAndReportsBeforeAnythingOnDiskChanges) {
  struct TCase {
    const char* what;
    bool hadNul, fileReadOnly, backupReadOnly;
    std::vector<TModalResult> answers;
    std::vector<TMsgDlgType> asked;
    bool saved;
    std::string backupAfter;
  };
  using R = TModalResult;
  using K = TMsgDlgType;
  const TCase cases[] = {
      {"plain save with a backup", false, false, false, {}, {}, true, "OLD\n"},
      {"a read-only file: reported, backup untouched",
       false,
       true,
       false,
       {R::OK},
       {K::Error},
       false,
       "BACKUP\n"},
      {"NUL bytes, the user declines",
       true,
       false,
       false,
       {R::No},
       {K::Confirmation},
       false,
       "BACKUP\n"},
      {"NUL bytes, the user agrees",
       true,
       false,
       false,
       {R::Yes},
       {K::Confirmation},
       true,
       "OLD\n"},
      {"backup fails, the user declines",
       false,
       false,
       true,
       {R::No},
       {K::Warning},
       false,
       "BACKUP\n"},
      {"backup fails, the user saves anyway",
       false,
       false,
       true,
       {R::Yes},
       {K::Warning},
       true,
       "BACKUP\n"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    test::TTempDir dir;
    const std::string file = dir.Write("prog.f", "OLD\n");
    const std::string backup = dir.Write("prog.~f", "BACKUP\n");
    if (c.fileReadOnly) ::chmod(file.c_str(), 0444);
    if (c.backupReadOnly) ::chmod(backup.c_str(), 0444);
    test::TScriptedPrompts prompts;
    for (R a : c.answers) prompts.Answer(a);

    EXPECT_EQ(SaveDocumentFile({file, true, c.hadNul}, "NEW\n"), c.saved);
    std::vector<K> asked;
    for (const TMessageRequest& r : prompts.asked) asked.push_back(r.Kind);
    EXPECT_EQ(asked, c.asked);
    EXPECT_EQ(ReadFile(file), c.saved ? "NEW\n" : "OLD\n");
    EXPECT_EQ(ReadFile(backup), c.backupAfter);
  }
}

TEST(DocumentSave, ANewFileNeedsNoBackup) {
  test::TTempDir dir;
  test::TScriptedPrompts prompts;
  EXPECT_TRUE(SaveDocumentFile({dir / "new.f", true, false}, "A\n"));
  EXPECT_EQ(ReadFile(dir / "new.f"), "A\n");
  EXPECT_FALSE(std::filesystem::exists(dir / "new.~f"));
  EXPECT_TRUE(prompts.asked.empty());
}

}  // namespace
}  // namespace vortan
