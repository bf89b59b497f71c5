#pragma once
// The main window's layout kept across runs: the window placement (setting 0) and where each
// toolbar and panel stands (settings 1 to 7), read from and written to their stored texts,
// which stay the one record of the layout.
//
// Qt has no call to put a toolbar at a pixel offset in a row nor to float it from code:
// rows are rebuilt through toolbar breaks in stored order, bars of a row keep their order
// (not their offsets), and a floating toolbar becomes a tool window as Qt's own drag does.

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <vector>

#include "config/docklayout.h"
#include "config/storedformats.h"

class QDockWidget;
class QToolBar;

namespace vortan {

class TfrmMain;

class TMainLayout : public QObject {
  Q_OBJECT
 public:
  explicit TMainLayout(TfrmMain& window);

  /// Applies settings 0 to 7. Floating bars and panels appear when the window is first shown.
  void Load();
  /// Writes settings 0 to 7 from where everything stands now.
  void Save();

  /// Makes a toolbar a floating tool window at `rect` (as dragging it off its dock does).
  static void FloatToolbar(QToolBar* bar, const QRect& rect);
  /// The usable areas of the screens.
  static std::vector<TScreenRect> Screens();

  /// The texts Save would write, without writing them: 0 placement, 1..7 the bars.
  TWindowPlacement CurrentPlacement() const;
  TBarLayout CurrentBar(int id) const;

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  struct TBarRef {
    int Id;
    QToolBar* Bar;
  };
  struct TDockRef {
    int Id;
    QDockWidget* Dock;
  };
  std::vector<TBarRef> Toolbars() const;
  std::vector<TDockRef> Panels() const;
  void LoadToolbars();
  void LoadPanels();

  TfrmMain& window_;
  /// Floating windows to show with the main window.
  std::vector<QPointer<QWidget>> pending_;
};

}  // namespace vortan
