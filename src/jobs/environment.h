#pragma once
// The environment handed to a child process.

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vortan {

/// An ordered list of NAME=value entries with name lookup that ignores letter case (on every
/// platform, so a list built from "Path" and one built from "PATH" behave alike). The block is
/// rebuilt after every change made outside an update bracket; until the first build it is
/// absent, which tells the launcher to let the child inherit the program's own environment.
class TEnvironment {
 public:
  /// Adds the entry, or replaces the entry of the same name in its place (taking the new
  /// spelling of the name). An entry without "=", with an empty name or holding a NUL byte is
  /// ignored.
  void Add(const std::string& entry);
  /// Adds every entry of the program's own environment, in the order the system keeps them.
  void LoadCurrent();
  /// The compiler's environment: the program's own, with `binDir` first in "PATH" and
  /// "LIBRARY_PATH" set to `libDir`.
  void LoadForCompiler(const std::string& binDir, const std::string& libDir);
  /// Puts `binDir` first in "PATH", separated by the platform's list separator from an old value
  /// that is not empty, and sets "LIBRARY_PATH" to `libDir`, replacing any old value. An empty
  /// folder leaves its variable as it was.
  void SetCompilerPaths(const std::string& binDir, const std::string& libDir);

  /// The tools' messages in English, for reading them ("LC_MESSAGES" = "C"), whatever the
  /// user's language. "LC_ALL" would overrule it, so it goes and its value is given to every
  /// other category, which it ruled, so that only the messages change.
  void SetEnglishMessages();

  /// The text after the first "=" of the named entry; empty when there is none.
  std::string GetValue(std::string_view name) const;
  void SetValue(const std::string& name, const std::string& value);
  /// Position of the named entry, or -1.
  int IndexOfName(std::string_view name) const;
  void Delete(std::size_t index);
  void Clear();

  std::size_t Count() const { return entries_.size(); }
  const std::string& operator[](std::size_t index) const { return entries_[index]; }

  /// Nestable; while a bracket is open no block is built, and closing the outermost builds it.
  void BeginUpdate();
  void EndUpdate();

  /// The entries in order, each followed by a NUL byte, then one more NUL; null when absent.
  const char* Block() const { return built_ ? block_.data() : nullptr; }
  std::size_t BlockSize() const { return built_ ? block_.size() : 0; }
  /// The block as a null-terminated array for the child's envp; empty when the block is absent.
  /// The pointers stay valid until the next change.
  std::vector<char*> Envp();

 private:
  void Changed();
  void Rebuild();
  void Reindex();
  static std::string Key(std::string_view name);

  std::vector<std::string> entries_;
  std::unordered_map<std::string, std::size_t> index_;
  std::vector<char> block_;
  bool built_ = false;
  int updates_ = 0;
};

}  // namespace vortan
