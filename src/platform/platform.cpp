#include "platform/platform.h"

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

#include "platform/text.h"

namespace vortan::platform {

std::string ExecutablePath() {
  std::error_code ec;
  fs::path p = fs::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : p.string();
}

std::string ExecutableDir() {
  std::string exe = ExecutablePath();
  auto slash = exe.rfind(PathSeparator);
  if (slash == std::string::npos) return std::string();
  return exe.substr(0, slash + 1);
}

bool DirectoryExists(const std::string& path) {
  struct stat st;
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool FileExists(const std::string& path) {
  struct stat st;
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string GetEnv(const char* name) {
  const char* v = std::getenv(name);
  return v ? std::string(v) : std::string();
}

std::string IncludeTrailingSeparator(std::string path) {
  if (!path.empty() && path.back() != PathSeparator) path += PathSeparator;
  return path;
}

std::string AbsolutePath(const std::string& path) {
  if (path.empty()) return path;
  std::error_code ec;
  fs::path abs = fs::absolute(path, ec);
  if (ec) return path;
  return abs.lexically_normal().string();
}

std::string HomeDir() {
  std::string home = GetEnv("HOME");
  if (!home.empty()) return home;
  if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) return pw->pw_dir;
  return std::string();
}

namespace {

// An XDG base directory: the variable when it holds an absolute path (relative values are
// invalid and must be ignored), else the fallback below the home directory.
std::string XdgBase(const char* variable, const std::string& home, const char* fallback) {
  std::string v = GetEnv(variable);
  if (!v.empty() && v.front() == '/') return IncludeTrailingSeparator(v);
  if (home.empty()) return std::string();
  return IncludeTrailingSeparator(home) + fallback;
}

// XDG_DESKTOP_DIR from user-dirs.dirs; empty when the file or the entry is missing or unusable.
std::string DesktopFromUserDirs(const std::string& home) {
  std::string config = XdgBase("XDG_CONFIG_HOME", home, ".config/");
  if (config.empty()) return std::string();
  std::ifstream in(config + "user-dirs.dirs");
  std::string line;
  std::string found;
  while (std::getline(in, line)) {
    auto start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line[start] == '#') continue;
    auto eq = line.find('=', start);
    if (eq == std::string::npos || line.compare(start, eq - start, "XDG_DESKTOP_DIR") != 0)
      continue;
    std::string value = line.substr(eq + 1);
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t' || value.back() == '\r'))
      value.pop_back();
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
      value = value.substr(1, value.size() - 2);
    for (const char* var : {"${HOME}", "$HOME"}) {
      std::string_view v(var);
      if (value.compare(0, v.size(), v) == 0) {
        if (home.empty()) return std::string();
        value = home + value.substr(v.size());
        break;
      }
    }
    found = value;  // the last assignment wins, as when the file is sourced by a shell
  }
  if (found.empty() || found.front() != '/') return std::string();
  return found;
}

}  // namespace

std::string UserCacheDir() {
  const std::string base = XdgBase("XDG_CACHE_HOME", HomeDir(), ".cache/");
  return base.empty() ? std::string() : base + "vortan/";
}

std::string SpecialFolder(int csidl) {
  std::string home = HomeDir();
  switch (csidl) {
    case FolderDesktop: {
      std::string desktop = DesktopFromUserDirs(home);
      if (desktop.empty() && !home.empty()) desktop = IncludeTrailingSeparator(home) + "Desktop";
      return IncludeTrailingSeparator(desktop);
    }
    case FolderPrograms:
    case FolderStartMenu: {
      std::string data = XdgBase("XDG_DATA_HOME", home, ".local/share/");
      return data.empty() ? std::string() : data + "applications/";
    }
    default:
      return std::string();
  }
}

namespace {

struct TLocaleId {
  const char* Language;
  const char* Country;  // the first row of a language is its main country
  int Id;
};

constexpr TLocaleId LocaleIds[] = {
    {"en", "US", 1033},  {"en", "GB", 2057},  {"en", "AU", 3081},  {"en", "CA", 4105},
    {"en", "NZ", 5129},  {"en", "IE", 6153},  {"en", "ZA", 7177},  {"en", "JM", 8201},
    {"en", "BZ", 10249}, {"en", "TT", 11273}, {"en", "ZW", 12297}, {"en", "PH", 13321},
    {"en", "IN", 16393}, {"en", "MY", 17417}, {"en", "SG", 18441}, {"pt", "BR", 1046},
    {"pt", "PT", 2070},  {"es", "ES", 3082},  {"es", "MX", 2058},  {"es", "GT", 4106},
    {"es", "CR", 5130},  {"es", "PA", 6154},  {"es", "DO", 7178},  {"es", "VE", 8202},
    {"es", "CO", 9226},  {"es", "PE", 10250}, {"es", "AR", 11274}, {"es", "EC", 12298},
    {"es", "CL", 13322}, {"es", "UY", 14346}, {"es", "PY", 15370}, {"es", "BO", 16394},
    {"es", "SV", 17418}, {"es", "HN", 18442}, {"es", "NI", 19466}, {"es", "PR", 20490},
    {"es", "US", 21514}, {"fr", "FR", 1036},  {"fr", "BE", 2060},  {"fr", "CA", 3084},
    {"fr", "CH", 4108},  {"fr", "LU", 5132},  {"fr", "MC", 6156},  {"de", "DE", 1031},
    {"de", "CH", 2055},  {"de", "AT", 3079},  {"de", "LU", 4103},  {"de", "LI", 5127},
    {"it", "IT", 1040},  {"it", "CH", 2064},  {"nl", "NL", 1043},  {"nl", "BE", 2067},
    {"ru", "RU", 1049},  {"ru", "MD", 2073},  {"pl", "PL", 1045},  {"cs", "CZ", 1029},
    {"ja", "JP", 1041},  {"zh", "CN", 2052},  {"zh", "TW", 1028},  {"zh", "HK", 3076},
    {"zh", "SG", 4100},  {"zh", "MO", 5124},  {"ko", "KR", 1042},  {"sv", "SE", 1053},
    {"sv", "FI", 2077},  {"da", "DK", 1030},  {"nb", "NO", 1044},  {"no", "NO", 1044},
    {"nn", "NO", 2068},  {"fi", "FI", 1035},  {"hu", "HU", 1038},  {"tr", "TR", 1055},
    {"el", "GR", 1032},  {"ro", "RO", 1048},  {"sk", "SK", 1051},  {"sl", "SI", 1060},
    {"hr", "HR", 1050},  {"bg", "BG", 1026},  {"uk", "UA", 1058},  {"ca", "ES", 1027},
    {"eu", "ES", 1069},  {"gl", "ES", 1110},  {"et", "EE", 1061},  {"lv", "LV", 1062},
    {"lt", "LT", 1063},  {"is", "IS", 1039},  {"he", "IL", 1037},  {"ar", "SA", 1025},
    {"ar", "EG", 3073},  {"fa", "IR", 1065},  {"hi", "IN", 1081},  {"th", "TH", 1054},
    {"vi", "VN", 1066},  {"id", "ID", 1057},  {"ms", "MY", 1086},
};

}  // namespace

int LanguageIdFromLocale(std::string_view locale) {
  // language[_COUNTRY][.codeset][@modifier]; "-" is accepted for "_" as well.
  locale = locale.substr(0, locale.find_first_of(".@"));
  auto sep = locale.find_first_of("_-");
  std::string language = LowerAscii(locale.substr(0, sep));
  std::string country =
      sep == std::string_view::npos ? std::string() : UpperAscii(locale.substr(sep + 1));
  const TLocaleId* main = nullptr;
  for (const TLocaleId& row : LocaleIds) {
    if (language != row.Language) continue;
    if (!main) main = &row;
    if (country == row.Country) return row.Id;
  }
  return main ? main->Id : 0;
}

int UserLanguageId() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    std::string v = GetEnv(name);
    if (!v.empty()) return LanguageIdFromLocale(v);
  }
  return 0;
}

