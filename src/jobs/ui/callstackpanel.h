#pragma once
// The Call Stack panel: the debugged program's frames, innermost first. A click on a frame
// shows its source and its variables.

#include <QTreeWidget>
#include <vector>

#include "jobs/debugdata.h"

namespace vortan {

class TCallStackPanel : public QTreeWidget {
  Q_OBJECT
 public:
  explicit TCallStackPanel(QWidget* parent = nullptr);
  void ShowFrames(const std::vector<TStackFrame>& frames, int selected);
  const std::vector<TStackFrame>& Frames() const { return frames_; }
  void Translate();

 signals:
  void FrameChosen(int level);

 private:
  std::vector<TStackFrame> frames_;
};

}  // namespace vortan
