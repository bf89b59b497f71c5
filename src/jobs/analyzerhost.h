#pragma once
// What the report parse job needs from the interface thread.

#include <string>
#include <vector>

#include "jobs/analyzerkeywords.h"
#include "jobs/messagelist.h"

namespace vortan {

class TfrmEditor;

/// The main window's side of the report parse job. Every call is made in the interface thread
/// while the job waits.
class TAnalyzerHost {
 public:
  virtual ~TAnalyzerHost() = default;

  /// The keyword lists of settings "Error", "Warning" and "Maybe".
  virtual TAnalyzerKeywords Keywords() = 0;
  /// The window of an existing file: the one that shows it, else the file opened in a new
  /// window in the background (minimized). An empty name asks for a new untitled window in the
  /// background. Null when no window can be had.
  virtual TfrmEditor* EditorFor(const std::string& file) = 0;
  /// The window's caption.
  virtual std::string Caption(TfrmEditor* editor) = 0;

  /// Brackets the entries of one report; the tree sorts itself when the bracket closes.
  virtual void BeginMessages() = 0;
  /// Adds top-level entries with their children, in reading order.
  virtual void AddMessages(std::vector<TMessageNode> entries) = 0;
  virtual void EndMessages() = 0;
  /// The counts so far: report lines read, warnings and may-be messages, errors.
  virtual void Progress(int /*lines*/, int /*hits*/, int /*errors*/) {}
};

}  // namespace vortan
