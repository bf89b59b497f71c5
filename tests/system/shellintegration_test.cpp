// The .f file type and the shortcuts, written into a temporary home whose XDG directories
// all point inside it, and read back the way desktops read them.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "config/settingsstore.h"
#include "platform/platform.h"
#include "support/files.h"
#include "support/tempdir.h"
#include "system/mimeappslist.h"
#include "system/product.h"
#include "system/shellintegration.h"
#include "system/vortanpath.h"

namespace fs = std::filesystem;

namespace vortan {
namespace {

using vortan::test::ReadFile;

// The keys of the [Desktop Entry] group, values unescaped.
std::map<std::string, std::string> ReadEntry(const std::string& file) {
  std::map<std::string, std::string> keys;
  std::istringstream in(ReadFile(file));
  std::string line, group;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    if (line[0] == '[') {
      group = line;
      continue;
    }
    const size_t eq = line.find('=');
    if (group != "[Desktop Entry]" || eq == std::string::npos) continue;
    std::string value;
    const std::string raw = line.substr(eq + 1);
    for (size_t i = 0; i < raw.size(); ++i) {
      if (raw[i] != '\\' || i + 1 == raw.size()) {
        value += raw[i];
        continue;
      }
      const char c = raw[++i];
      value += c == 's' ? ' ' : c == 'n' ? '\n' : c == 't' ? '\t' : c == 'r' ? '\r' : c;
    }
    keys[line.substr(0, eq)] = value;
  }
  return keys;
}

// Splits an (unescaped) Exec value into arguments by the desktop-entry quoting rules; a
// character that needs quoting outside quotes, or a bad escape, makes it invalid.
std::optional<std::vector<std::string>> ParseExec(const std::string& exec) {
  const std::string reserved = "\t\n'\\><~|&;$*?#()`";
  std::vector<std::string> args;
  std::string arg;
  bool inArg = false, quoted = false;
  for (size_t i = 0; i < exec.size(); ++i) {
    const char c = exec[i];
    if (quoted) {
      if (c == '"') {
        quoted = false;
      } else if (c == '\\') {
        if (i + 1 == exec.size() || std::string("\"`$\\").find(exec[i + 1]) == std::string::npos)
          return std::nullopt;
        arg += exec[++i];
      } else if (c == '`' || c == '$') {
        return std::nullopt;  // must be escaped inside quotes
      } else {
        arg += c;
      }
    } else if (c == ' ') {
      if (inArg) args.push_back(arg);
      arg.clear();
      inArg = false;
    } else if (c == '"') {
      quoted = inArg = true;
    } else if (reserved.find(c) != std::string::npos) {
      return std::nullopt;
    } else {
      arg += c;
      inArg = true;
    }
  }
  if (quoted) return std::nullopt;
  if (inArg) args.push_back(arg);
  for (std::string& a : args) {
    if (a == "%F") continue;
    std::string decoded;
    for (size_t i = 0; i < a.size(); ++i) {
      if (a[i] == '%') {
        if (i + 1 == a.size() || a[i + 1] != '%') return std::nullopt;  // a stray field code
        ++i;
      }
      decoded += a[i];
    }
    a = decoded;
  }
  return args;
}

bool HasTool(const std::string& name) {
  return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

bool IsExecutable(const std::string& file) {
  struct stat st;
  return ::stat(file.c_str(), &st) == 0 && (st.st_mode & S_IXUSR);
}

// A home of its own, with a small MIME database planted as the system's.
class ShellIntegrationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Set("HOME", home_.Path());
    Set("XDG_DATA_HOME", home_ / "data");
    Set("XDG_CONFIG_HOME", home_ / "config");
    Set("XDG_DATA_DIRS", home_ / "system");
    Set("XDG_CONFIG_DIRS", home_ / "system-config");
    Set("XDG_CACHE_HOME", home_ / "cache");
    Set("XDG_RUNTIME_DIR", home_ / "run");
    Set("XDG_CURRENT_DESKTOP", std::nullopt);
    home_.Write("system/mime/globs2",
                "# generated\n"
                "50:text/x-fortran:*.f\n"
                "50:text/x-fortran:*.for\n"
                "50:text/x-csrc:*.c\n"
                "50:text/x-c++src:*.C:cs\n");
  }
  void TearDown() override {
    for (const auto& [name, value] : saved_) {
      if (value)
        ::setenv(name.c_str(), value->c_str(), 1);
      else
        ::unsetenv(name.c_str());
    }
  }
  void Set(const std::string& name, std::optional<std::string> value) {
    const char* old = std::getenv(name.c_str());
    saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
    if (value)
      ::setenv(name.c_str(), value->c_str(), 1);
    else
      ::unsetenv(name.c_str());
  }

