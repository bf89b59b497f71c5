#pragma once
// The string table: process-wide texts (messages, status texts, dialog captions and titles,
// priority names, selector labels), each starting as its built-in English default.

#include <initializer_list>
#include <string>
#include <string_view>

namespace vortan {

class TParlax;

/// Every entry, in the order of the table: the "str" keys first (in the order of
/// TStringsEnum), then ColorFG/ColorBG, the dialog titles, the button captions,
/// the priority names and the selector labels.
enum class TStr : int {
  strMsgFileMissing,
  strVerifyingComponents,
  strCreatingEnvironment,
  strStarting,
  strMsgAssociateExtension,
  strSourceFileDescription,
  strVortan2Link,
  strSource,
  strVortan2Dialog,
  strMsgShowMenu,
  strMsgMenuInvisible,
  strNothing,
  strMsgClearHistory,
  strRunningAnalyzer,
  strAnalyzing,
  strOK,
  strAnalyzed,
  strErrorsEncountered,
  strCompiling,
  strCompiled,
  strRunning,
  strMsgStringNotFound,
  strModified,
  strInsert,
  strOverwrite,
  strSaveChanges,
  strMsgReplaceOccurrence,
  strDoNotShowThisMessageAgain,
  strHeaderText,
  strGeneratedBy,
  strWarning,
  strError,
  strMayBe,
  strNone,
  strHTMLExportDialog,
  strRTFExportDialog,
  strDefault,
  strMoreButtons,
  strDebugging,
  strMsgExtensionNotFound,
  strMsgSaveBeforeContinue,
  strCantExecuteAnalyzer,
  strTerminatedByUser,
  strUnknownFailure,
  strAnalyzerFailure,
  strCantExecuteCompiler,
  strCantExecuteDebugger,
  strCantExecuteCompiledFile,
  strWaitingProcess,
  strMsgStoreDamaged,  // added: a damaged settings file was moved aside
  strMsgFileHasNul,
  strMsgSaveReplacesNul,
  strMsgBackupFailed,
  strMsgStoreReadOnly,
  strProgramEnded,  // added: safe saving, a read-only store, the end of a run
  strMsgInvalidValue,
  strMsgMarginsTooLarge,
  strMsgCharsetClearsUndo,  // added: Options checks
  strMsgNoPrintableArea,    // added: the print margins leave no room on the page
  // added: programs of several files
  strNoSourceFiles,
  strNoMainProgram,
  strManyMainPrograms,
  strMsgNoMainProgram,
  strMsgMainPrograms,
  strMsgNotFortran,
  strMsgMissingOnDisk,
  strLinking,
  // added: knowing the code (symbols)
  strIndexingSymbols,
  strSymbolsIndexed,
  strNoDefinition,
  strReferencesFound,
  strSymbolsThisFile,
  strSymbolsAllFiles,
  strSymbolsCalls,
  strSymbolsCalledBy,
  strSymbolsReferences,
  strSymbolsFilter,
  strRecursive,
  strSymbolsSkipped,
  // added: findings as you type
  strLiveGroup,
  strLiveToolMissing,
  strLiveToolTimedOut,
  strLiveToolFlooded,
  strDebugCompiling,
  strDebugCompileFailed,
  strDebugNoCompiler,
  strDebugGdbMissing,
  strDebugGdbNoStart,
  strDebugNoLoad,
  strDebugNoTerminal,
  strDebugExited,
  strDebugSignal,
  strDebugRuntimeError,
  strDebugUserStop,
  strDebugGdbEnded,
  strDebugStoppedAt,
  strDebugRunning,
  strDebugCondition,
  strDebugIgnoreCount,
  strDebugBreakpoint,
  strDebugMore,
  strDebugAddWatch,
  strCallStack,
  strVariables,
  strWatch,
  strDebugName,
  strDebugValue,
  strDebugType,
  strDebugRoutine,
  strDebugPlace,
  // added: re-indenting fixed-form sources
  strMsgReindentToolMissing,
  strMsgReindentRefused,
  ColorFG,
  ColorBG,
  MsgDlgWarning,
  MsgDlgError,
  MsgDlgInformation,
  MsgDlgConfirm,
  MsgDlgCustom,
  MsgDlgYes,
  MsgDlgNo,
  MsgDlgOK,
  MsgDlgCancel,
  MsgDlgAbort,
  MsgDlgRetry,
  MsgDlgIgnore,
  MsgDlgAll,
  MsgDlgNoToAll,
  MsgDlgYesToAll,
  MsgDlgHelp,
  PriorityIdle,
  PriorityLowest,
  PriorityLower,
  PriorityNormal,
  PriorityHigher,
  PriorityHighest,
  PriorityTimeCritical,
  ParlaAuthor,
  ParlaEmail,
  ParlaLangID,
  ParlaLanguage,
  ParlaVersion,
  ParlaFilename,
  Count
};

constexpr int StringCount = static_cast<int>(TStr::Count);

/// The key of an entry as it appears in the STRINGS section ("" for MsgDlgCustom, which
/// holds the application title and is not loaded from files).
const char* StringKey(TStr s);
/// Built-in English default.
const char* StringDefault(TStr s);
/// Current text of an entry.
const std::string& Str(TStr s);
/// Fills the table from the engine's STRINGS section; nothing unless the engine is Active.
void LoadStringTable(const TParlax& engine);
/// Sets every entry back to its built-in default.
void ResetStringTable();
/// Language-file text (the platform's 8-bit code page) as UTF-8: the one rule by which language
/// texts reach the screen.
std::string LanguageToUtf8(std::string_view bytes);
/// Current text of an entry as UTF-8.
std::string StrText(TStr s);
/// The entry as UTF-8 with its placeholders filled by UTF-8 texts (file names through
/// FileNameText, numbers, other UTF-8 texts): a message made of decoded parts.
std::string FormatText(TStr s, std::initializer_list<std::string> utf8Args);
/// printf-style formatting of "%s" and "%d" placeholders with the given texts, in order.
std::string FormatStr(const std::string& format, std::initializer_list<std::string> args);

}  // namespace vortan
