#pragma once
// One background check of an editor's unsaved text: the compiler's syntax check and the
// analyzer run over temporary copies, and their findings tied back to the user's files.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "editor/textcopy.h"
#include "jobs/analyzerkeywords.h"
#include "jobs/messagedata.h"

namespace vortan {

/// One text the check covers, as the editor holds it.
struct TLiveSource {
  /// The window the text belongs to; only compared, never used.
  TfrmEditor* Editor = nullptr;
  /// The user's file (empty for an untitled window); its folder is searched for INCLUDEs.
  std::string FileName;
  /// The name the findings show (the caption).
  std::string Shown;
  /// The text as the file's bytes.
  std::string Text;
  /// When set, the editor's copy that Text is made from in the worker, so that converting a
  /// large document never holds up typing.
  std::optional<TTextCopy> Copy;
};

/// What a check covers: the first source is compiled and analyzed; the others are analyzed
/// with it (the open set, for findings across files).
struct TLiveRequest {
  std::vector<TLiveSource> Sources;
};

/// The tools and their settings. An empty program leaves its tool out.
struct TLiveTools {
  std::string Compiler;
  /// "Additional compiler options parameters".
  std::string CompilerOptions;
  std::string Analyzer;
  /// "Analyzer Format" and "Additional analyzer parameters", as the Analyze command uses them.
  std::string AnalyzerFormat = "-nonovice -quiet -wrap=999 %s %s";
  std::string AnalyzerParameters;
  TAnalyzerKeywords Keywords;
  /// A tool still running after this long is ended.
  int TimeLimitMs = 10000;
  /// The most output kept of one tool.
  std::size_t OutputLimit = 1 << 20;
  /// Where the private temporary folder is made; empty means the system's.
  std::string TempBase;
};

/// One finding, in the user's file.
struct TLiveFinding {
  TfrmEditor* Editor = nullptr;
  /// The user's file name, or the file the tool named when it is none of the sources (an
  /// INCLUDEd file).
  std::string File;
  std::string Tool;
  TMessageKind Kind = mkError;
  /// 1-based; -1 when the tool named none. Column 1-based; 0 when it named none.
  int Line = -1;
  int Column = 0;
  std::string Text;
  /// The lines the tool printed below it (further places, the source line).
  std::vector<std::string> Details;
};

/// What a tool did besides its findings.
enum class TLiveToolState : std::uint8_t { Ran, Missing, TimedOut, Flooded, Stopped };

struct TLiveResult {
  std::vector<TLiveFinding> Findings;
  TLiveToolState Compiler = TLiveToolState::Ran;
  TLiveToolState Analyzer = TLiveToolState::Ran;
  /// The check was stopped before its end; its findings are not to be shown.
  bool Stopped = false;
};

/// Runs the check and waits for it. `stop` is asked while the tools run; once it returns true
/// the tools are ended. The user's files are only read from (their folders, for INCLUDEs).
TLiveResult RunLiveCheck(const TLiveRequest& request, const TLiveTools& tools,
                         const std::function<bool()>& stop);

}  // namespace vortan
