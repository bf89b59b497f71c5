#include "system/shellintegration.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "config/settingids.h"
#include "i18n/stringtable.h"
#include "platform/codepage.h"
#include "platform/filebytes.h"
#include "platform/platform.h"
#include "system/mimeappslist.h"
#include "system/product.h"
#include "system/sourcefilenames.h"
#include "system/vortanpath.h"
#include "system/xdgfiles.h"

namespace fs = std::filesystem;

#include "platform/text.h"

namespace vortan {

extern const char ApplicationIconSvg[];
extern const char SourceIconSvg[];

namespace {

constexpr const char* Categories = "Development;IDE;";

std::string Dotted(const std::string& extension) {
  return extension.empty() || extension.front() == '.' ? extension : "." + extension;
}

const char* IconName(int iconIndex) {
  return iconIndex == 1 ? SourceIconName : ApplicationIconName;
}
const char* IconSvg(int iconIndex) { return iconIndex == 1 ? SourceIconSvg : ApplicationIconSvg; }

// The start of a desktop entry; keys follow in the order they are added.
std::string EntryHeader(const char* type) {
  return "[Desktop Entry]\nType=" + std::string(type) + "\nVersion=1.0\n";
}
void AddKey(std::string& entry, const char* key, const std::string& escapedValue) {
  entry += key;
  entry += '=' + escapedValue + '\n';
}
void AddText(std::string& entry, const char* key, const std::string& value) {
  AddKey(entry, key, xdg::EscapeValue(value));
}

bool WriteIcon(const std::string& dir, const std::string& name, const char* svg) {
  std::error_code ec;
  fs::create_directories(dir, ec);
  std::string error;
  return platform::WriteFileReplacing(dir + name + ".svg", svg, error, 0644);
}

std::string XmlEscape(const std::string& s) {
  std::string out;
  for (char c : s) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

constexpr const char* FortranMimeType = "text/x-fortran";

// The file names of the Fortran type: every fixed-form extension, and the upper-case names
// written as globs of their own so that a lookup by exact case finds them too.
std::vector<std::pair<std::string, bool>> FortranGlobs() {
  std::vector<std::pair<std::string, bool>> globs;
  for (const char* ext : FortranSourceExtensions) globs.emplace_back(std::string("*") + ext, false);
  globs.emplace_back("*.F", true);
  globs.emplace_back("*.FOR", true);
  return globs;
}

// Teaches the user's MIME database the type's file names. A type the database already knows
// keeps its own description and icon; the package only adds names to it.
bool WriteMimePackage(const std::string& dataHome, const std::string& mimeType,
                      const std::vector<std::pair<std::string, bool>>& globs, bool known,
                      const std::string& description, const char* icon) {
  std::string name = mimeType;
  std::replace(name.begin(), name.end(), '/', '-');
  const std::string dir = dataHome + "mime/packages/";
  std::error_code ec;
  fs::create_directories(dir, ec);
  std::string xml =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
      "  <mime-type type=\"" +
      XmlEscape(mimeType) + "\">\n";
  if (!known) {
    xml += "    <comment>" + XmlEscape(description) + "</comment>\n";
    xml += "    <icon name=\"" + std::string(icon) + "\"/>\n";
  }
  for (const auto& [pattern, caseSensitive] : globs)
    xml += "    <glob pattern=\"" + XmlEscape(pattern) + "\"" +
           (caseSensitive ? " case-sensitive=\"true\"" : "") + "/>\n";
  xml += "  </mime-type>\n</mime-info>\n";
  std::string error;
  return platform::WriteFileReplacing(dir + name + ".xml", xml, error, 0644);
}

void MakeDefault(const std::string& mimeType, const std::string& desktopId) {
  const std::string config = xdg::ConfigHome();
  if (config.empty()) return;
  const std::string path = config + "mimeapps.list";
  TMimeAppsList list;
  // A file that exists but cannot be read is left alone rather than overwritten.
  if (!list.Load(path)) return;
  auto isOurs = [&](const std::string& id) { return LowerAscii(id) == LowerAscii(desktopId); };

  list.Set(TMimeAppsList::DefaultApplications, mimeType, {desktopId});
  std::vector<std::string> added = list.Get(TMimeAppsList::AddedAssociations, mimeType);
  std::erase_if(added, isOurs);
  added.insert(added.begin(), desktopId);
  list.Set(TMimeAppsList::AddedAssociations, mimeType, added);
  // A removal recorded earlier would hide the entry from every reader.
  std::vector<std::string> removed = list.Get(TMimeAppsList::RemovedAssociations, mimeType);
  if (std::erase_if(removed, isOurs) > 0)
    list.Set(TMimeAppsList::RemovedAssociations, mimeType, removed);
  list.Save(path);
}

std::string WithoutTrailingSeparator(std::string dir) {
  while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
  return dir;
}

bool IsWebAddress(const std::string& target) {
  const size_t colon = target.find("://");
  if (colon == std::string::npos || colon == 0) return false;
  if (!std::isalpha(static_cast<unsigned char>(target[0]))) return false;
  return std::all_of(target.begin(), target.begin() + static_cast<long>(colon), [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.';
  });
}

}  // namespace

std::string MimeTypeForExtension(const std::string& extension) {
  const std::string ext = Dotted(extension);
  std::string type = xdg::LookupMimeType(ext);
  if (!type.empty()) return type;
  if (IsFortranSourceName("x" + ext)) return FortranMimeType;
  std::string subtype = "x-extension-";
  for (char c : LowerAscii(ext.substr(1)))
    subtype +=
        std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '.' || c == '_' ? c : '-';
  return "application/" + subtype;
}

void AssociateExtension(const std::string& executable, const std::string& extension,
                        const std::string& fileTypeId, bool notify, int iconIndex,
                        const std::string& /*ddeTopic*/, const std::string& description) {
  const std::string ext = Dotted(extension);
  const bool known = !xdg::LookupMimeType(ext).empty();
  const std::string mimeType = MimeTypeForExtension(ext);
  const std::string desktopId = fileTypeId + ".desktop";
  const std::string dataHome = xdg::DataHome();
  const std::string applications = dataHome.empty() ? std::string() : dataHome + "applications/";
  bool mimeChanged = false;

  if (!dataHome.empty()) {
    // The icon goes in under the type's own icon name too, which is how files of that type
    // get the document icon in file managers.
    const std::string icons = dataHome + "icons/hicolor/scalable/";
    std::string typeIcon = mimeType;
    std::replace(typeIcon.begin(), typeIcon.end(), '/', '-');
    WriteIcon(icons + "apps/", ApplicationIconName, ApplicationIconSvg);
    WriteIcon(icons + "mimetypes/", SourceIconName, SourceIconSvg);
    WriteIcon(icons + "mimetypes/", typeIcon, IconSvg(iconIndex));
    // The Fortran type gets every fixed-form name, also where the system's database knows
    // only some of them; any other type is taught only when the database lacks it.
    if (mimeType == FortranMimeType)
      mimeChanged = WriteMimePackage(dataHome, mimeType, FortranGlobs(), known, description,
                                     IconName(iconIndex));
    else if (!known)
      mimeChanged = WriteMimePackage(dataHome, mimeType, {{"*" + ext, false}}, false, description,
                                     IconName(iconIndex));

    std::string entry = EntryHeader("Application");
    AddText(entry, "Name", ApplicationTitle);
    if (!description.empty() && description != ApplicationTitle)
      AddText(entry, "Comment", description);
    AddKey(entry, "Exec", xdg::ExecLine(executable, {}, "%F"));
    AddText(entry, "Icon", IconName(iconIndex));
    AddKey(entry, "Terminal", "false");
    // The menu entry is the Start-menu shortcut's business; this one only opens files.
    AddKey(entry, "NoDisplay", "true");
    AddText(entry, "MimeType", mimeType + ";");
    AddKey(entry, "Categories", Categories);
    std::error_code ec;
    fs::create_directories(applications, ec);
    std::string error;
    platform::WriteFileReplacing(applications + desktopId, entry, error, 0644);
  }

  MakeDefault(mimeType, desktopId);

  if (notify) {
    if (!applications.empty())
      xdg::RunTool("update-desktop-database", {WithoutTrailingSeparator(applications)});
    if (mimeChanged) xdg::RunTool("update-mime-database", {dataHome + "mime"});
  }
}

bool IsExtensionAssociated(const std::string& extension, const std::string& fileTypeId) {
  const std::string config = xdg::ConfigHome();
  if (config.empty()) return false;
  TMimeAppsList list;
  if (!list.Load(config + "mimeapps.list")) return false;
  const std::vector<std::string> ids =
      list.Get(TMimeAppsList::DefaultApplications, MimeTypeForExtension(extension));
  return !ids.empty() && LowerAscii(ids.front()) == LowerAscii(fileTypeId + ".desktop");
}

bool CreateShellLink(const std::string& linkFile, const std::string& description,
                     const std::string& target, int /*hotKey*/, int /*showCommand*/, int iconIndex,
                     const std::string& iconFile, const std::string& workingDirectory,
                     const std::vector<std::string>& arguments) {
  std::string name = fs::path(linkFile).filename().string();
  if (name.size() > std::string(ShellLinkExtension).size() && name.ends_with(ShellLinkExtension))
    name.resize(name.size() - std::string(ShellLinkExtension).size());
  const bool web = IsWebAddress(target);

  std::string entry = EntryHeader(web ? "Link" : "Application");
  AddText(entry, "Name", name);
  if (!description.empty() && description != name) AddText(entry, "Comment", description);
  if (web) {
    AddText(entry, "URL", target);
    AddText(entry, "Icon", iconFile.empty() ? std::string("web-browser") : iconFile);
  } else {
    AddKey(entry, "Exec", xdg::ExecLine(target, arguments));
    if (!workingDirectory.empty()) AddText(entry, "Path", workingDirectory);
    AddText(entry, "Icon", iconFile.empty() ? std::string(IconName(iconIndex)) : iconFile);
    AddKey(entry, "Terminal", "false");
    AddKey(entry, "Categories", Categories);
  }
  std::string error;
  if (!platform::WriteFileReplacing(linkFile, entry, error, 0755)) return false;
  // Desktops start only launchers marked executable, also when an older file was not.
  struct stat st;
  if (::stat(linkFile.c_str(), &st) == 0) {
    mode_t mode = st.st_mode & 07777;
    mode |= S_IXUSR;
    if (mode & S_IRGRP) mode |= S_IXGRP;
    if (mode & S_IROTH) mode |= S_IXOTH;
    ::chmod(linkFile.c_str(), mode);
  }
  return true;
}

void btnAssociateFilesClick() {
  AssociateExtension(platform::ExecutablePath(), ".f", SourceFileTypeId, true, 1, OpenRequestTopic,
                     FormatText(TStr::strSourceFileDescription, {ApplicationTitle}));
}

void btnDesktopShortcutClick(int number) {
  TVortanPath* paths = VortanPath();
  if (!paths || (number != 0 && number != 1)) return;
  const std::string folder = paths->GetPath(number == 0 ? sidDesktopPath : sidStartMenuPath);
  if (folder.empty()) return;
  CreateShellLink(folder + ApplicationTitle + ShellLinkExtension, ApplicationTitle,
                  platform::ExecutablePath());
}

void btnProgramsGroupClick() {
  TVortanPath* paths = VortanPath();
  if (!paths) return;
  const std::string programs = paths->GetPath(sidProgramsGroupPath);
  if (programs.empty()) return;
  const std::string group = programs + ApplicationTitle + "/";
  if (!platform::DirectoryExists(group)) ::mkdir(group.c_str(), 0777);
  if (!platform::DirectoryExists(group)) return;
  CreateShellLink(group + ApplicationTitle + ShellLinkExtension, ApplicationTitle,
                  platform::ExecutablePath());
  // A translated name must not name a folder.
  std::string web = FormatText(TStr::strVortan2Link, {ApplicationTitle});
  std::replace(web.begin(), web.end(), '/', '-');
  CreateShellLink(group + web + ShellLinkExtension, std::string(), ProjectWebsite);
}

}  // namespace vortan
