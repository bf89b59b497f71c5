#pragma once
// The Fortran highlighter shared by all editor windows: the scanner plus the seven attributes
// its tokens are painted with.

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "config/storedformats.h"
#include "editor/fortranscanner.h"

namespace vortan {

class TSettingsStore;

/// Attributes in list order; settings 146 to 152 hold them in the same order.
enum TFortranAttribute : int {
  faComment,
  faIdentifier,
  faKey,
  faNumber,
  faSpace,
  faString,
  faSymbol,
};
constexpr int FortranAttributeCount = 7;

/// What other parts of the text control may ask for without knowing the language.
enum class TGenericAttribute { Comment, Identifier, Keyword, String, Whitespace, Symbol };

class TSynFortranSyn {
 public:
  using TAttributes = std::array<THighlightAttribute, FortranAttributeCount>;

  /// Comment italic and Reserved Word bold, no colours: the look before settings are loaded.
  TSynFortranSyn();
  TSynFortranSyn(const TSynFortranSyn&) = delete;
  TSynFortranSyn& operator=(const TSynFortranSyn&) = delete;

  // Scanning, as TFortranScanner: SetRange, SetLine, then Next until GetEol.
  void SetLine(std::string_view line, int lineNumber) { scanner_.SetLine(line, lineNumber); }
  void Next() { scanner_.Next(); }
  bool GetEol() const { return scanner_.GetEol(); }
  TTokenKind GetTokenKind() const { return scanner_.GetTokenKind(); }
  /// 0-based byte offset of the current token in the line.
  int GetTokenPos() const { return scanner_.GetTokenPos(); }
  int GetTokenLen() const { return scanner_.GetTokenLen(); }
  std::string_view GetToken() const { return scanner_.GetToken(); }
  int GetRange() const { return scanner_.GetRange(); }
  void SetRange(int range) { scanner_.SetRange(range); }
  void ResetRange() { scanner_.ResetRange(); }
  TFortranScanner& Scanner() { return scanner_; }

  /// The attribute painting the current token; nullptr at the end of the line.
  const THighlightAttribute* GetTokenAttribute() const;
  /// Index of the attribute painting a token kind (Unknown paints as Identifier); -1 for Null.
  static int AttributeIndexOf(TTokenKind kind);

  /// "Comment", "Identifier", "Reserved Word", ... as the options dialog shows them.
  static const char* AttributeName(int index);
  const TAttributes& Attributes() const { return attributes_; }
  const THighlightAttribute& Attribute(int index) const;
  void SetAttribute(int index, const THighlightAttribute& value);
  /// Replaces all seven at once with one change notification (e.g. from the options dialog).
  void SetAttributes(const TAttributes& attributes);
  const THighlightAttribute& GetDefaultAttribute(TGenericAttribute which) const;
  /// Text past column 72 of a statement line, which the compiler does not read.
  const THighlightAttribute& IgnoredAttribute() const { return ignored_; }
  void SetIgnoredAttribute(const THighlightAttribute& value);
  static const char* IgnoredAttributeName() { return "Past column 72"; }

  /// The seven attributes and the one past column 72; damaged stored texts fall back to the
  /// table's defaults.
  void LoadAttributes(TSettingsStore& store);
  void SaveAttributes(TSettingsStore& store) const;

  /// Called after every attribute change so that the text controls repaint. Returns an id
  /// for RemoveChangeHandler.
  int AddChangeHandler(std::function<void()> handler);
  void RemoveChangeHandler(int id);

  static std::string_view GetLanguageName() { return "Fortran"; }
  const std::string& DefaultFilter() const { return defaultFilter_; }
  void SetDefaultFilter(std::string filter) { defaultFilter_ = std::move(filter); }
  /// Word characters for word selection and whole-word search.
  static bool IsWordChar(unsigned char c);

 private:
  void Changed();

  TFortranScanner scanner_;
  TAttributes attributes_{};
  THighlightAttribute ignored_{};
  std::string defaultFilter_ = "Fortran Files (*.for)|*.for";
  std::vector<std::pair<int, std::function<void()>>> handlers_;
  int nextHandlerId_ = 1;
};

}  // namespace vortan
