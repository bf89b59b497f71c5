#include "config/settingsstore.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "config/headerfooter.h"
#include "config/registry.h"
#include "config/settingids.h"
#include "config/settingstable.h"
#include "platform/platformprofile.h"
#include "support/files.h"
#include "support/tempdir.h"

namespace vortan {
namespace {

const std::string Root = "Software\\Ostrel\\Vortan\\2.0";

std::string Dword(uint32_t v) {
  std::string s(4, '\0');
  for (int i = 0; i < 4; ++i) s[i] = static_cast<char>(v >> (8 * i));
  return s;
}

std::string Double(double d) {
  uint64_t u = std::bit_cast<uint64_t>(d);
  std::string s(8, '\0');
  for (int i = 0; i < 8; ++i) s[i] = static_cast<char>(u >> (8 * i));
  return s;
}

using test::ReadFile;

const TSettingRow& Row(int id) { return SettingsTable[static_cast<size_t>(id)]; }

class SettingsStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path = dir / "vortan/registry.sqlite";
    TStoreOpenResult r = store.Open(path);
    ASSERT_TRUE(r.Ok) << r.Error;
    ASSERT_FALSE(r.WasDamaged);
  }
  TRegistry& Reg() { return *store.Registry(); }
  std::optional<TRegValue> Stored(int id) {
    return Reg().ReadValue(SettingKeyPath(id), Row(id).ValueName);
  }
  void Plant(int id, TRegType type, const std::string& data) {
    ASSERT_TRUE(Reg().WriteValue(SettingKeyPath(id), Row(id).ValueName, type, data));
  }
  std::vector<TRegValue> ListValues(int id) { return Reg().Values(SettingKeyPath(id)); }
  // Reads a scalar through the typed operation and returns it in its stored form.
  std::string ReadStoredForm(int id) {
    switch (Row(id).Type) {
      case TSettingType::Bool:
        return Dword(store.ReadBool(id) ? 1 : 0);
      case TSettingType::Integer:
        return Dword(static_cast<uint32_t>(store.ReadInteger(id)));
      case TSettingType::Float:
        return Double(store.ReadFloat(id));
      default:
        return store.ReadString(id);
    }
  }

  test::TTempDir dir;
  std::string path;
  TSettingsStore store;
};

TEST_F(SettingsStoreTest, FirstReadOfBoolCreatesDwordOneUnderItsKey) {
  EXPECT_FALSE(store.RootExists());
  EXPECT_TRUE(store.ReadBool(sidNewWindowMaximized));
  EXPECT_TRUE(store.RootExists());
  auto v = Reg().ReadValue(Root + "\\General", "New window maximized");
  ASSERT_TRUE(v);
  EXPECT_EQ(v->Type, TRegType::Dword);
  EXPECT_EQ(v->Data, Dword(1));
}

TEST_F(SettingsStoreTest, WronglyTypedScalarsAreReplacedByTheDefaultOnRead) {
  struct Case {
    int id;
    TRegType type;
    std::string data;
    TRegType expectedType;
  };
  const Case cases[] = {
      {sidThemeName, TRegType::ExpandSz, "Stripes", TRegType::Sz},
      {sidThemeName, TRegType::Dword, Dword(5), TRegType::Sz},
      {sidThemeName, TRegType::Binary, "Stripes", TRegType::Sz},
      {sidZoom, TRegType::Sz, "150", TRegType::Dword},
      {sidZoom, TRegType::Binary, Dword(150), TRegType::Dword},
      {sidNewWindowMaximized, TRegType::Sz, "0", TRegType::Dword},
      {sidHeaderFooterInternalMargin, TRegType::Dword, Dword(3), TRegType::Binary},
      {sidHeaderFooterInternalMargin, TRegType::Binary, "\x01\x02\x03\x04", TRegType::Binary},
      {sidHeaderFooterInternalMargin, TRegType::Binary, std::string(9, '\0'), TRegType::Binary},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("id " + std::to_string(c.id) + " planted as type " +
                 std::to_string(static_cast<int>(c.type)));
    Plant(c.id, c.type, c.data);
    const std::string got = ReadStoredForm(c.id);
    auto v = Stored(c.id);
    ASSERT_TRUE(v);
    EXPECT_EQ(v->Type, c.expectedType);
    EXPECT_EQ(v->Data, got);
    const TSettingRow& row = Row(c.id);
    std::string expected;
    if (row.Type == TSettingType::String) expected = row.DefaultText;
    if (row.Type == TSettingType::Float) expected = Double(row.DefaultFloat);
    if (row.Type == TSettingType::Integer || row.Type == TSettingType::Bool)
      expected = Dword(static_cast<uint32_t>(row.DefaultInt));
    EXPECT_EQ(got, expected);
  }
}

