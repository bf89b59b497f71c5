#include "jobs/ui/callstackpanel.h"

#include "i18n/stringtable.h"
#include "platform/platform.h"
#include "widgets/qtconvert.h"

namespace vortan {

TCallStackPanel::TCallStackPanel(QWidget* parent) : QTreeWidget(parent) {
  setObjectName(QStringLiteral("trvCallStack"));
  setColumnCount(2);
  setRootIsDecorated(false);
  setUniformRowHeights(true);
  Translate();
  connect(this, &QTreeWidget::itemClicked, this,
          [this](QTreeWidgetItem* item) { emit FrameChosen(item->data(0, Qt::UserRole).toInt()); });
}

void TCallStackPanel::Translate() {
  setHeaderLabels(
      {LanguageText(Str(TStr::strDebugRoutine)), LanguageText(Str(TStr::strDebugPlace))});
}

void TCallStackPanel::ShowFrames(const std::vector<TStackFrame>& frames, int selected) {
  frames_ = frames;
  clear();
  for (const TStackFrame& f : frames) {
    const std::string place = f.File.empty()
                                  ? std::string("?")
                                  : platform::FileNameText(f.File.substr(f.File.rfind('/') + 1)) +
                                        ":" + std::to_string(f.Line);
    auto* item = new QTreeWidgetItem(
        this, {QString::fromStdString(f.Routine), QString::fromStdString(place)});
    item->setData(0, Qt::UserRole, f.Level);
    item->setToolTip(1, QString::fromStdString(platform::FileNameText(f.File)));
    // Frames without source (the run-time library) cannot be shown.
    if (f.File.empty()) item->setDisabled(true);
    if (f.Level == selected) setCurrentItem(item);
  }
  resizeColumnToContents(0);
}

}  // namespace vortan
