#include "jobs/analyzerrun.h"

#include "jobs/commandline.h"
#include "jobs/processthread.h"
#include "config/settingids.h"
#include "config/settingsstore.h"
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

TAnalyzerRun AnalyzerRunFromSettings(const std::string& source) {
  TVortanExtension* extensions = VortanExtension();
  TVortanFormat* formats = VortanFormat();
  TVortanPath* paths = VortanPath();
  return MakeAnalyzerRun(extensions ? extensions->GetExtension(sidAnalyzerExtension) : "",
                         formats ? formats->GetFormat(sidAnalyzerFormat) : "",
                         ReadString(sidAdditionalAnalyzerParameters), source,
                         paths ? paths->GetPath(sidInstallPath) : "");
}

}  // namespace vortan