TEST_F(SettingsStoreTest, WellTypedValuesAreReadAndWritesReplaceWrongTypes) {
  Plant(sidThemeName, TRegType::Sz, "Stripes");
  EXPECT_EQ(store.ReadString(sidThemeName), "Stripes");

  Plant(sidZoom, TRegType::Sz, "oops");
  store.WriteInteger(sidZoom, -5);
  EXPECT_EQ(Stored(sidZoom)->Type, TRegType::Dword);
  EXPECT_EQ(Stored(sidZoom)->Data, "\xfb\xff\xff\xff");
  EXPECT_EQ(store.ReadInteger(sidZoom), -5);

  Plant(sidLanguageFile, TRegType::ExpandSz, "/x/y.prlx");
  store.WriteString(sidLanguageFile, "/a/b.prlx");
  EXPECT_EQ(Stored(sidLanguageFile)->Type, TRegType::Sz);
  EXPECT_EQ(store.ReadString(sidLanguageFile), "/a/b.prlx");

  store.WriteFloat(sidLeftMargin, -1.25);
  EXPECT_EQ(store.ReadFloat(sidLeftMargin), -1.25);
  store.WriteBool(sidStretch, true);
  EXPECT_EQ(Stored(sidStretch)->Data, Dword(1));
}

TEST_F(SettingsStoreTest, FloatDefaultIsStoredAsEightLittleEndianBytes) {
  EXPECT_EQ(store.ReadFloat(sidHeaderFooterInternalMargin), 0.5);
  auto v = Stored(sidHeaderFooterInternalMargin);
  ASSERT_TRUE(v);
  EXPECT_EQ(v->Type, TRegType::Binary);
  EXPECT_EQ(v->Data, std::string("\0\0\0\0\0\0\xe0\x3f", 8));
}

TEST_F(SettingsStoreTest, ReadListOnEmptyStoreCreatesTheDefaultItems) {
  EXPECT_EQ(store.ReadList(sidWarningList), (std::vector<std::string>{"WARNING", "NONPORTABLE"}));
  auto values = Reg().Values(Root + "\\Advanced\\Warning");
  ASSERT_EQ(values.size(), 2u);
  EXPECT_EQ(values[0].Name, "Warning0");
  EXPECT_EQ(values[0].Data, "WARNING");
  EXPECT_EQ(values[1].Name, "Warning1");
  EXPECT_EQ(values[1].Type, TRegType::Sz);

  EXPECT_TRUE(store.ReadList(sidHistory).empty());
  EXPECT_TRUE(ListValues(sidHistory).empty());
}

TEST_F(SettingsStoreTest, WriteListShrinkingLeavesNoStaleItems) {
  std::vector<std::string> ten;
  for (int i = 0; i < 10; ++i) ten.push_back("/src/file" + std::to_string(i) + ".f");
  store.WriteList(sidHistory, ten);
  EXPECT_EQ(store.ReadList(sidHistory), ten);
  store.WriteList(sidHistory, {"c.f", "a.f", "b.f"});
  auto values = ListValues(sidHistory);
  ASSERT_EQ(values.size(), 3u);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(values[i].Name, "H" + std::to_string(i));
  EXPECT_EQ(store.ReadList(sidHistory), (std::vector<std::string>{"c.f", "a.f", "b.f"}));
}

