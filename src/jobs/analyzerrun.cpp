#include "jobs/analyzerrun.h"

#include "config/settingids.h"
#include "config/settingsstore.h"
#include "jobs/commandline.h"
#include "jobs/processthread.h"
#include "system/vortanextension.h"
#include "system/vortanformat.h"
#include "system/vortanpath.h"

namespace vortan {

void TAnalyzerRun::ApplyTo(TProcessThread& job, const std::string& source) const {
  job.ProgramPath = ProgramPath;
  job.Parameters = Parameters;
  job.WorkingDirectory = WorkingDirectory;
  job.FileName = source;
}

TAnalyzerRun MakeAnalyzerRun(const std::string& analyzer, const std::string& format,
                             const std::string& additionalParameters, const std::string& source,
                             const std::string& installDir) {
  TAnalyzerRun run;
  run.ProgramPath = QuoteArgument(analyzer);
  run.Parameters = FormatArguments(format, {additionalParameters, QuoteArgument(source)});
  run.WorkingDirectory = installDir;
  return run;
}

TAnalyzerRun MakeAnalyzerRun(const std::string& analyzer, const std::string& format,
                             const std::string& additionalParameters,
                             const std::vector<std::string>& sources,
                             const std::string& installDir) {
  TAnalyzerRun run;
  run.ProgramPath = QuoteArgument(analyzer);
  std::string names;
  for (const std::string& source : sources) {
    if (!names.empty()) names += ' ';
    names += QuoteArgument(source);
  }
  run.Parameters = FormatArguments(format, {additionalParameters, names});
  run.WorkingDirectory = installDir;
  return run;
}

TAnalyzerRun AnalyzerRunFromSettings(const std::string& source) {
  return AnalyzerRunFromSettings(std::vector<std::string>{source});
}

TAnalyzerRun AnalyzerRunFromSettings(const std::vector<std::string>& sources) {
  TVortanExtension* extensions = VortanExtension();
  TVortanFormat* formats = VortanFormat();
  TVortanPath* paths = VortanPath();
  return MakeAnalyzerRun(extensions ? extensions->GetExtension(sidAnalyzerExtension) : "",
                         formats ? formats->GetFormat(sidAnalyzerFormat) : "",
                         ReadString(sidAdditionalAnalyzerParameters), sources,
                         paths ? paths->GetPath(sidInstallPath) : "");
}

}  // namespace vortan
