#include "config/registry.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/files.h"
#include "support/tempdir.h"

namespace vortan {
namespace {

using test::ReadFile;

std::vector<std::string> Names(const std::vector<TRegValue>& values) {
  std::vector<std::string> names;
  for (const TRegValue& v : values) names.push_back(v.Name);
  return names;
}

class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(reg.Open(dir / "registry.sqlite", error)) << error;
  }
  test::TTempDir dir;
  TRegistry reg;
};

TEST_F(RegistryTest, NamesIgnoreCaseAndKeepTheirFirstSpelling) {
  ASSERT_TRUE(reg.CreateKey("Software\\Ostrel\\MixedCase"));
  EXPECT_TRUE(reg.KeyExists("SOFTWARE\\ostrel\\mixedcase"));
  EXPECT_TRUE(reg.CreateKey("software\\OSTREL\\MIXEDCASE\\Sub"));
  EXPECT_EQ(reg.SubkeyNames("Software\\Ostrel"), std::vector<std::string>{"MixedCase"});

  ASSERT_TRUE(reg.WriteString("Software\\Ostrel", "Value Name", "one"));
  ASSERT_TRUE(reg.WriteString("software\\ostrel", "VALUE NAME", "two"));
  auto values = reg.Values("Software\\Ostrel");
  ASSERT_EQ(values.size(), 1u);
  EXPECT_EQ(values[0].Name, "Value Name");
  EXPECT_EQ(values[0].Data, "two");
  EXPECT_EQ(reg.ValueType("SOFTWARE\\OSTREL", "value name"), TRegType::Sz);
}

TEST_F(RegistryTest, ValuesEnumerateInCreationOrder) {
  const std::string key = "K";
  for (const char* name : {"b", "a", "c", "d"}) ASSERT_TRUE(reg.WriteString(key, name, name));
  EXPECT_EQ(Names(reg.Values(key)), (std::vector<std::string>{"b", "a", "c", "d"}));

  // Same type keeps the place; another type, or deleting and writing again, moves to the end.
  ASSERT_TRUE(reg.WriteString(key, "a", "again"));
  ASSERT_TRUE(reg.WriteDword(key, "b", 7));
  ASSERT_TRUE(reg.DeleteValue(key, "c"));
  ASSERT_TRUE(reg.WriteString(key, "c", "back"));
  EXPECT_EQ(Names(reg.Values(key)), (std::vector<std::string>{"a", "d", "b", "c"}));
  auto b = reg.ReadValue(key, "B");
  ASSERT_TRUE(b);
  EXPECT_EQ(b->Type, TRegType::Dword);
  EXPECT_EQ(b->Data, std::string("\x07\0\0\0", 4));
}

TEST_F(RegistryTest, DeleteKeyTreeRemovesEverythingBelowAndNothingElse) {
  ASSERT_TRUE(reg.WriteString("A\\B\\C", "v", "1"));
  ASSERT_TRUE(reg.WriteString("A\\B", "v", "2"));
  ASSERT_TRUE(reg.WriteString("A\\Sibling", "v", "3"));

  EXPECT_TRUE(reg.DeleteKeyTree("a\\b"));
  EXPECT_FALSE(reg.KeyExists("A\\B"));
  EXPECT_FALSE(reg.DeleteKeyTree("A\\B"));
  EXPECT_EQ(reg.SubkeyNames("A"), std::vector<std::string>{"Sibling"});
  EXPECT_EQ(reg.ReadValue("A\\Sibling", "v")->Data, "3");
  // A key made again under the old name starts empty.
  ASSERT_TRUE(reg.CreateKey("A\\B\\C"));
  EXPECT_TRUE(reg.Values("A\\B\\C").empty());
  EXPECT_FALSE(reg.DeleteKeyTree(""));
  EXPECT_TRUE(reg.HasSubkeys("A"));
  EXPECT_FALSE(reg.HasSubkeys("A\\Sibling"));
}

TEST_F(RegistryTest, BinaryAndEmptyDataSurviveExactly) {
  const std::string bytes("\0\x01\xff\r\n\0", 6);
  ASSERT_TRUE(reg.WriteValue("K", "bin", TRegType::Binary, bytes));
  ASSERT_TRUE(reg.WriteValue("K", "", TRegType::Sz, ""));
  EXPECT_EQ(reg.ReadValue("K", "bin")->Data, bytes);
  auto empty = reg.ReadValue("K", "");
  ASSERT_TRUE(empty);
  EXPECT_EQ(empty->Type, TRegType::Sz);
  EXPECT_EQ(empty->Data, "");
  EXPECT_FALSE(reg.WriteValue("K", "d", TRegType::Dword, "123"));
  EXPECT_FALSE(reg.WriteValue("K", "n", TRegType::None, ""));
  EXPECT_EQ(reg.ValueType("K", "d"), TRegType::None);
}

