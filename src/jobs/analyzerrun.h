#pragma once
// The command line the analyzer capture job runs.

#include <string>
#include <vector>

namespace vortan {

class TProcessThread;

/// How the analyzer is started.
struct TAnalyzerRun {
  /// The analyzer in double quotes.
  std::string ProgramPath;
  /// The format with the additional parameters and the quoted source put in, in this order.
  std::string Parameters;
  /// The installation directory.
  std::string WorkingDirectory;

  /// Gives a capture job this run and `source` as its FileName; its environment stays
  /// untouched, so the analyzer inherits the program's own.
  void ApplyTo(TProcessThread& job, const std::string& source) const;
};

TAnalyzerRun MakeAnalyzerRun(const std::string& analyzer, const std::string& format,
                             const std::string& additionalParameters, const std::string& source,
                             const std::string& installDir);

/// The run over several sources at once: their quoted names, separated by blanks, take the
/// source's place, so the analyzer checks them as one program.
TAnalyzerRun MakeAnalyzerRun(const std::string& analyzer, const std::string& format,
                             const std::string& additionalParameters,
                             const std::vector<std::string>& sources,
                             const std::string& installDir);

/// The same from the installation resolvers and the settings: the analyzer found for setting
/// 33, the "Analyzer Format", the "Additional analyzer parameters" and the installation
/// directory. A missing analyzer gives empty quotes, which cannot be started.
TAnalyzerRun AnalyzerRunFromSettings(const std::string& source);
TAnalyzerRun AnalyzerRunFromSettings(const std::vector<std::string>& sources);

}  // namespace vortan
