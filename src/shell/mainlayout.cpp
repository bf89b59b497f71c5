#include "shell/mainlayout.h"

#include <QApplication>
#include <QDockWidget>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QToolBar>
#include <map>

#include "config/settingids.h"
#include "config/settingsstore.h"
#include "config/settingstable.h"
#include "shell/mainwindow.h"

namespace vortan {

namespace {

const char* Default(int id) { return SettingsTable[std::size_t(id)].DefaultText; }

TBarLayout Stored(int id) { return BarLayoutFromStored(ReadString(id), Default(id)); }

Qt::ToolBarArea ToolBarArea(TDockSide side) {
  switch (side) {
    case TDockSide::Bottom:
      return Qt::BottomToolBarArea;
    case TDockSide::Left:
      return Qt::LeftToolBarArea;
    case TDockSide::Right:
      return Qt::RightToolBarArea;
    default:
      return Qt::TopToolBarArea;
  }
}

Qt::DockWidgetArea DockArea(TDockSide side) {
  switch (side) {
    case TDockSide::Top:
      return Qt::TopDockWidgetArea;
    case TDockSide::Bottom:
      return Qt::BottomDockWidgetArea;
    case TDockSide::Right:
      return Qt::RightDockWidgetArea;
    default:
      return Qt::LeftDockWidgetArea;
  }
}

TDockSide SideOf(Qt::ToolBarArea a) {
  switch (a) {
    case Qt::TopToolBarArea:
      return TDockSide::Top;
    case Qt::BottomToolBarArea:
      return TDockSide::Bottom;
    case Qt::LeftToolBarArea:
      return TDockSide::Left;
    case Qt::RightToolBarArea:
      return TDockSide::Right;
    default:
      return TDockSide::None;
  }
}

TDockSide SideOf(Qt::DockWidgetArea a) {
  switch (a) {
    case Qt::TopDockWidgetArea:
      return TDockSide::Top;
    case Qt::BottomDockWidgetArea:
      return TDockSide::Bottom;
    case Qt::LeftDockWidgetArea:
      return TDockSide::Left;
    case Qt::RightDockWidgetArea:
      return TDockSide::Right;
    default:
      return TDockSide::None;
  }
}

QRect ToRect(const TScreenRect& r) { return {r.Left, r.Top, r.Width, r.Height}; }

TScreenRect PrimaryScreen() {
  const QScreen* s = QGuiApplication::primaryScreen();
  const QRect g = s ? s->availableGeometry() : QRect(0, 0, 1024, 768);
  return {g.x(), g.y(), g.width(), g.height()};
}

}  // namespace

TMainLayout::TMainLayout(TfrmMain& window) : QObject(&window), window_(window) {
  window.installEventFilter(this);
}

std::vector<TScreenRect> TMainLayout::Screens() {
  std::vector<TScreenRect> out;
  for (const QScreen* s : QGuiApplication::screens()) {
    const QRect g = s->availableGeometry();
    out.push_back({g.x(), g.y(), g.width(), g.height()});
  }
  return out;
}

std::vector<TMainLayout::TBarRef> TMainLayout::Toolbars() const {
  return {{sidMenuToolbar, window_.MenuToolbar()},
          {sidMainToolbar, window_.MainToolbar()},
          {sidEditToolbar, window_.EditToolbar()},
          {sidRunToolbar, window_.RunToolbar()}};
}

std::vector<TMainLayout::TDockRef> TMainLayout::Panels() const {
  return {{sidFilesWindow, window_.FilesWindow()},
          {sidMessagesWindow, window_.MessagesWindow()},
          {sidOutputWindow, window_.OutputWindow()},
          {sidSymbolsWindow, window_.SymbolsWindow()},
          {sidCallStackWindow, window_.CallStackWindow()},
          {sidVariablesWindow, window_.VariablesWindow()},
          {sidWatchWindow, window_.WatchWindow()}};
}

void TMainLayout::FloatToolbar(QToolBar* bar, const QRect& rect) {
  const bool visible = !bar->isHidden();
  bar->hide();
  bar->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
  bar->setGeometry(rect);
  if (visible) bar->show();
  emit bar->topLevelChanged(true);
}

// --- loading ----------------------------------------------------------------------------

void TMainLayout::Load() {
  window_.setUpdatesEnabled(false);
  const TWindowPlacement p = PlacementFromStored(ReadString(sidMainWindow), Default(sidMainWindow));
  // A rectangle off every screen (another monitor, a damaged value) is left to the platform.
  if (const auto r = ReachablePlacement(p, Screens())) window_.setGeometry(ToRect(*r));
  // A window that starts minimised could not be found by the user: maximised or normal only.
  if (p.State == 2) window_.setWindowState(window_.windowState() | Qt::WindowMaximized);
  LoadToolbars();
  LoadPanels();
  window_.setUpdatesEnabled(true);
}

void TMainLayout::LoadToolbars() {
  std::vector<TBarRef> bars = Toolbars();
  std::vector<TBarLayout> layouts;
  for (const TBarRef& b : bars) {
    layouts.push_back(Stored(b.Id));
    window_.removeToolBar(b.Bar);
  }
  // Docked bars by side, in rows; a floating bar waits in its last dock.
  std::map<TDockSide, std::vector<TBarSlot>> sides;
  for (std::size_t i = 0; i < bars.size(); ++i) {
    const TBarLayout& l = layouts[i];
    TDockSide side = DockSideOf(l.CurrentDock);
    const bool floating = side == TDockSide::None;
    if (floating) side = DockSideOf(l.LastDock);
    if (side == TDockSide::None) side = TDockSide::Top;
    // Floating bars go after the docked ones of their side so they do not split a row.
    sides[side].push_back({int(i), floating ? 1 << 20 : l.Row, l.Position});
  }
  for (const auto& [side, onSide] : sides) {
    const std::vector<std::vector<int>> rows = PlanRows(onSide);
    for (std::size_t r = 0; r < rows.size(); ++r) {
      if (r > 0) window_.addToolBarBreak(ToolBarArea(side));
      for (int i : rows[r]) {
        QToolBar* bar = bars[std::size_t(i)].Bar;
        bar->setWindowFlags(Qt::Widget);
        window_.addToolBar(ToolBarArea(side), bar);
      }
    }
  }
  const std::vector<TScreenRect> screens = Screens();
  for (std::size_t i = 0; i < bars.size(); ++i) {
    QToolBar* bar = bars[i].Bar;
    const TBarLayout& l = layouts[i];
    const bool floating = DockSideOf(l.CurrentDock) == TDockSide::None;
    bar->setVisible(l.Visible && !floating);
    if (!floating) continue;
    QRect rect;
    if (const auto r = ReachableFloatRect(l, screens)) {
      rect = ToRect(*r);
    } else {
      const TScreenRect s = PrimaryScreen();
      const QSize size = bar->sizeHint();
      int left = l.FloatLeft.value_or(s.Left + (s.Width - size.width()) / 2);
      int top = l.FloatTop.value_or(s.Top + (s.Height - size.height()) / 2);
      const TScreenRect at{left, top, size.width(), size.height()};
      if (!IsReachable(at, screens)) {
        left = s.Left + (s.Width - size.width()) / 2;
        top = s.Top + (s.Height - size.height()) / 2;
      }
      rect = QRect(left, top, size.width(), size.height());
    }
    bar->hide();
    FloatToolbar(bar, rect);
    if (l.Visible) pending_.emplace_back(bar);
  }
}

void TMainLayout::LoadPanels() {
  std::vector<TDockRef> docks = Panels();
  std::vector<TBarLayout> layouts;
  std::map<TDockSide, std::vector<TBarSlot>> sides;
  for (std::size_t i = 0; i < docks.size(); ++i) {
    layouts.push_back(Stored(docks[i].Id));
    const TBarLayout& l = layouts.back();
    TDockSide side = DockSideOf(l.CurrentDock);
    const bool floating = side == TDockSide::None;
    if (floating) side = DockSideOf(l.LastDock);
    if (side == TDockSide::None) side = TDockSide::Bottom;
    sides[side].push_back({int(i), l.Row, floating ? 1 << 20 : l.Position});
  }
  // Panels of one side are added in the order they stood along it.
  for (const auto& [side, onSide] : sides)
    for (const std::vector<int>& row : PlanRows(onSide))
      for (int i : row) {
        QDockWidget* d = docks[std::size_t(i)].Dock;
        d->setFloating(false);
        window_.addDockWidget(DockArea(side), d);
      }
  const std::vector<TScreenRect> screens = Screens();
  for (std::size_t i = 0; i < docks.size(); ++i) {
    QDockWidget* d = docks[i].Dock;
    const TBarLayout& l = layouts[i];
    const TDockSide side = DockSideOf(l.CurrentDock);
    if (side == TDockSide::None) {
      d->hide();
      d->setFloating(true);
      const auto r = ReachableFloatRect(l, screens);
      d->setGeometry(ToRect(r ? *r : CenteredQuarter(PrimaryScreen())));
      d->hide();
      if (l.Visible) pending_.emplace_back(d);
      continue;
    }
    d->setVisible(l.Visible);
    if (l.Width && l.Height && *l.Width > 0 && *l.Height > 0) {
      const bool vertical = !IsHorizontalDock(side);
      window_.resizeDocks({d}, {vertical ? *l.Width : *l.Height},
                          vertical ? Qt::Horizontal : Qt::Vertical);
    }
  }
}

bool TMainLayout::eventFilter(QObject* watched, QEvent* e) {
  if (watched == &window_ && e->type() == QEvent::Show && !pending_.empty()) {
    std::vector<QPointer<QWidget>> show;
    show.swap(pending_);
    for (const QPointer<QWidget>& w : show)
      if (w) w->show();
  }
  return QObject::eventFilter(watched, e);
}

// --- saving -----------------------------------------------------------------------------

TWindowPlacement TMainLayout::CurrentPlacement() const {
  TWindowPlacement p;
  QRect r;
  if (window_.IsFullScreen()) {
    // Full screen has no caption bar: the rectangle from before it, shown normal next time.
    p.FullScreen = true;
    r = window_.FullScreenRestoreRect();
  } else {
    const Qt::WindowStates s = window_.windowState();
    p.State = s & Qt::WindowMaximized ? 2 : s & Qt::WindowMinimized ? 1 : 0;
    r = p.State == 0 ? window_.geometry() : window_.normalGeometry();
  }
  if (r.isValid()) {
    p.Left = r.x();
    p.Top = r.y();
    p.Width = r.width();
    p.Height = r.height();
  }
  return p;
}

TBarLayout TMainLayout::CurrentBar(int id) const {
  TBarLayout l = Stored(id);
  for (const TDockRef& d : Panels()) {
    if (d.Id != id) continue;
    QDockWidget* w = d.Dock;
    const TBarLayout stored = l;
    l.Visible = !w->isHidden();
    const TDockSide area = SideOf(window_.dockWidgetArea(w));
    if (w->isFloating()) {
      l.CurrentDock.clear();
      if (area != TDockSide::None) l.LastDock = DockName(area);
      const QRect g = w->geometry();
      l.FloatLeft = g.x();
      l.FloatTop = g.y();
      l.Width = g.width();
      l.Height = g.height();
    } else {
      l.CurrentDock = l.LastDock = DockName(area == TDockSide::None ? TDockSide::Bottom : area);
      l.Row = 0;
      l.Position = IsHorizontalDock(area) ? w->x() : w->y();
      l.Width = w->width();
      l.Height = w->height();
    }
    // A hidden panel has no size of its own (Qt reports a placeholder): the one it was shown
    // with last stays, so that showing it again brings it back as the user left it.
    if (w->isHidden()) {
      l.Width = stored.Width;
      l.Height = stored.Height;
      l.Position = stored.Position;
      if (w->isFloating()) {
        l.FloatLeft = stored.FloatLeft;
        l.FloatTop = stored.FloatTop;
      }
    }
    return l;
  }
  // Toolbars: rows from where the docked bars of the same side stand.
  std::map<TDockSide, std::vector<TBarSeen>> seen;
  for (const TBarRef& b : Toolbars()) {
    if (b.Bar->isFloating() || b.Bar->isHidden()) continue;
    const TDockSide side = SideOf(window_.toolBarArea(b.Bar));
    const QRect g = b.Bar->geometry();
    seen[side].push_back(
        {b.Id, IsHorizontalDock(side) ? g.y() : g.x(), IsHorizontalDock(side) ? g.x() : g.y()});
  }
  for (const TBarRef& b : Toolbars()) {
    if (b.Id != id) continue;
    QToolBar* bar = b.Bar;
    l.Visible = !bar->isHidden();
    const TDockSide side = SideOf(window_.toolBarArea(bar));
    if (bar->isFloating()) {
      l.CurrentDock.clear();
      if (side != TDockSide::None) l.LastDock = DockName(side);
      l.FloatLeft = bar->x();
      l.FloatTop = bar->y();
      l.Width = bar->width();
      l.Height = bar->height();
      return l;
    }
    l.CurrentDock = l.LastDock = DockName(side == TDockSide::None ? TDockSide::Top : side);
    // A hidden bar has no place to read: it keeps its stored row and position.
    if (bar->isHidden()) return l;
    for (const TBarSlot& s : RowsFromGeometry(seen[side]))
      if (s.Bar == id) {
        l.Row = s.Row;
        l.Position = s.Position;
      }
    l.Width = bar->width();
    l.Height = bar->height();
  }
  return l;
}

void TMainLayout::Save() {
  WriteString(sidMainWindow, PlacementToText(CurrentPlacement()));
  for (int id : {sidMenuToolbar, sidFilesWindow, sidMessagesWindow, sidOutputWindow, sidMainToolbar,
                 sidEditToolbar, sidRunToolbar, sidSymbolsWindow, sidCallStackWindow,
                 sidVariablesWindow, sidWatchWindow})
    WriteString(id, BarLayoutToText(CurrentBar(id)));
}

}  // namespace vortan