TEST_F(SettingsStoreTest, ListWithoutItemZeroIsMissing) {
  Reg().WriteString(SettingKeyPath(sidHistory), "H1", "/old.f");
  std::vector<std::string> list{"keep"};
  store.ReadList(sidHistory, list);
  EXPECT_TRUE(list.empty());

  // Leftovers must not end up between the default items.
  Reg().WriteString(SettingKeyPath(sidWarningList), "Warning1", "STALE");
  EXPECT_EQ(store.ReadList(sidWarningList), (std::vector<std::string>{"WARNING", "NONPORTABLE"}));
  EXPECT_EQ(store.ReadList(sidWarningList), (std::vector<std::string>{"WARNING", "NONPORTABLE"}));
  EXPECT_EQ(ListValues(sidWarningList).size(), 2u);
}

TEST_F(SettingsStoreTest, NonStringValuesInAListAreDropped) {
  store.WriteList(sidHistory, {"a", "b", "c"});
  Reg().WriteDword(SettingKeyPath(sidHistory), "H1", 7);
  EXPECT_EQ(store.ReadList(sidHistory), (std::vector<std::string>{"a", "c"}));
  EXPECT_EQ(ListValues(sidHistory).size(), 2u);

  Reg().WriteString(SettingKeyPath(sidErrorList), "Error0", "X", TRegType::ExpandSz);
  EXPECT_EQ(store.ReadList(sidErrorList), std::vector<std::string>{"ERROR"});
  EXPECT_EQ(ListValues(sidErrorList)[0].Type, TRegType::Sz);
}

TEST_F(SettingsStoreTest, ObjectDefaultIsStoredWithoutFinalBreak) {
  std::vector<std::string> list{"old"};
  EXPECT_EQ(store.ReadObject(sidChangesUndoLimit, list), 11);
  EXPECT_EQ(list, (std::vector<std::string>{"32767", "1024"}));
  auto v = Stored(sidChangesUndoLimit);
  ASSERT_TRUE(v);
  EXPECT_EQ(v->Type, TRegType::Binary);
  EXPECT_EQ(v->Data, "32767\r\n1024");

  // No default: nothing stored, target unchanged.
  list = {"typed"};
  EXPECT_EQ(store.ReadObject(sidChangesFind, list), 0);
  EXPECT_EQ(list, std::vector<std::string>{"typed"});
  EXPECT_FALSE(Stored(sidChangesFind));
}

TEST_F(SettingsStoreTest, WriteObjectRespectsTheSizeLimitAndEmptyDeletes) {
  store.WriteObject(sidChangesFind, {"x", "y"});
  EXPECT_EQ(Stored(sidChangesFind)->Data, "x\r\ny\r\n");

  store.WriteObject(sidChangesFind, {std::string(MaxObjectSize - 1, 'a')});  // 2049 bytes
  EXPECT_EQ(Stored(sidChangesFind)->Data, "x\r\ny\r\n");

  store.WriteObject(sidChangesFind, {std::string(MaxObjectSize - 2, 'b')});  // 2048 bytes
  std::vector<std::string> list;
  EXPECT_EQ(store.ReadObject(sidChangesFind, list), 2048);
  EXPECT_EQ(list, std::vector<std::string>{std::string(MaxObjectSize - 2, 'b')});

  store.WriteObject(sidChangesFind, std::vector<std::string>{});
  EXPECT_FALSE(Stored(sidChangesFind));

  Plant(sidChangesFind, TRegType::Sz, "wrong type");
  store.WriteObject(sidChangesFind, {std::string(3000, 'c')});
  EXPECT_FALSE(Stored(sidChangesFind));
}

