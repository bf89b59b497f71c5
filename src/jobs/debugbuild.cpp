#include "jobs/debugbuild.h"

#include "jobs/commandline.h"
#include "jobs/environment.h"
#include "jobs/toolcapture.h"
#include "platform/terminal.h"

namespace vortan {

std::string DebugProgramOf(const std::string& program) { return program + ".debug"; }

std::vector<std::string> DebugCompileArguments(const std::string& compiler,
                                               const std::string& options,
                                               const std::vector<std::string>& sources,
                                               const std::string& program) {
  std::vector<std::string> args{compiler};
  for (std::string& word : SplitCommandLine(options)) args.push_back(std::move(word));
  args.insert(args.end(), {"-g", "-O0"});
  args.insert(args.end(), sources.begin(), sources.end());
  args.insert(args.end(), {"-o", program});
  return args;
}

bool CompileForDebugging(const std::vector<std::string>& arguments,
                         const std::string& workingDirectory, std::string& output) {
  if (arguments.empty() || platform::FindExecutable(arguments.front()).empty()) {
    // The caller tells "not found" by the empty output.
    output.clear();
    return false;
  }
  TEnvironment environment;
  environment.LoadCurrent();
  environment.SetEnglishMessages();
  std::vector<char*> envp = environment.Envp();
  TToolCapture capture(-1, [] { return false; });
  TChildStart how;
  how.Arguments = arguments;
  how.WorkingDirectory = workingDirectory;
  how.Envp = envp.empty() ? nullptr : envp.data();
  const TJobResult result = capture.Run(how);
  output = capture.Output;
  return result == jrOK && capture.ExitCode == 0;
}

}  // namespace vortan
