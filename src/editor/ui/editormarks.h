#pragma once
// The marker and indicator numbers the text control gives Scintilla, shared by the widget
// (bookmarks, marks kept across edits) and its painter (gutter, error lines).

namespace vortan::marks {

/// Bookmarks 0..9 are markers 0..9, drawn by the gutter painting.
constexpr int kBookmarkCount = 10;
constexpr int kBookmarkMask = (1 << kBookmarkCount) - 1;
/// The error-line background.
constexpr int kErrorMarker = 10;
/// An invisible tag on lines edited since the last trim.
constexpr int kEditedMarker = 11;
/// The first indicator free for containers paints the error lines' text colour.
constexpr int kErrorIndicator = 8;

/// Findings as you type: a gutter marker and a wavy underline per kind (error, warning,
/// may be). The markers stay out of kLineMarks: a replaced line is a changed line, whose
/// findings are gone.
constexpr int kLiveErrorMarker = 12;
constexpr int kLiveWarningMarker = 13;
constexpr int kLiveMaybeMarker = 14;
constexpr long kLiveMarks =
    (1L << kLiveErrorMarker) | (1L << kLiveWarningMarker) | (1L << kLiveMaybeMarker);
constexpr int kLiveErrorIndicator = 9;
constexpr int kLiveWarningIndicator = 10;
constexpr int kLiveMaybeIndicator = 11;
/// Debugger: markers 15-18, indicator 12 (17, 18 and 12 are free for it).
/// A breakpoint, drawn as a dot in the gutter; Scintilla moves it with the text.
constexpr int kBreakpointMarker = 15;
/// The line the debugged program stands on: a background and an arrow in the gutter.
constexpr int kDebugLineMarker = 16;
/// The markers that belong to their line and stay on it when the program replaces lines (a
/// Replace All, a conversion, their undo): bookmarks, error lines, edited lines, breakpoints.
constexpr int kLastLineMark = kBreakpointMarker;
constexpr long kLineMarks = ((1L << (kEditedMarker + 1)) - 1) | (1L << kBreakpointMarker);
// Fixed-form editing: the statements matching the caret's (a DO and its terminal statement,
// IF ... END IF, a unit and its END). Scintilla's own fold markers 25-31 draw the fold margin.
constexpr int kMatchIndicator = 13;

}  // namespace vortan::marks