TEST_F(SettingsStoreTest, HeaderObjectRoundTripsAndUndecodableBytesAreDropped) {
  THeaderFooter hf;
  hf.FrameKinds = 3;
  hf.Items.push_back({"$TITLE$", 1, TFontSpec{}, THFAlignment::Left});
  hf.Items.push_back({"$PAGENUM$/$PAGECOUNT$", 2, TFontSpec{}, THFAlignment::Right});
  store.WriteObject(sidHeaderText, hf);
  THeaderFooter back;
  EXPECT_EQ(store.ReadObject(sidHeaderText, back), static_cast<int>(EncodeHeaderFooter(hf).size()));
  EXPECT_EQ(back, hf);

  Plant(sidHeaderText, TRegType::Binary, "\x01\x02");
  THeaderFooter kept = hf;
  EXPECT_EQ(store.ReadObject(sidHeaderText, kept), 0);
  EXPECT_EQ(kept, hf);
  EXPECT_FALSE(Stored(sidHeaderText));
}

TEST_F(SettingsStoreTest, ClosedStoreReadsNothingAndWritesNothing) {
  store.Close();
  EXPECT_FALSE(store.IsOpen());
  EXPECT_FALSE(store.ReadBool(sidNewWindowMaximized));
  EXPECT_EQ(store.ReadInteger(sidZoom), 0);
  EXPECT_EQ(store.ReadFloat(sidLeftMargin), 0.0);
  std::string s = "keep";
  store.ReadString(sidThemeName, s);
  EXPECT_EQ(s, "keep");
  std::vector<std::string> list{"keep"};
  store.ReadList(sidWarningList, list);
  EXPECT_EQ(list, std::vector<std::string>{"keep"});
  EXPECT_EQ(store.ReadObject(sidChangesUndoLimit, list), 0);
  EXPECT_EQ(list, std::vector<std::string>{"keep"});
  store.WriteInteger(sidZoom, 5);
  store.WriteList(sidHistory, {"a"});
  EXPECT_FALSE(store.RootExists());

  ASSERT_TRUE(store.Open(path).Ok);
  EXPECT_FALSE(store.RootExists());
}

TEST_F(SettingsStoreTest, OperationOfAnotherTypeLeavesTheValueAlone) {
  store.WriteBool(sidNewWindowMaximized, false);
  std::string s = "keep";
  store.ReadString(sidNewWindowMaximized, s);
  store.WriteString(sidNewWindowMaximized, "text");
  EXPECT_EQ(s, "keep");
  EXPECT_EQ(Stored(sidNewWindowMaximized)->Type, TRegType::Dword);
  EXPECT_EQ(store.ReadInteger(-1), 0);
  EXPECT_EQ(store.ReadInteger(SettingsCount), 0);
}

TEST_F(SettingsStoreTest, DeleteRootKeepsParents) {
  store.ReadBool(sidNewWindowMaximized);
  store.DeleteRoot();
  EXPECT_FALSE(store.RootExists());
  EXPECT_TRUE(Reg().KeyExists("Software\\Ostrel\\Vortan"));
  EXPECT_TRUE(store.ReadBool(sidNewWindowMaximized));
}

TEST_F(SettingsStoreTest, UninstallRemovesParentsLeftWithoutSubkeys) {
  struct Case {
    const char* other;      // another key present before uninstalling, or null
    const char* remaining;  // deepest parent that must survive, or null for none
    const char* removed;    // first parent that must be gone
  };
  const Case cases[] = {
      {nullptr, nullptr, "Software\\Ostrel"},
      {"Software\\Ostrel\\Vortan\\1.0", "Software\\Ostrel\\Vortan\\1.0", nullptr},
      {"Software\\Ostrel\\Parlax", "Software\\Ostrel\\Parlax", "Software\\Ostrel\\Vortan"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.other ? c.other : "alone");
    store.ReadBool(sidNewWindowMaximized);
    if (c.other) Reg().CreateKey(c.other);
    store.Uninstall();
    EXPECT_FALSE(store.RootExists());
    if (c.remaining) {
      EXPECT_TRUE(Reg().KeyExists(c.remaining));
    }
    if (c.removed) {
      EXPECT_FALSE(Reg().KeyExists(c.removed));
    }
    EXPECT_TRUE(Reg().KeyExists("Software"));
    Reg().DeleteKeyTree("Software\\Ostrel");
  }
}

