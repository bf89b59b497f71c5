#include "jobs/commandsteps.h"

namespace vortan {

namespace {

using S = TStepKind;

const TCommandSteps kAnalyze{{S::Analyze}, TStepFiles::Active, true, TCannotOpen::FailsTheAnalysis};
const TCommandSteps kCompile{
    {S::Analyze, S::Compile}, TStepFiles::Active, true, TCannotOpen::FailsTheAnalysis};
const TCommandSteps kRun{
    {S::Analyze, S::Compile, S::Run}, TStepFiles::Active, true, TCannotOpen::FailsTheAnalysis};
const TCommandSteps kExecute{{S::Run}, TStepFiles::Active, false, TCannotOpen::FailsTheAnalysis};
const TCommandSteps kDebug{
    {S::Analyze, S::Compile, S::Debug}, TStepFiles::Active, true, TCannotOpen::FailsTheAnalysis};
const TCommandSteps kCompileAll{
    {S::CompileAll}, TStepFiles::AllOpen, false, TCannotOpen::ShownInOutput};
const TCommandSteps kAnalyzeAll{
    {S::Analyze}, TStepFiles::AllOpen, false, TCannotOpen::ShownInOutput};
const TCommandSteps kCompileAllAndRun{
    {S::CompileAll, S::Run}, TStepFiles::AllOpen, false, TCannotOpen::ShownInOutput};
const TCommandSteps kCompileAllAndDebug{
    {S::CompileAll, S::Debug}, TStepFiles::AllOpen, false, TCannotOpen::ShownInOutput};

}  // namespace

const TCommandSteps& StepsOf(TBuildCommand command) {
  switch (command) {
    case TBuildCommand::Analyze:
      return kAnalyze;
    case TBuildCommand::Compile:
      return kCompile;
    case TBuildCommand::Run:
      return kRun;
    case TBuildCommand::Execute:
      return kExecute;
    case TBuildCommand::Debug:
      return kDebug;
    case TBuildCommand::CompileAll:
      return kCompileAll;
    case TBuildCommand::AnalyzeAll:
      return kAnalyzeAll;
    case TBuildCommand::CompileAllAndRun:
      return kCompileAllAndRun;
    case TBuildCommand::CompileAllAndDebug:
      return kCompileAllAndDebug;
  }
  return kAnalyze;
}

bool CommandOfAction(int tag, TBuildCommand& command) {
  switch (tag) {
    case 0:
      command = TBuildCommand::Compile;
      return true;
    case 1:
      command = TBuildCommand::Execute;
      return true;
    case 2:
      command = TBuildCommand::Analyze;
      return true;
    case 3:
      command = TBuildCommand::Run;
      return true;
    case 6:
      command = TBuildCommand::Debug;
      return true;
    default:
      return false;
  }
}

TBuildCommand WithAllFiles(TBuildCommand command) {
  if (command == TBuildCommand::Run) return TBuildCommand::CompileAllAndRun;
  if (command == TBuildCommand::Debug) return TBuildCommand::CompileAllAndDebug;
  return command;
}

}  // namespace vortan
