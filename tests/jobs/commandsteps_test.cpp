// Each build command's steps and the ways in which the commands differ, read from the table.
#include <gtest/gtest.h>

#include <vector>

#include "jobs/commandsteps.h"

namespace vortan {
namespace {

using S = TStepKind;

struct TCase {
  const char* Name;
  TBuildCommand Command;
  std::vector<TStepKind> Steps;
  TStepFiles Files;
  bool OpenFirstAnalyzerError;
  TCannotOpen CannotOpen;
};

TEST(CommandSteps, EachCommandHasItsStepsAndProperties) {
  const auto A = TStepFiles::Active;
  const auto All = TStepFiles::AllOpen;
  const auto Fails = TCannotOpen::FailsTheAnalysis;
  const auto Shown = TCannotOpen::ShownInOutput;
  const TCase cases[] = {
      {"Analyze", TBuildCommand::Analyze, {S::Analyze}, A, true, Fails},
      {"Compile", TBuildCommand::Compile, {S::Analyze, S::Compile}, A, true, Fails},
      {"Run", TBuildCommand::Run, {S::Analyze, S::Compile, S::Run}, A, true, Fails},
      {"Execute", TBuildCommand::Execute, {S::Run}, A, false, Fails},
      {"Debug", TBuildCommand::Debug, {S::Analyze, S::Compile, S::Debug}, A, true, Fails},
      {"Compile All", TBuildCommand::CompileAll, {S::CompileAll}, All, false, Shown},
      {"Analyze all", TBuildCommand::AnalyzeAll, {S::Analyze}, All, false, Shown},
      {"Run of a linked program",
       TBuildCommand::CompileAllAndRun,
       {S::CompileAll, S::Run},
       All,
       false,
       Shown},
      {"Debug of a linked program",
       TBuildCommand::CompileAllAndDebug,
       {S::CompileAll, S::Debug},
       All,
       false,
       Shown},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const TCommandSteps& list = StepsOf(c.Command);
    EXPECT_EQ(list.Steps, c.Steps);
    EXPECT_EQ(list.Files, c.Files);
    EXPECT_EQ(list.OpenFirstAnalyzerError, c.OpenFirstAnalyzerError);
    EXPECT_EQ(list.CannotOpen, c.CannotOpen);
  }
}

TEST(CommandSteps, ActionNumbersAndTheLinkedProgramChooseTheList) {
  const struct {
    int Tag;
    bool Known;
    TBuildCommand Command;
    TBuildCommand WithAllFiles;
  } cases[] = {
      {0, true, TBuildCommand::Compile, TBuildCommand::Compile},
      {1, true, TBuildCommand::Execute, TBuildCommand::Execute},
      {2, true, TBuildCommand::Analyze, TBuildCommand::Analyze},
      {3, true, TBuildCommand::Run, TBuildCommand::CompileAllAndRun},
      {6, true, TBuildCommand::Debug, TBuildCommand::CompileAllAndDebug},
      {4, false, TBuildCommand::Analyze, TBuildCommand::Analyze},
      {-1, false, TBuildCommand::Analyze, TBuildCommand::Analyze},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Tag);
    TBuildCommand command = TBuildCommand::Analyze;
    EXPECT_EQ(CommandOfAction(c.Tag, command), c.Known);
    EXPECT_EQ(command, c.Command);
    EXPECT_EQ(WithAllFiles(command), c.WithAllFiles);
  }
}

}  // namespace
}  // namespace vortan