TEST_F(SettingsStoreTest, TwoHandlesOnOneFileSeeEachOthersWrites) {
  TSettingsStore other;
  ASSERT_TRUE(other.Open(path).Ok);
  store.WriteInteger(sidRunWith, 2);
  EXPECT_EQ(other.ReadInteger(sidRunWith), 2);
  other.WriteList(sidHistory, {"x.f", "y.f"});
  EXPECT_EQ(store.ReadList(sidHistory), (std::vector<std::string>{"x.f", "y.f"}));
}

// --- the table --------------------------------------------------------------------------

TEST_F(SettingsStoreTest, CreateMissingSettingsFillsEveryGapAndKeepsWhatIsSet) {
  store.WriteString(sidOutputFont, "Mono,10");
  Plant(sidNewWindowMaximized, TRegType::Sz, "not a number");
  store.CreateMissingSettings();
  for (int id = 0; id < SettingsCount; ++id) {
    const TSettingType type = Row(id).Type;
    if (type == TSettingType::List || type == TSettingType::Object) {
      // An empty list may be stored as no items at all.
      if (*Row(id).DefaultText) {
        EXPECT_FALSE(ListValues(id).empty()) << "setting " << id;
      }
      continue;
    }
    EXPECT_TRUE(Stored(id).has_value()) << "setting " << id << " is missing";
  }
  EXPECT_EQ(store.ReadString(sidOutputFont), "Mono,10");
  EXPECT_EQ(Stored(sidNewWindowMaximized)->Type, TRegType::Dword);
  EXPECT_TRUE(store.ReadBool(sidNewWindowMaximized));
}

TEST(SettingsTableTest, RowsHaveTheirTypesAndDistinctPlaces) {
  EXPECT_EQ(Row(sidNewWindowMaximized).Type, TSettingType::Bool);
  EXPECT_EQ(Row(sidZoom).DefaultInt, 100);
  EXPECT_EQ(Row(sidHeaderFooterInternalMargin).Type, TSettingType::Float);
  EXPECT_EQ(Row(sidThemeName).Type, TSettingType::String);
  EXPECT_STREQ(Row(sidChangesFontSize).Subkey, "Changes");
  EXPECT_EQ(Row(sidChangesFontSize).Type, TSettingType::Object);
  EXPECT_STREQ(Row(sidBinCheckList).DefaultText, platform::BinCheckList);
  EXPECT_STREQ(Row(sidReplaceOrigin).Subkey, "Replace");
  EXPECT_EQ(SettingKeyPath(sidErrorList), Root + "\\Advanced\\Error");

  // Two rows in one place would overwrite each other.
  std::set<std::string> places;
  for (int id = 0; id < SettingsCount; ++id) {
    const TSettingRow& row = Row(id);
    ASSERT_TRUE(row.Subkey && row.ValueName && row.DefaultText) << id;
    std::string place = SettingKeyPath(id);
    if (row.Type != TSettingType::List) place += std::string("\\\\") + row.ValueName;
    for (char& ch : place) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    EXPECT_TRUE(places.insert(place).second) << "id " << id << " shares " << place;
  }
}

