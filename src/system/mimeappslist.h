#pragma once
// The user's choice of applications per MIME type (mimeapps.list).

#include <string>
#include <vector>

namespace vortan {

/// Edits mimeapps.list in place: every line an edit does not concern stays as it was, with
/// its comments, order and other groups. MIME types compare without regard to case.
class TMimeAppsList {
 public:
  static constexpr const char* DefaultApplications = "Default Applications";
  static constexpr const char* AddedAssociations = "Added Associations";
  static constexpr const char* RemovedAssociations = "Removed Associations";

  /// Reads the file; a missing file gives an empty list. False when it exists but cannot be
  /// read.
  bool Load(const std::string& path);
  /// Parses the text of a file.
  void Parse(const std::string& text);
  /// Writes the file, replacing it at once.
  bool Save(const std::string& path) const;
  std::string Text() const;

  /// The desktop file ids of `mimeType` in `group`, in order (empty when the key is absent).
  std::vector<std::string> Get(const std::string& group, const std::string& mimeType) const;
  /// Sets the ids of `mimeType` in `group`, creating the group when needed; an empty list
  /// removes the key.
  void Set(const std::string& group, const std::string& mimeType,
           const std::vector<std::string>& ids);

 private:
  struct TLine {
    std::string Text;
    std::string Group;  ///< the group the line belongs to (empty before the first header)
  };
  static bool IsHeader(const std::string& text, std::string* name = nullptr);
  static bool KeyIs(const std::string& text, const std::string& key, std::string* value = nullptr);

  std::vector<TLine> lines_;
  bool endsWithNewline_ = true;
};

}  // namespace vortan
