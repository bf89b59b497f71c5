#include "i18n/stringtable.h"

#include <array>
#include <memory>
#include <vector>

#include "i18n/parlax.h"
#include "platform/codepage.h"

namespace vortan {

namespace {

// Keys in the order of TStr.
constexpr std::array<const char*, StringCount> kKeys = {
    "strMsgFileMissing",
    "strVerifyingComponents",
    "strCreatingEnvironment",
    "strStarting",
    "strMsgAssociateExtension",
    "strSourceFileDescription",
    "strVortan2Link",
    "strSource",
    "strVortan2Dialog",
    "strMsgShowMenu",
    "strMsgMenuInvisible",
    "strNothing",
    "strMsgClearHistory",
    "strRunningAnalyzer",
    "strAnalyzing",
    "strOK",
    "strAnalyzed",
    "strErrorsEncountered",
    "strCompiling",
    "strCompiled",
    "strRunning",
    "strMsgStringNotFound",
    "strModified",
    "strInsert",
    "strOverwrite",
    "strSaveChanges",
    "strMsgReplaceOccurrence",
    "strDoNotShowThisMessageAgain",
    "strHeaderText",
    "strGeneratedBy",
    "strWarning",
    "strError",
    "strMayBe",
    "strNone",
    "strHTMLExportDialog",
    "strRTFExportDialog",
    "strDefault",
    "strMoreButtons",
    "strDebugging",
    "strMsgExtensionNotFound",
    "strMsgSaveBeforeContinue",
    "strCantExecuteAnalyzer",
    "strTerminatedByUser",
    "strUnknownFailure",
    "strAnalyzerFailure",
    "strCantExecuteCompiler",
    "strCantExecuteDebugger",
    "strCantExecuteCompiledFile",
    "strWaitingProcess",
    "strMsgStoreDamaged",
    "strMsgFileHasNul",
    "strMsgSaveReplacesNul",
    "strMsgBackupFailed",
    "strMsgStoreReadOnly",
    "strProgramEnded",
    "strMsgInvalidValue",
    "strMsgMarginsTooLarge",
    "strMsgCharsetClearsUndo",
    "strMsgNoPrintableArea",
    "strNoSourceFiles",
    "strNoMainProgram",
    "strManyMainPrograms",
    "strMsgNoMainProgram",
    "strMsgMainPrograms",
    "strMsgNotFortran",
    "strMsgMissingOnDisk",
    "strLinking",
    "strIndexingSymbols",
    "strSymbolsIndexed",
    "strNoDefinition",
    "strReferencesFound",
    "strSymbolsThisFile",
    "strSymbolsAllFiles",
    "strSymbolsCalls",
    "strSymbolsCalledBy",
    "strSymbolsReferences",
    "strSymbolsFilter",
    "strRecursive",
    "strSymbolsSkipped",
    "strLiveGroup",
    "strLiveToolMissing",
    "strLiveToolTimedOut",
    "strLiveToolFlooded",
    "strDebugCompiling",
    "strDebugCompileFailed",
    "strDebugNoCompiler",
    "strDebugGdbMissing",
    "strDebugGdbNoStart",
    "strDebugNoLoad",
    "strDebugNoTerminal",
    "strDebugExited",
    "strDebugSignal",
    "strDebugRuntimeError",
    "strDebugUserStop",
    "strDebugGdbEnded",
    "strDebugStoppedAt",
    "strDebugRunning",
    "strDebugCondition",
    "strDebugIgnoreCount",
    "strDebugBreakpoint",
    "strDebugMore",
    "strDebugAddWatch",
    "strCallStack",
    "strVariables",
    "strWatch",
    "strDebugName",
    "strDebugValue",
    "strDebugType",
    "strDebugRoutine",
    "strDebugPlace",
    "strMsgReindentToolMissing",
    "strMsgReindentRefused",
    "ColorFG",
    "ColorBG",
    "MsgDlgWarning",
    "MsgDlgError",
    "MsgDlgInformation",
    "MsgDlgConfirm",
    "",
    "MsgDlgYes",
    "MsgDlgNo",
    "MsgDlgOK",
    "MsgDlgCancel",
    "MsgDlgAbort",
    "MsgDlgRetry",
    "MsgDlgIgnore",
    "MsgDlgAll",
    "MsgDlgNoToAll",
    "MsgDlgYesToAll",
    "MsgDlgHelp",
    "PriorityIdle",
    "PriorityLowest",
    "PriorityLower",
    "PriorityNormal",
    "PriorityHigher",
    "PriorityHighest",
    "PriorityTimeCritical",
    "ParlaAuthor",
    "ParlaEmail",
    "ParlaLangID",
    "ParlaLanguage",
    "ParlaVersion",
    "ParlaFilename",
};

constexpr const char* kApplicationTitle = "Vortan 2.0";

bool Valid(TStr s) {
  const int i = static_cast<int>(s);
  return i >= 0 && i < StringCount;
}

// The English texts live only in the built-in template; read them from it once.
const std::vector<std::string>& Defaults() {
  static const std::vector<std::string> defaults = [] {
    const std::unique_ptr<TParlaxItem> strings =
        ReadSectionFromText(BuiltInTemplate(), {SectionWord(TParlaxSection::Strings)});
    std::vector<std::string> texts(StringCount);
    for (int i = 0; i < StringCount; ++i) {
      if (static_cast<TStr>(i) == TStr::MsgDlgCustom) {
        texts[i] = kApplicationTitle;
      } else if (strings) {
        strings->GetString(kKeys[i], texts[i]);
      }
    }
    return texts;
  }();
  return defaults;
}

std::vector<std::string>& Table() {
  static std::vector<std::string> table = Defaults();
  return table;
}

}  // namespace

const char* StringKey(TStr s) { return Valid(s) ? kKeys[static_cast<int>(s)] : ""; }

const char* StringDefault(TStr s) {
  return Valid(s) ? Defaults()[static_cast<int>(s)].c_str() : "";
}

const std::string& Str(TStr s) {
  static const std::string none;
  return Valid(s) ? Table()[static_cast<int>(s)] : none;
}

void LoadStringTable(const TParlax& engine) {
  if (!engine.Active) return;
  const TParlaxItem* strings = engine.Root().FindChild(SectionWord(TParlaxSection::Strings));
  if (!strings) return;
  std::vector<std::string>& table = Table();
  for (int i = 0; i < StringCount; ++i) {
    if (*kKeys[i] == '\0') continue;
    strings->GetString(kKeys[i], table[i]);
  }
}

void ResetStringTable() { Table() = Defaults(); }

std::string FormatStr(const std::string& format, std::initializer_list<std::string> args) {
  std::string out;
  out.reserve(format.size());
  auto next = args.begin();
  for (std::size_t i = 0; i < format.size(); ++i) {
    const char c = format[i];
    if (c != '%' || i + 1 >= format.size()) {
      out.push_back(c);
      continue;
    }
    const char kind = format[i + 1];
    if (kind == '%') {
      out.push_back('%');
      ++i;
    } else if ((kind == 's' || kind == 'd') && next != args.end()) {
      out += *next++;
      ++i;
    } else {
      out.push_back(c);  // unknown or unfilled placeholder stays as written
    }
  }
  return out;
}

std::string LanguageToUtf8(std::string_view bytes) {
  return platform::BytesToUtf8(platform::TCodePage::Ansi, bytes);
}

std::string StrText(TStr s) { return LanguageToUtf8(Str(s)); }

std::string FormatText(TStr s, std::initializer_list<std::string> utf8Args) {
  return FormatStr(StrText(s), utf8Args);
}

}  // namespace vortan