TEST_F(SettingsStoreTest, EveryDefaultRoundTripsThroughTheStore) {
  for (int id = 0; id < SettingsCount; ++id) {
    SCOPED_TRACE("id " + std::to_string(id));
    const TSettingRow& row = Row(id);
    switch (row.Type) {
      case TSettingType::List: {
        auto first = store.ReadList(id);
        EXPECT_EQ(store.ReadList(id), first);
        EXPECT_EQ(first.size(), ListValues(id).size());
        break;
      }
      case TSettingType::Object: {
        std::string first, second;
        int n = store.ReadObjectBytes(id, [&](std::string_view b) { first = b; });
        EXPECT_EQ(n, static_cast<int>(std::strlen(row.DefaultText)));
        store.ReadObjectBytes(id, [&](std::string_view b) { second = b; });
        EXPECT_EQ(first, row.DefaultText);
        EXPECT_EQ(second, first);
        break;
      }
      default: {
        const std::string first = ReadStoredForm(id);
        EXPECT_EQ(ReadStoredForm(id), first);
        ASSERT_TRUE(Stored(id));
        EXPECT_EQ(Stored(id)->Data, first);
      }
    }
  }
}

// --- opening -----------------------------------------------------------------------------

TEST(SettingsStoreOpenTest, UnusableFileIsMovedAsideIntactAndAFreshStoreStarts) {
  test::TTempDir dir;
  const std::string path = dir / "registry.sqlite";
  const std::string garbage(3000, '\x37');
  std::vector<std::string> asides;
  for (int round = 0; round < 2; ++round) {
    dir.Write("registry.sqlite", garbage + std::to_string(round));
    dir.Write("registry.sqlite-wal", "stale journal");
    TSettingsStore store;
    TStoreOpenResult r = store.Open(path);
    ASSERT_TRUE(r.Ok) << r.Error;
    EXPECT_TRUE(r.WasDamaged);
    EXPECT_FALSE(r.Error.empty());
    EXPECT_EQ(r.MovedAsideTo.rfind(path + ".damaged-", 0), 0u) << r.MovedAsideTo;
    EXPECT_TRUE(ReadFile(r.MovedAsideTo) == garbage + std::to_string(round));
    EXPECT_EQ(ReadFile(r.MovedAsideTo + "-wal"), "stale journal");
    EXPECT_TRUE(store.ReadBool(sidNewWindowMaximized));
    asides.push_back(r.MovedAsideTo);
  }
  // A second damaged file never replaces the first one moved aside.
  EXPECT_NE(asides[0], asides[1]);
  EXPECT_TRUE(ReadFile(asides[0]) == garbage + "0");

  TSettingsStore again;
  TStoreOpenResult r = again.Open(path);
  EXPECT_TRUE(r.Ok);
  EXPECT_FALSE(r.WasDamaged);
  EXPECT_TRUE(again.RootExists());
}

TEST(SettingsStoreOpenTest, AStoreTheUserMayNotWriteIsReadNeverChangedNorMovedAside) {
  struct TCase {
    const char* what;
    mode_t mode;
    bool otherOwner;
  };
  // Decided by the file's write bits and owner, so it holds for root as well.
  const TCase cases[] = {
      {"made read-only", 0444, false},
      {"another user's store", 0644, true},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    test::TTempDir dir;
    const std::string path = dir / "registry.sqlite";
    {
      TSettingsStore store;
      ASSERT_TRUE(store.Open(path).Ok);
      store.WriteInteger(sidZoom, 150);
      store.WriteString(sidOutputFont, "Mono,10");
    }
    ASSERT_EQ(::chmod(path.c_str(), c.mode), 0);
    if (c.otherOwner) {
      const passwd* nobody = ::getpwnam("nobody");
      if (!nobody || ::chown(path.c_str(), nobody->pw_uid, nobody->pw_gid) != 0)
        GTEST_SKIP() << "cannot give a file to another user here";
    }
    const std::string before = ReadFile(path);

    TSettingsStore store;
    const TStoreOpenResult r = store.Open(path);
    ASSERT_TRUE(r.Ok) << r.Error;
    EXPECT_TRUE(r.ReadOnly);
    EXPECT_FALSE(r.WasDamaged);
    EXPECT_EQ(store.ReadInteger(sidZoom), 150);
    EXPECT_EQ(store.ReadString(sidOutputFont), "Mono,10");
    // A setting never stored reads as its default; changes hold for the run only.
    EXPECT_TRUE(store.ReadBool(sidNewWindowMaximized));
    store.WriteInteger(sidZoom, 175);
    EXPECT_EQ(store.ReadInteger(sidZoom), 175);
    store.Close();

    EXPECT_TRUE(ReadFile(path) == before) << "the store file changed";
    for (const auto& e : std::filesystem::directory_iterator(dir.Path()))
      EXPECT_EQ(e.path().filename().string().find(".damaged"), std::string::npos);
    ASSERT_EQ(::chmod(path.c_str(), 0644), 0);
    ASSERT_EQ(::chown(path.c_str(), ::geteuid(), ::getegid()), 0);
    TSettingsStore writable;
    const TStoreOpenResult again = writable.Open(path);
    ASSERT_TRUE(again.Ok) << again.Error;
    EXPECT_FALSE(again.ReadOnly);
    EXPECT_EQ(writable.ReadInteger(sidZoom), 150);
  }
}

