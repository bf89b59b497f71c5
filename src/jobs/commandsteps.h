#pragma once
// What each build command does, as data: the list of steps the runner walks through and the
// few ways in which the commands differ, each written once here.

#include <cstdint>
#include <vector>

namespace vortan {

/// One step: a tool job and the reading of what it printed.
enum class TStepKind : std::uint8_t {
  Analyze,     ///< the analyzer over the list's files, then the parse of its report
  Compile,     ///< the compiler on the one file, into its program
  CompileAll,  ///< every changed unit compiled side by side, then the link (one job)
  Run,         ///< the program just built (or the editor's program) in a terminal
  Debug,       ///< the debugger on the program just built, in a terminal
};

enum class TBuildCommand : std::uint8_t {
  Analyze,
  Compile,
  Run,
  Execute,
  Debug,
  CompileAll,
  AnalyzeAll,
  /// Run and Debug on the main file of the program Compile All linked last.
  CompileAllAndRun,
  CompileAllAndDebug,
};

/// Which documents a list works on.
enum class TStepFiles : std::uint8_t {
  Active,  ///< the active editor's document, saved first when the user wants it so
  AllOpen  ///< every open source document
};

/// How the analyzer saying "Cannot open" is taken.
enum class TCannotOpen : std::uint8_t {
  /// No analysis: when it names the file itself, or when it found nothing else; the report
  /// goes to the Output panel.
  FailsTheAnalysis,
  /// One unreadable file among many: the report goes to the Output panel, the outcome stays.
  ShownInOutput,
};

struct TCommandSteps {
  std::vector<TStepKind> Steps;
  TStepFiles Files = TStepFiles::Active;
  /// Analyzer errors end the list (a compile after them runs only with "Ignore analyzer
  /// errors"), the first error is opened and the progress window closes.
  bool OpenFirstAnalyzerError = false;
  TCannotOpen CannotOpen = TCannotOpen::FailsTheAnalysis;
};

const TCommandSteps& StepsOf(TBuildCommand command);

/// The command of a build action's number (Compile 0, Execute 1, Analyze 2, Run 3, Debug 6);
/// false for any other number.
bool CommandOfAction(int tag, TBuildCommand& command);

/// Run and Debug on the main file of a program of several files build it with all of them.
TBuildCommand WithAllFiles(TBuildCommand command);

}  // namespace vortan
