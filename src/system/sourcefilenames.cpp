#include "system/sourcefilenames.h"

#include <cctype>

#include "platform/platformprofile.h"

namespace vortan {

namespace {
std::size_t NamePartStart(const std::string& f) {
  const std::size_t slash = f.rfind(platform::PathSeparator);
  return slash == std::string::npos ? 0 : slash + 1;
}
std::size_t ExtensionDot(const std::string& f) {
  const std::size_t dot = f.find_last_of('.');
  return dot == std::string::npos || dot < NamePartStart(f) ? std::string::npos : dot;
}
}  // namespace

std::string FileNamePart(const std::string& fileName) {
  return fileName.substr(NamePartStart(fileName));
}

std::string EditorCaption(const std::string& fileName, bool fullPath) {
  return fullPath ? fileName : FileNamePart(fileName);
}

std::string DirectoryPart(const std::string& fileName) {
  return fileName.substr(0, NamePartStart(fileName));
}

std::string FileExtension(const std::string& fileName) {
  const std::size_t dot = ExtensionDot(fileName);
  return dot == std::string::npos ? std::string() : fileName.substr(dot);
}

const char* const FortranSourceExtensions[4] = {".f", ".for", ".f77", ".ftn"};

bool IsFortranSourceName(const std::string& fileName) {
  std::string ext = FileExtension(fileName);
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (const char* known : FortranSourceExtensions)
    if (ext == known) return true;
  return false;
}

std::string WithSourceExtension(const std::string& fileName) {
  return WithExtension(fileName, ".f");
}

std::string WithExtension(const std::string& fileName, const std::string& extension) {
  return FileExtension(fileName).empty() ? fileName + extension : fileName;
}

std::string ChangeFileExtension(const std::string& fileName, const std::string& extension) {
  const std::size_t dot = ExtensionDot(fileName);
  return (dot == std::string::npos ? fileName : fileName.substr(0, dot)) + extension;
}

std::string BackupFileName(const std::string& fileName) {
  const std::size_t dot = ExtensionDot(fileName);
  if (dot == std::string::npos) return fileName + ".~";
  return fileName.substr(0, dot + 1) + "~" + fileName.substr(dot + 1);
}

}  // namespace vortan