std::string ProgramFileOf(const std::string& source) {
  auto nameStart = source.rfind(PathSeparator);
  nameStart = nameStart == std::string::npos ? 0 : nameStart + 1;
  auto dot = source.rfind('.');
  // A leading dot names a hidden file, not an extension: ".f" must not become the directory.
  if (dot == std::string::npos || dot <= nameStart) return source + ".out";
  return source.substr(0, dot);
}

bool IsSameFile(const std::string& a, const std::string& b) {
  if (a == b) return true;
  struct stat sa, sb;
  if (::stat(a.c_str(), &sa) != 0 || ::stat(b.c_str(), &sb) != 0) return false;
  return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

namespace {
bool IsUtf8(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size()) {
    const auto c = static_cast<unsigned char>(s[i]);
    // Continuation bytes after the lead byte; 0xC0, 0xC1 and 0xF8.. never start a character.
    const std::size_t n = c < 0x80   ? 0
                          : c < 0xC2 ? 9
                          : c < 0xE0 ? 1
                          : c < 0xF0 ? 2
                          : c < 0xF5 ? 3
                                     : 9;
    if (n == 9 || i + n >= s.size() + (n == 0)) return false;
    for (std::size_t k = 1; k <= n; ++k)
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    i += n + 1;
  }
  return true;
}
}  // namespace