  std::string Applications() const { return home_ / "data/applications/"; }
  std::string MimeApps() const { return home_ / "config/mimeapps.list"; }
  void Associate(const std::string& exe = "/opt/vortan/vortan", const std::string& ext = ".f") {
    AssociateExtension(exe, ext, "Vortan2.File", true, 1, "Vortan2DDE", "Vortan 2.0 Source File");
  }

  test::TTempDir home_;
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST_F(ShellIntegrationTest, AssociationIsWrittenAndReadBack) {
  EXPECT_FALSE(IsExtensionAssociated(".f", "Vortan2.File"));
  Associate();
  EXPECT_TRUE(IsExtensionAssociated(".f", "Vortan2.File"));
  // Another extension of the same type shares the association.
  EXPECT_TRUE(IsExtensionAssociated(".for", "Vortan2.File"));
  EXPECT_FALSE(IsExtensionAssociated(".c", "Vortan2.File"));

  const std::string file = Applications() + "Vortan2.File.desktop";
  auto entry = ReadEntry(file);
  EXPECT_EQ(entry["Type"], "Application");
  EXPECT_EQ(entry["Name"], "Vortan 2.0");
  EXPECT_EQ(entry["Comment"], "Vortan 2.0 Source File");
  EXPECT_EQ(entry["MimeType"], "text/x-fortran;");
  EXPECT_EQ(entry["Icon"], SourceIconName);
  EXPECT_EQ(entry["Terminal"], "false");
  // A plain path stays unquoted: simple launchers split Exec at blanks and take quotes
  // literally.
  EXPECT_EQ(entry["Exec"], "/opt/vortan/vortan %F");

  TMimeAppsList list;
  ASSERT_TRUE(list.Load(MimeApps()));
  EXPECT_EQ(list.Get(TMimeAppsList::DefaultApplications, "text/x-fortran"),
            std::vector<std::string>{"Vortan2.File.desktop"});
  EXPECT_EQ(list.Get(TMimeAppsList::AddedAssociations, "text/x-fortran"),
            std::vector<std::string>{"Vortan2.File.desktop"});

  const std::string icons = home_ / "data/icons/hicolor/scalable/";
  for (const char* icon :
       {"apps/vortan.svg", "mimetypes/vortan-source.svg", "mimetypes/text-x-fortran.svg"})
    EXPECT_NE(ReadFile(icons + icon).find("<svg"), std::string::npos) << icon;
  if (HasTool("update-desktop-database")) {
    EXPECT_NE(ReadFile(Applications() + "mimeinfo.cache").find("Vortan2.File.desktop"),
              std::string::npos);
  }

  // Associating again changes nothing.
  const std::string before = ReadFile(MimeApps());
  Associate();
  EXPECT_EQ(ReadFile(MimeApps()), before);
}

TEST_F(ShellIntegrationTest, AnotherProgramsDefaultIsReplacedAndTheRestKept) {
  home_.Write("config/mimeapps.list",
              "# my settings\n"
              "[Added Associations]\n"
              "text/x-fortran=emacs.desktop;\n"
              "text/plain=gedit.desktop;\n"
              "\n"
              "[Default Applications]\n"
              "text/plain=gedit.desktop;\n"
              "text/x-fortran=emacs.desktop;\n"
              "\n"
              "[Removed Associations]\n"
              "text/x-fortran=vortan2.file.desktop;kate.desktop;\n"
              "\n"
              "[Other Group]\n"
              "text/x-fortran=keep.desktop;\n");
  EXPECT_FALSE(IsExtensionAssociated(".f", "Vortan2.File"));
  Associate();
  EXPECT_TRUE(IsExtensionAssociated(".f", "Vortan2.File"));
  EXPECT_EQ(ReadFile(MimeApps()),
            "# my settings\n"
            "[Added Associations]\n"
            "text/x-fortran=Vortan2.File.desktop;emacs.desktop;\n"
            "text/plain=gedit.desktop;\n"
            "\n"
            "[Default Applications]\n"
            "text/plain=gedit.desktop;\n"
            "text/x-fortran=Vortan2.File.desktop;\n"
            "\n"
            "[Removed Associations]\n"
            "text/x-fortran=kate.desktop;\n"
            "\n"
            "[Other Group]\n"
            "text/x-fortran=keep.desktop;\n");
}

TEST_F(ShellIntegrationTest, GroupsMissingFromTheListAreAdded) {
  home_.Write("config/mimeapps.list", "[Default Applications]\ntext/plain=gedit.desktop;");
  Associate();
  EXPECT_EQ(ReadFile(MimeApps()),
            "[Default Applications]\n"
            "text/plain=gedit.desktop;\n"
            "text/x-fortran=Vortan2.File.desktop;\n"
            "\n"
            "[Added Associations]\n"
            "text/x-fortran=Vortan2.File.desktop;\n");
}

TEST_F(ShellIntegrationTest, AssociatedMeansTheFirstDefaultNamesTheEntryInAnyCase) {
  struct TCase {
    const char* List;
    bool Associated;
  };
  const TCase cases[] = {
      {"[Default Applications]\ntext/x-fortran=vortan2.file.desktop;\n", true},
      {"[Default Applications]\nTEXT/X-Fortran = VORTAN2.FILE.DESKTOP;other.desktop;\n", true},
      {"[Default Applications]\ntext/x-fortran=Vortan2.File.desktop\n", true},
      {"[Default Applications]\ntext/x-fortran=other.desktop;Vortan2.File.desktop;\n", false},
      {"[Default Applications]\ntext/x-fortran=Vortan2.File.desktop.old;\n", false},
      {"[Added Associations]\ntext/x-fortran=Vortan2.File.desktop;\n", false},
      {"[Default Applications]\n#text/x-fortran=Vortan2.File.desktop;\n", false},
  };
  for (const TCase& c : cases) {
    home_.Write("config/mimeapps.list", c.List);
    EXPECT_EQ(IsExtensionAssociated(".f", "Vortan2.File"), c.Associated) << c.List;
  }
  fs::remove(MimeApps());
  EXPECT_FALSE(IsExtensionAssociated(".f", "Vortan2.File"));
}

TEST_F(ShellIntegrationTest, ExecQuotesTheExecutableSoItParsesBack) {
  const char* paths[] = {
      "/opt/my programs/vortan", "/opt/it's \"quoted\"/vortan",
      "/opt/back\\slash/vortan", "/opt/$HOME `x`/vortan",
      "/opt/100%/vortan",        "/opt/a;b&c|d<e>f~g*h?i#j(k)/vortan",
      "/opt/tab\there/vortan",   " /lead blank/vortan",
  };
  for (const char* exe : paths) {
    Associate(exe);
    const std::string file = Applications() + "Vortan2.File.desktop";
    const auto exec = ParseExec(ReadEntry(file)["Exec"]);
    ASSERT_TRUE(exec.has_value()) << exe;
    EXPECT_EQ(*exec, (std::vector<std::string>{exe, "%F"})) << exe;
  }
}

TEST_F(ShellIntegrationTest, MimeTypeComesFromTheDatabase) {
  // The user's database wins over the system's; a higher weight wins over a lower one.
  home_.Write("data/mime/globs2", "50:text/x-user-fortran:*.for\n");
  home_.Write("system2/mime/globs", "# old format\ntext/x-old:*.old\n");
  home_.Write(
      "system/mime/globs2",
      "40:text/x-low:*.f\n50:text/x-fortran:*.f\n50:text/x-csrc:*.c\n50:text/x-c++src:*.C:cs\n");
  ::setenv("XDG_DATA_DIRS", (home_ / "system" + ":" + home_ / "system2").c_str(), 1);
  struct TCase {
    const char* Extension;
    const char* Type;
  };
  const TCase cases[] = {
      {".f", "text/x-fortran"},   {"f", "text/x-fortran"},
      {".F", "text/x-fortran"},   {".for", "text/x-user-fortran"},
      {".c", "text/x-csrc"},      {".C", "text/x-c++src"},
      {".old", "text/x-old"},     {".Xyz", "application/x-extension-xyz"},
      {".f77", "text/x-fortran"}, {".FTN", "text/x-fortran"},
  };
  for (const TCase& c : cases) EXPECT_EQ(MimeTypeForExtension(c.Extension), c.Type) << c.Extension;

  // Without any database the fixed-form names are still Fortran.
  ::setenv("XDG_DATA_DIRS", (home_ / "none").c_str(), 1);
  fs::remove(home_ / "data/mime/globs2");
  for (const char* ext : {".f", ".for", ".f77", ".ftn", ".F", ".FOR"})
    EXPECT_EQ(MimeTypeForExtension(ext), "text/x-fortran") << ext;
}

TEST_F(ShellIntegrationTest, TheFortranTypeGetsEveryFixedFormName) {
  Associate();
  const std::string package = ReadFile(home_ / "data/mime/packages/text-x-fortran.xml");
  // The system's database knows the type: its description stays, only names are added.
  EXPECT_EQ(package.find("<comment>"), std::string::npos);
  struct TCase {
    const char* Glob;        // in the package
    const char* Globs2Line;  // in the database built from it
    const char* Name;        // a file of that name opens with the program
  };
  const TCase cases[] = {
      {"<glob pattern=\"*.f\"/>", "text/x-fortran:*.f\n", "prog.f"},
      {"<glob pattern=\"*.for\"/>", "text/x-fortran:*.for\n", "prog.for"},
      {"<glob pattern=\"*.f77\"/>", "text/x-fortran:*.f77\n", "prog.f77"},
      {"<glob pattern=\"*.ftn\"/>", "text/x-fortran:*.ftn\n", "PROG.FTN"},
      {"<glob pattern=\"*.F\" case-sensitive=\"true\"/>", "text/x-fortran:*.F:cs\n", "PROG.F"},
      {"<glob pattern=\"*.FOR\" case-sensitive=\"true\"/>", "text/x-fortran:*.FOR:cs\n",
       "PROG.FOR"},
  };
  const bool built = HasTool("update-mime-database");
  const std::string globs2 = ReadFile(home_ / "data/mime/globs2");
  for (const TCase& c : cases) {
    EXPECT_NE(package.find(c.Glob), std::string::npos) << c.Glob;
    if (built) {
      EXPECT_NE(globs2.find(c.Globs2Line), std::string::npos) << c.Globs2Line;
    }
    const std::string name = c.Name;
    EXPECT_TRUE(IsExtensionAssociated(name.substr(name.find('.')), "Vortan2.File")) << c.Name;
  }
  // One type carries every name: the list gets one entry, not one per extension.
  EXPECT_EQ(ReadFile(MimeApps()),
            "[Default Applications]\n"
            "text/x-fortran=Vortan2.File.desktop;\n"
            "\n"
            "[Added Associations]\n"
            "text/x-fortran=Vortan2.File.desktop;\n");
}

TEST_F(ShellIntegrationTest, AnUnknownExtensionGetsATypeOfItsOwn) {
  Associate("/opt/vortan/vortan", ".xyz");
  EXPECT_TRUE(IsExtensionAssociated(".xyz", "Vortan2.File"));
  EXPECT_FALSE(IsExtensionAssociated(".f", "Vortan2.File"));
  const std::string package =
      ReadFile(home_ / "data/mime/packages/application-x-extension-xyz.xml");
  EXPECT_NE(package.find("<mime-type type=\"application/x-extension-xyz\">"), std::string::npos);
  EXPECT_NE(package.find("<glob pattern=\"*.xyz\"/>"), std::string::npos);
  EXPECT_EQ(ReadEntry(Applications() + "Vortan2.File.desktop")["MimeType"],
            "application/x-extension-xyz;");
  if (HasTool("update-mime-database")) {
    EXPECT_NE(ReadFile(home_ / "data/mime/globs2").find("application/x-extension-xyz:*.xyz"),
              std::string::npos);
  }
}

TEST_F(ShellIntegrationTest, ALinkedListIsEditedWhereItLives) {
  const std::string real = home_.Write("dotfiles/mimeapps.list", "[Default Applications]\n");
  fs::create_directories(home_ / "config");
  fs::create_symlink(real, MimeApps());
  Associate();
  EXPECT_TRUE(fs::is_symlink(MimeApps()));
  EXPECT_NE(ReadFile(real).find("text/x-fortran=Vortan2.File.desktop;"), std::string::npos);
}

// The option buttons, with the folders of a resolver over a temporary store.
class ShellLinkTest : public ShellIntegrationTest {
 protected:
  void SetUp() override {
    ShellIntegrationTest::SetUp();
    ASSERT_TRUE(store_.Open(home_ / "store.sqlite").Ok);
    desktop_ = home_.MakeDir("Desktop") + "/";
    applications_ = home_.MakeDir("data/applications") + "/";
    paths_.emplace(store_, home_.MakeDir("install"));
    SetVortanPath(&*paths_);
  }
  void TearDown() override {
    SetVortanPath(nullptr);
    paths_.reset();
    store_.Close();
    ShellIntegrationTest::TearDown();
  }

