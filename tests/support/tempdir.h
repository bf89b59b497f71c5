#pragma once
// A temporary directory removed with everything in it when the test ends.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace vortan::test {

class TTempDir {
 public:
  TTempDir() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "vortan-test-XXXXXX").string();
    path_ = ::mkdtemp(tmpl.data());
  }
  ~TTempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TTempDir(const TTempDir&) = delete;
  TTempDir& operator=(const TTempDir&) = delete;

  const std::string& Path() const { return path_; }
  /// Full name of an entry inside the directory.
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }
  /// Writes a file (creating its folders) and returns its full name.
  std::string Write(const std::string& name, const std::string& bytes) const {
    const std::string full = *this / name;
    std::filesystem::create_directories(std::filesystem::path(full).parent_path());
    std::ofstream(full, std::ios::binary) << bytes;
    return full;
  }
  std::string MakeDir(const std::string& name) const {
    const std::string full = *this / name;
    std::filesystem::create_directories(full);
    return full;
  }

 private:
  std::string path_;
};

}  // namespace vortan::test