TEST_F(RegistryTest, ScopedTransactionIsAllOrNothingForOtherConnections) {
  TRegistry other;
  std::string error;
  ASSERT_TRUE(other.Open(dir / "registry.sqlite", error)) << error;
  {
    TRegistry::TScopedTransaction tx(reg);
    ASSERT_TRUE(tx.Active());
    ASSERT_TRUE(reg.WriteString("K", "first", "1"));
    ASSERT_TRUE(reg.WriteString("K", "second", "2"));
    // The other connection waits for the transaction; here it gives up at once.
    other.SetBusyTimeout(0);
    EXPECT_FALSE(other.KeyExists("K"));
    other.SetBusyTimeout(5000);
    EXPECT_TRUE(tx.Finish());
  }
  EXPECT_EQ(other.Values("K").size(), 2u);
}

TEST_F(RegistryTest, ClosedRegistryRefusesEverything) {
  reg.Close();
  EXPECT_FALSE(reg.CreateKey("K"));
  EXPECT_FALSE(reg.KeyExists(""));
  EXPECT_FALSE(reg.WriteString("K", "v", "x"));
  EXPECT_FALSE(reg.ReadValue("K", "v"));
  EXPECT_TRUE(reg.Values("K").empty());
}

// --- opening files that are not usable stores -----------------------------------------

void WriteForeignDatabase(const std::string& path) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db, "CREATE TABLE notes(x); INSERT INTO notes VALUES(1);", nullptr,
                         nullptr, nullptr),
            SQLITE_OK);
  sqlite3_close(db);
}

void WriteTruncatedStore(const std::string& path) {
  {
    TRegistry full;
    std::string error;
    ASSERT_TRUE(full.Open(path, error)) << error;
    for (int i = 0; i < 300; ++i)
      full.WriteString("Key\\" + std::to_string(i % 7), "v" + std::to_string(i),
                       std::string(200, 'x'));
  }
  std::filesystem::resize_file(path, 3 * 4096);
}

TEST(RegistryOpenTest, FilesThatAreNoStoreAreRejectedAndLeftAlone) {
  struct Case {
    const char* name;
    void (*make)(const std::string& path);
  };
  const Case cases[] = {
      {"garbage bytes",
       [](const std::string& p) {
         std::ofstream(p, std::ios::binary) << std::string(5000, '\x5a');
       }},
      {"short garbage",
       [](const std::string& p) { std::ofstream(p, std::ios::binary) << "hello"; }},
      {"foreign database", WriteForeignDatabase},
      {"truncated store", WriteTruncatedStore},
      {"directory", [](const std::string& p) { std::filesystem::create_directory(p); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::TTempDir dir;
    const std::string path = dir / "registry.sqlite";
    c.make(path);
    const bool isDir = std::filesystem::is_directory(path);
    const std::string before = isDir ? "" : ReadFile(path);
    TRegistry reg;
    std::string error;
    EXPECT_FALSE(reg.Open(path, error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(reg.LastOpenFailure(), TRegOpenFailure::Unusable);
    EXPECT_FALSE(reg.IsOpen());
    if (!isDir) {
      EXPECT_TRUE(ReadFile(path) == before) << "the file was changed";
    }
  }
}

TEST(RegistryOpenTest, EmptyFileBecomesAStoreAndMissingFolderIsTransient) {
  test::TTempDir dir;
  TRegistry reg;
  std::string error;
  const std::string empty = dir.Write("empty.sqlite", "");
  EXPECT_TRUE(reg.Open(empty, error)) << error;
  EXPECT_TRUE(reg.WriteDword("K", "v", 1));
  reg.Close();

  EXPECT_FALSE(reg.Open(dir / "no/such/dir/registry.sqlite", error));
  EXPECT_EQ(reg.LastOpenFailure(), TRegOpenFailure::Transient);
}

TEST(RegistryOpenTest, StoreOfANewerVersionIsRefusedButNotCalledUnusable) {
  test::TTempDir dir;
  const std::string path = dir / "registry.sqlite";
  {
    TRegistry reg;
    std::string error;
    ASSERT_TRUE(reg.Open(path, error)) << error;
  }
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db, "PRAGMA user_version=99", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(db);

  TRegistry reg;
  std::string error;
  EXPECT_FALSE(reg.Open(path, error));
  EXPECT_EQ(reg.LastOpenFailure(), TRegOpenFailure::Transient);
}

}  // namespace
}  // namespace vortan
