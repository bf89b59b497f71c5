#pragma once
// The constants that differ between platforms. Nothing else hard-codes them.

namespace vortan::platform {

inline constexpr char PathSeparator = '/';
inline constexpr char PathListSeparator = ':';
inline constexpr const char* AnalyzerFileName = "ftnchek";
inline constexpr const char* CompilerFileName = "gfortran";
inline constexpr const char* DebuggerFileName = "gdb";
/// The re-indenter of fixed-form sources (Debian package findent).
inline constexpr const char* ReindentFileName = "findent";
/// Defaults of the tool-chain check lists (settings 51 and 52), one item per CR LF line.
inline constexpr const char* BinCheckList = "ftnchek\r\ngfortran\r\ngdb";
inline constexpr const char* LibCheckList = "";
inline constexpr const char* HelpFileName = "Vortan2.html";
inline constexpr const char* TutorialFileName = "Tutorial.html";
inline constexpr const char* ParlaxFileName = "Parlax";
inline constexpr const char* RunWithScriptName = "RunWith.sh";
inline constexpr const char* ShellVariable = "SHELL";
inline constexpr const char* ShellArgument = "-c";
/// Environment variables tried, in order, for the temporary directory.
inline constexpr const char* TempVariables[] = {"TMPDIR", "TMP", "TEMP"};

}  // namespace vortan::platform