  // The entry starts this test program.
  void ExpectProgramEntry(const std::string& file) {
    ASSERT_TRUE(fs::exists(file)) << file;
    auto entry = ReadEntry(file);
    EXPECT_EQ(entry["Type"], "Application");
    EXPECT_EQ(entry["Name"], "Vortan 2.0");
    EXPECT_EQ(entry["Icon"], ApplicationIconName);
    EXPECT_EQ(ParseExec(entry["Exec"]), std::vector<std::string>{platform::ExecutablePath()});
    EXPECT_TRUE(IsExecutable(file)) << file;
  }

  TSettingsStore store_;
  std::optional<TVortanPath> paths_;
  std::string desktop_, applications_;
};

TEST_F(ShellLinkTest, DesktopAndMenuShortcuts) {
  btnDesktopShortcutClick(0);
  ExpectProgramEntry(desktop_ + "Vortan 2.0.desktop");
  EXPECT_FALSE(fs::exists(applications_ + "Vortan 2.0.desktop"));
  btnDesktopShortcutClick(1);
  ExpectProgramEntry(applications_ + "Vortan 2.0.desktop");
}

TEST_F(ShellLinkTest, AMissingFolderWritesNothing) {
  fs::remove_all(desktop_);
  const fs::path old = fs::current_path();
  fs::current_path(home_.Path());
  btnDesktopShortcutClick(0);
  fs::current_path(old);
  EXPECT_FALSE(fs::exists(desktop_));
  EXPECT_FALSE(fs::exists(home_ / "Vortan 2.0.desktop"));
  EXPECT_FALSE(CreateShellLink(home_ / "missing/Vortan 2.0.desktop", "", "/bin/true"));
}

TEST_F(ShellLinkTest, ProgramsGroupWithAndWithoutItsFolder) {
  const std::string group = applications_ + "Vortan 2.0/";
  for (bool exists : {false, true}) {
    SCOPED_TRACE(exists ? "folder exists" : "folder created");
    fs::remove_all(group);
    if (exists) {
      home_.Write("data/applications/Vortan 2.0/Vortan 2.0.desktop", "stale");
      fs::permissions(group + "Vortan 2.0.desktop", fs::perms::owner_read | fs::perms::owner_write);
    }
    btnProgramsGroupClick();
    ExpectProgramEntry(group + "Vortan 2.0.desktop");
    const std::string web = group + "Vortan 2.0 on the Web.desktop";
    ASSERT_TRUE(fs::exists(web));
    auto entry = ReadEntry(web);
    EXPECT_EQ(entry["Type"], "Link");
    EXPECT_EQ(entry["Name"], "Vortan 2.0 on the Web");
    EXPECT_EQ(entry["URL"], ProjectWebsite);
    EXPECT_EQ(entry.count("Comment"), 0u);
  }
}

TEST_F(ShellLinkTest, TheDesktopsValidatorAcceptsEveryEntryWritten) {
  if (!HasTool("desktop-file-validate")) GTEST_SKIP() << "desktop-file-validate is not installed";
  btnAssociateFilesClick();
  EXPECT_TRUE(IsExtensionAssociated(".f", "Vortan2.File"));
  Associate("/opt/my \"programs\"/$vortan");
  btnDesktopShortcutClick(0);
  btnDesktopShortcutClick(1);
  btnProgramsGroupClick();
  int checked = 0;
  for (const auto& e : fs::recursive_directory_iterator(home_.Path())) {
    if (e.path().extension() != ".desktop") continue;
    const std::string out = home_ / "validate.txt";
    const std::string cmd = "desktop-file-validate '" + e.path().string() + "' >'" + out + "' 2>&1";
    EXPECT_EQ(std::system(cmd.c_str()), 0) << e.path() << ":\n" << ReadFile(out);
    ++checked;
  }
  EXPECT_EQ(checked, 5);  // file type, desktop, menu, group program and web link
}

}  // namespace
}  // namespace vortan