std::string FileNameText(std::string_view name) {
  if (IsUtf8(name)) return std::string(name);
  std::string out;
  for (char ch : name) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x80) {
      out += ch;
    } else {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

TFileUser CurrentFileUser() {
  TFileUser user;
  user.Uid = ::geteuid();
  user.Groups.push_back(::getegid());
  const int n = ::getgroups(0, nullptr);
  if (n > 0) {
    std::vector<gid_t> groups(static_cast<std::size_t>(n));
    const int got = ::getgroups(n, groups.data());
    for (int i = 0; i < got; ++i) user.Groups.push_back(groups[static_cast<std::size_t>(i)]);
  }
  return user;
}

bool ModeLetsWrite(unsigned mode, unsigned owner, unsigned group, const TFileUser& user) {
  // As the system decides: the owner's bits for the owner, else the group's for a member,
  // else the others' bits; the first class that applies is the only one that counts.
  if (user.Uid == owner) return (mode & S_IWUSR) != 0;
  if (std::find(user.Groups.begin(), user.Groups.end(), group) != user.Groups.end())
    return (mode & S_IWGRP) != 0;
  return (mode & S_IWOTH) != 0;
}

int FileWriteDenied(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return errno;
  if (!ModeLetsWrite(st.st_mode, st.st_uid, st.st_gid, CurrentFileUser())) return EACCES;
  if (::access(path.c_str(), W_OK) != 0) return errno;
  return 0;
}

namespace {

bool IsPrivateDirectory(const std::string& dir, unsigned uid) {
  struct stat st {};
  return ::lstat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == uid &&
         (st.st_mode & 077) == 0;
}

}  // namespace

std::string PrivateRuntimeDirectory(const std::string& runtimeDir, const std::string& fallbackBase,
                                    unsigned uid) {
  if (!runtimeDir.empty() && runtimeDir.front() == '/' && IsPrivateDirectory(runtimeDir, uid))
    return runtimeDir;
  if (fallbackBase.empty() || fallbackBase.front() != '/') return std::string();
  const std::string dir = IncludeTrailingSeparator(fallbackBase) + "vortan-" + std::to_string(uid);
  if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) return std::string();
  // Opened without following a link, so that the checks and the repair are on one folder.
  const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return std::string();
  struct stat st {};
  bool ok = ::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == uid;
  if (ok && (st.st_mode & 077) != 0) ok = ::fchmod(fd, 0700) == 0;
  ::close(fd);
  return ok ? dir : std::string();
}

}  // namespace vortan::platform