// A process that ends abnormally while writing settings: each setting afterwards holds the
// value of its last finished write, never a default, a mix or nothing.
TEST(SettingsStoreOpenTest, AWriterEndedBySignalLeavesEverySettingWhole) {
  const std::vector<int> ids = {sidOutputFont, sidMainWindow, sidFilesWindow, sidMessagesWindow};
  auto value = [](int id, unsigned n) {
    return "value " + std::to_string(id) + " " + std::to_string(n) + std::string(200, 'x');
  };
  struct TCase {
    const char* What;
    int Signal;
    bool FreshStore;  // the killed process made the store: nothing was ever checkpointed
    int WriteRounds;  // -1: write until killed
  };
  const TCase cases[] = {
      {"first writes to a new store, then SIGKILL", SIGKILL, true, 1},
      {"first writes to a new store, then SIGABRT", SIGABRT, true, 1},
      {"killed while writing, SIGKILL", SIGKILL, false, -1},
      {"killed while writing, SIGABRT", SIGABRT, false, -1},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.What);
    for (int round = 0; round < (c.WriteRounds < 0 ? 6 : 1); ++round) {
      test::TTempDir dir;
      const std::string path = dir / "registry.sqlite";
      if (!c.FreshStore) {
        TSettingsStore store;
        ASSERT_TRUE(store.Open(path).Ok);
        for (int id : ids) store.WriteString(id, value(id, 0));
      }
      int ready[2];
      ASSERT_EQ(::pipe(ready), 0);
      const pid_t pid = ::fork();
      ASSERT_GE(pid, 0);
      if (pid == 0) {
        ::signal(SIGABRT, SIG_DFL);
        TSettingsStore store;
        if (!store.Open(path).Ok) ::_exit(3);
        for (unsigned n = 1; c.WriteRounds < 0 || n <= static_cast<unsigned>(c.WriteRounds); ++n) {
          for (int id : ids) store.WriteString(id, value(id, n));
          if (n == 1 && ::write(ready[1], "r", 1) != 1) ::_exit(4);
        }
        ::raise(c.Signal);
        ::_exit(5);
      }
      ::close(ready[1]);
      char byte = 0;
      ASSERT_EQ(::read(ready[0], &byte, 1), 1);
      ::close(ready[0]);
      if (c.WriteRounds < 0) {
        ::usleep(static_cast<useconds_t>(1000 + round * 3000));
        ::kill(pid, c.Signal);
      }
      int status = 0;
      ASSERT_EQ(::waitpid(pid, &status, 0), pid);
      ASSERT_TRUE(WIFSIGNALED(status)) << status;

      TSettingsStore store;
      TStoreOpenResult r = store.Open(path);
      ASSERT_TRUE(r.Ok) << r.Error;
      EXPECT_FALSE(r.WasDamaged);
      for (int id : ids) {
        ASSERT_TRUE(store.Registry()->ReadValue(SettingKeyPath(id), Row(id).ValueName))
            << "setting " << id << " is missing";
        const std::string text = store.ReadString(id);
        const std::string prefix = "value " + std::to_string(id) + " ", suffix(200, 'x');
        const bool whole = text.starts_with(prefix) && text.ends_with(suffix) &&
                           text.size() > prefix.size() + suffix.size() &&
                           std::all_of(text.begin() + static_cast<long>(prefix.size()),
                                       text.end() - static_cast<long>(suffix.size()), [](char ch) {
                                         return std::isdigit(static_cast<unsigned char>(ch));
                                       });
        EXPECT_TRUE(whole) << text;
        if (c.FreshStore) {
          EXPECT_EQ(text, value(id, 1));
        }
      }
    }
  }
}

