#pragma once
// Named ids of the settings table rows, for calls such as ReadBool(sidNewWindowMaximized).

namespace vortan {

// Window
constexpr int sidMainWindow = 0;
constexpr int sidMenuToolbar = 1;
constexpr int sidFilesWindow = 2;
constexpr int sidMessagesWindow = 3;
constexpr int sidOutputWindow = 4;
constexpr int sidMainToolbar = 5;
constexpr int sidEditToolbar = 6;
constexpr int sidRunToolbar = 7;
constexpr int sidPrintPreviewToolbar = 8;

// General
constexpr int sidLanguageFile = 9;
constexpr int sidNewWindowMaximized = 10;
constexpr int sidStartWithNewSourceFile = 11;
constexpr int sidFullPathInWindowTitle = 12;
constexpr int sidANSIText = 13;
constexpr int sidThemeName = 14;
constexpr int sidIconStyle = 15;
constexpr int sidTextStyle = 16;
constexpr int sidFlatMenuStyle = 17;
constexpr int sidStretch = 18;
constexpr int sidShowSplashScreen = 19;
constexpr int sidAutoExpandMessages = 20;
constexpr int sidZoom = 21;
constexpr int sidOutputFont = 22;
constexpr int sidMergeStatusbar = 23;
constexpr int sidAutoSaveBeforeContinue = 24;
constexpr int sidCreateBackupFile = 25;

// History
constexpr int sidHistory = 26;

// Advanced
constexpr int sidAnalyzerFormat = 27;
constexpr int sidCompilerFormat = 28;
constexpr int sidDebuggerFormat = 29;

// Advanced\Error
constexpr int sidErrorList = 30;

// Advanced\Warning
constexpr int sidWarningList = 31;

// Advanced\Maybe
constexpr int sidMaybeList = 32;

// Install
constexpr int sidAnalyzerExtension = 33;
constexpr int sidCompilerExtension = 34;
constexpr int sidDebuggerExtension = 35;
constexpr int sidFtnchekManualExtension = 36;
constexpr int sidG77ManualExtension = 37;
constexpr int sidGDBManualExtension = 38;
constexpr int sidHelpExtension = 39;
constexpr int sidTutorialExtension = 40;
constexpr int sidParlaxExtension = 41;
constexpr int sidInstallPath = 42;
constexpr int sidLanguagePath = 43;
constexpr int sidBinPath = 44;
constexpr int sidLibPath = 45;
constexpr int sidTempPath = 46;
constexpr int sidDocPath = 47;
constexpr int sidStartMenuPath = 48;
constexpr int sidProgramsGroupPath = 49;
constexpr int sidDesktopPath = 50;

// Install\Bin
constexpr int sidBinCheckList = 51;

// Install\Lib
constexpr int sidLibCheckList = 52;

// Editor
constexpr int sidSyntaxHighlight = 53;
constexpr int sidAltSetsColumnMode = 54;
constexpr int sidWantTabs = 55;
constexpr int sidTabsToSpaces = 56;
constexpr int sidSmartTabs = 57;
constexpr int sidSmartTabDelete = 58;
constexpr int sidShowScrollHint = 59;
constexpr int sidScrollHintFollowsMouse = 60;
constexpr int sidDisableScrollArrows = 61;
constexpr int sidHalfPageScroll = 62;
constexpr int sidShowSpecialChars = 63;
constexpr int sidNoCaret = 64;
constexpr int sidNoSelection = 65;
constexpr int sidAutoIndent = 66;
constexpr int sidGroupUndo = 67;
constexpr int sidDragAndDropEditing = 68;
constexpr int sidTrimTrailingSpaces = 69;
constexpr int sidInsertMode = 70;
constexpr int sidHideSelection = 71;
constexpr int sidEnhanceHomeKey = 72;
constexpr int sidHideScrollbarsAsNecessary = 73;
constexpr int sidScrollByOneLess = 74;
constexpr int sidScrollPastEndOfFile = 75;
constexpr int sidScrollPastEndOfLine = 76;
constexpr int sidMaintainCaretColumn = 77;
constexpr int sidRightMouseMovesCursor = 78;
constexpr int sidMaxLeftChars = 79;
constexpr int sidAutoSizeMaxLeftChars = 80;
constexpr int sidUndoLimit = 81;
constexpr int sidTabStops = 82;
constexpr int sidGutterVisible = 83;
constexpr int sidGutterAutosize = 84;
constexpr int sidGutterShowLineNumbers = 85;
constexpr int sidGutterStartAtZero = 86;
constexpr int sidUseGutterFont = 87;
constexpr int sidGutterFont = 88;
constexpr int sidGutterShowLeadingZeros = 89;
constexpr int sidShowVerticalLine = 90;
constexpr int sidVerticalLineColor = 91;
constexpr int sidGutterWidth = 92;
constexpr int sidVerticalLineColumn = 93;
constexpr int sidInsertCaret = 94;
constexpr int sidOverwriteCaret = 95;
constexpr int sidFont = 96;
constexpr int sidFontSize = 97;

// Run
constexpr int sidAutoshowOutputWindow = 98;
constexpr int sidAutoshowMessagesWindow = 99;
constexpr int sidMinimizeOnRun = 100;
constexpr int sidMinimizeOnDebug = 101;
constexpr int sidIgnoreAnalyzerErrors = 102;
constexpr int sidProcessPriority = 103;
constexpr int sidAdditionalCompilerOptionsParameters = 104;
constexpr int sidAdditionalCompilerLibrariesParameters = 105;
constexpr int sidAdditionalAnalyzerParameters = 106;
constexpr int sidAdditionalDebuggerParameters = 107;
constexpr int sidRunWith = 108;

// Print
constexpr int sidMarginUnits = 109;
constexpr int sidLeftMargin = 110;
constexpr int sidRightMargin = 111;
constexpr int sidTopMargin = 112;
constexpr int sidBottomMargin = 113;
constexpr int sidGutterMargin = 114;
constexpr int sidHeaderMargin = 115;
constexpr int sidFooterMargin = 116;
constexpr int sidHeaderFooterInternalMargin = 117;
constexpr int sidHeaderFooterLeftTextIndent = 118;
constexpr int sidHeaderFooterRightTextIndent = 119;
constexpr int sidMirrorMargins = 120;
constexpr int sidPrintLineNumbers = 121;
constexpr int sidPrintLineNumbersInMargin = 122;
constexpr int sidSyntaxPrint = 123;
constexpr int sidUseColors = 124;
constexpr int sidWrapLines = 125;
constexpr int sidHeaderText = 126;
constexpr int sidHeaderMirror = 127;
constexpr int sidHeaderLine = 128;
constexpr int sidHeaderLineColor = 129;
constexpr int sidHeaderBox = 130;
constexpr int sidHeaderShadow = 131;
constexpr int sidHeaderShadowColor = 132;
constexpr int sidFooterText = 133;
constexpr int sidFooterMirror = 134;
constexpr int sidFooterLine = 135;
constexpr int sidFooterLineColor = 136;
constexpr int sidFooterBox = 137;
constexpr int sidFooterShadow = 138;
constexpr int sidFooterShadowColor = 139;

// Messages
constexpr int sidHidingMenuToolbar = 140;
constexpr int sidMenuToolbarIsHide = 141;
constexpr int sidClearHistory = 142;
constexpr int sidAssociateFiles = 143;
constexpr int sidInstallFileMissing = 144;
constexpr int sidSaveBeforeContinue = 145;

// Highlight
constexpr int sidHighlightComment = 146;
constexpr int sidHighlightIdentifier = 147;
constexpr int sidHighlightKey = 148;
constexpr int sidHighlightNumber = 149;
constexpr int sidHighlightSpace = 150;
constexpr int sidHighlightString = 151;
constexpr int sidHighlightSymbol = 152;
constexpr int sidHighlightErrorLine = 153;

// Changes
constexpr int sidChangesGutterWidth = 154;
constexpr int sidChangesEdgeColumn = 155;
constexpr int sidChangesMaxLeftChars = 156;
constexpr int sidChangesUndoLimit = 157;
constexpr int sidChangesTabStops = 158;
constexpr int sidChangesFontSize = 159;
constexpr int sidChangesLineNumbers = 160;
constexpr int sidChangesFind = 161;
constexpr int sidChangesReplaceFind = 162;
constexpr int sidChangesReplaceWith = 163;
constexpr int sidChangesAdditionalCompilerOptionsParameters = 164;
constexpr int sidChangesAdditionalCompilerLibrariesParameters = 165;
constexpr int sidChangesAdditionalAnalyzerParameters = 166;
constexpr int sidChangesAdditionalDebuggerParameters = 167;

// Find
constexpr int sidFindCaseSensitive = 168;
constexpr int sidFindWholeWordsOnly = 169;
constexpr int sidFindDirection = 170;
constexpr int sidFindScope = 171;
constexpr int sidFindOrigin = 172;

// Replace
constexpr int sidReplaceCaseSensitive = 173;
constexpr int sidReplaceWholeWordsOnly = 174;
constexpr int sidReplacePromptOnReplace = 175;
constexpr int sidReplaceDirection = 176;
constexpr int sidReplaceScope = 177;
constexpr int sidReplaceOrigin = 178;

// Symbols
constexpr int sidSymbolsWindow = 179;
constexpr int sidSymbolsAutoComplete = 180;
// LiveCheck: the background check of the active document while it is typed
constexpr int sidLiveCheck = 181;
/// The typing pause before a check, in milliseconds.
constexpr int sidLiveCheckDelay = 182;
constexpr int sidLiveCheckCompiler = 183;
constexpr int sidLiveCheckAnalyzer = 184;
/// The analyzer covers every open document, for findings across files.
constexpr int sidLiveCheckAnalyzeAll = 185;
// Debugger
constexpr int sidCallStackWindow = 186;
constexpr int sidVariablesWindow = 187;
constexpr int sidWatchWindow = 188;
/// TBreakpointList's stored text.
constexpr int sidBreakpoints = 189;
// Fixed-form editing
constexpr int sidFixedFormSmartReturn = 190;
constexpr int sidFixedFormContinueComments = 191;
constexpr int sidFixedFormContinuationMark = 192;
constexpr int sidFixedFormWrapAt72 = 193;
constexpr int sidFixedFormBlockIndent = 194;
constexpr int sidFixedFormLabelField = 195;
constexpr int sidFixedFormMatching = 196;
constexpr int sidFixedFormFolding = 197;
constexpr int sidFixedFormPastColumn72 = 198;
constexpr int sidFixedFormReindentOptions = 199;
// Debugger
/// The Watch panel's expressions, one per line.
constexpr int sidWatchExpressions = 200;

}  // namespace vortan