TEST(SettingsStoreOpenTest, DirectoryInPlaceOfTheFileIsMovedAside) {
  test::TTempDir dir;
  const std::string path = dir.MakeDir("registry.sqlite");
  dir.Write("registry.sqlite/inside.txt", "kept");
  TSettingsStore store;
  TStoreOpenResult r = store.Open(path);
  ASSERT_TRUE(r.Ok) << r.Error;
  EXPECT_TRUE(r.WasDamaged);
  EXPECT_EQ(ReadFile(r.MovedAsideTo + "/inside.txt"), "kept");
  EXPECT_EQ(store.ReadInteger(sidZoom), 100);
}

TEST(SettingsStoreOpenTest, StoreThatCannotBeCreatedIsReportedNotMoved) {
  test::TTempDir dir;
  dir.Write("file", "a plain file");
  TSettingsStore store;
  TStoreOpenResult r = store.Open(dir / "file/vortan/registry.sqlite");
  EXPECT_FALSE(r.Ok);
  EXPECT_FALSE(r.WasDamaged);
  EXPECT_FALSE(r.Error.empty());
  EXPECT_EQ(ReadFile(dir / "file"), "a plain file");
}

TEST(SettingsStoreOpenTest, ProcessWideStoreAndDefaultPath) {
  test::TTempDir dir;
  ASSERT_TRUE(OpenStore(dir / "store.sqlite").Ok);
  WriteInteger(sidZoom, 150);
  EXPECT_EQ(ReadInteger(sidZoom), 150);
  CloseStore();
  EXPECT_EQ(ReadInteger(sidZoom), 0);

  struct Env {
    const char* store;
    const char* xdg;
    const char* home;
    const char* expected;
  };
  const Env cases[] = {
      {"/s/r.sqlite", "/x", "/h", "/s/r.sqlite"},
      {nullptr, "/x", "/h", "/x/vortan/registry.sqlite"},
      {nullptr, nullptr, "/h", "/h/.config/vortan/registry.sqlite"},
      {"", "relative", "/h", "/h/.config/vortan/registry.sqlite"},
  };
  auto saved = [](const char* name) -> std::optional<std::string> {
    const char* v = std::getenv(name);
    return v ? std::optional<std::string>(v) : std::nullopt;
  };
  auto set = [](const char* name, const char* v) { v ? ::setenv(name, v, 1) : ::unsetenv(name); };
  const char* names[] = {"VORTAN_STORE", "XDG_CONFIG_HOME", "HOME"};
  std::optional<std::string> old[3];
  for (int i = 0; i < 3; ++i) old[i] = saved(names[i]);
  for (const Env& e : cases) {
    set(names[0], e.store);
    set(names[1], e.xdg);
    set(names[2], e.home);
    EXPECT_EQ(DefaultStorePath(), e.expected);
  }
  for (int i = 0; i < 3; ++i) set(names[i], old[i] ? old[i]->c_str() : nullptr);
}

}  // namespace
}  // namespace vortan
