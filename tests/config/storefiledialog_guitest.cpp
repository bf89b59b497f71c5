// The settings store while a file dialog browses its folder: the dialog's list and completer
// open and close the store's files inside the IDE's process (to find their icons and types),
// and another program reads and writes the store at the same time.
#include <gtest/gtest.h>
#include <QAbstractItemView>
#include <QCompleter>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QProcess>
#include <QTest>

#include <string>

#include "config/registry.h"
#include "config/settingids.h"
#include "config/settingsstore.h"
#include "config/settingstable.h"
#include "support/tempdir.h"

namespace vortan {
namespace {

const QString ToolKey = QStringLiteral("Software\\Ostrel\\Vortan\\2.0\\Tool");
const std::string IdeKey = "Software\\Ostrel\\Vortan\\2.0\\Ide";

class StoreBesideFileDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(QFileInfo::exists(tool)) << "vortanreg is built with the vortanreg target";
    TStoreOpenResult r = store.Open(path);
    ASSERT_TRUE(r.Ok) << r.Error;
  }

  // vortanreg on the store, run to its end; its standard output.
  QString Tool(QStringList args, int* code = nullptr) {
    QProcess p;
    p.start(tool, QStringList{QStringLiteral("--store"), QString::fromStdString(path)} + args);
    EXPECT_TRUE(p.waitForFinished(60000)) << args.join(' ').toStdString();
    if (code) *code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return QString::fromUtf8(p.readAllStandardOutput());
  }

  // The non-native Open dialog on the store's folder, showing every file, with the store's
  // name typed: the list and the completer ask the icon and type of each of the store's files.
  void BrowseStoreFolder(QFileDialog& dlg) {
    dlg.setOption(QFileDialog::DontUseNativeDialog);
    dlg.setNameFilters({QStringLiteral("Vortan Files (*.f)"), QStringLiteral("All Files (*)")});
    dlg.selectNameFilter(QStringLiteral("All Files (*)"));
    dlg.setDirectory(QString::fromStdString(dir.Path()));
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    auto* edit = dlg.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_TRUE(edit && edit->completer());
    QTest::keyClicks(edit, QStringLiteral("registry.sqlite"));
    QCompleter* completer = edit->completer();
    QTRY_VERIFY_WITH_TIMEOUT(completer->popup()->isVisible() && completer->completionCount() >= 3,
                             10000);
    auto* model = dlg.findChild<QFileSystemModel*>();
    ASSERT_TRUE(model);
    const QModelIndex folder = model->index(QString::fromStdString(dir.Path()));
    QTRY_VERIFY_WITH_TIMEOUT(model->rowCount(folder) >= 3, 10000);
    // What the views ask when they paint, asked here so that it has surely happened.
    for (int row = 0; row < completer->completionModel()->rowCount(); ++row)
      completer->completionModel()->index(row, 0).data(Qt::DecorationRole);
    for (int row = 0; row < model->rowCount(folder); ++row) {
      const QModelIndex file = model->index(row, 0, folder);
      model->data(file, Qt::DecorationRole);
      model->type(file);
    }
    QCoreApplication::processEvents();
  }

  test::TTempDir dir;
  const std::string path = dir / "registry.sqlite";
  const QString tool = QStringLiteral(VORTAN_INSTALL_TREE "/vortanreg");
  TSettingsStore store;
};

TEST_F(StoreBesideFileDialogTest, EveryWriteOfEitherSideIsSeenAndNothingIsLost) {
  const int theme = sidThemeName;
  const QString themeKey = QString::fromStdString(SettingKeyPath(theme));
  const QString themeName = QString::fromStdString(SettingsTable[theme].ValueName);
  store.WriteString(theme, "before the dialog");

  QFileDialog dlg;
  BrowseStoreFolder(dlg);
  if (HasFatalFailure()) return;

  // Turn by turn: each side sees the other's last write.
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE("turn " + std::to_string(i));
    const std::string mine = "ide " + std::to_string(i);
    store.WriteString(theme, mine);
    EXPECT_TRUE(Tool({"query", themeKey, "/v", themeName}).contains(QString::fromStdString(mine)))
        << "the other program does not see the IDE's write";
    const QString theirs = QStringLiteral("tool %1").arg(i);
    int code = -1;
    Tool({"add", ToolKey, "/v", QStringLiteral("Turn%1").arg(i), "/d", theirs}, &code);
    EXPECT_EQ(code, 0);
    auto seen = store.Registry()->ReadValue(ToolKey.toStdString(), "Turn" + std::to_string(i));
    EXPECT_TRUE(seen && seen->Data == theirs.toStdString()) << "the IDE does not see the add";
    QCoreApplication::processEvents();
  }

  // At the same time: the other program adds values while the IDE writes its own.
  constexpr int Count = 10;
  QProcess adder;
  adder.start(QStringLiteral("/bin/sh"),
              {QStringLiteral("-c"),
               QStringLiteral("i=0; while [ $i -lt %1 ]; do \"$0\" --store \"$1\" add \"$2\" "
                              "/v \"Same$i\" /d \"tool $i\" || exit 1; i=$((i+1)); done")
                   .arg(Count),
               tool, QString::fromStdString(path), ToolKey});
  ASSERT_TRUE(adder.waitForStarted());
  int written = 0;
  for (; written < 1000 && adder.state() != QProcess::NotRunning; ++written) {
    EXPECT_TRUE(store.Registry()->WriteString(IdeKey, "Same" + std::to_string(written),
                                              "ide " + std::to_string(written)));
    QCoreApplication::processEvents();
  }
  RecordProperty("IdeWritesDuringTheAdds", written);
  ASSERT_TRUE(adder.state() == QProcess::NotRunning || adder.waitForFinished(120000));
  EXPECT_EQ(adder.exitCode(), 0);

  dlg.close();
  store.Close();
  // Everything either side wrote, as a third program reads it once the IDE has ended.
  const QString all = Tool({"export"});
  EXPECT_TRUE(all.contains(QStringLiteral("\"%1\"=\"ide 3\"").arg(themeName))) << "IDE's setting";
  for (int i = 0; i < 4; ++i)
    EXPECT_TRUE(all.contains(QStringLiteral("\"Turn%1\"=\"tool %1\"").arg(i))) << "turn " << i;
  for (int i = 0; i < Count; ++i)
    EXPECT_TRUE(all.contains(QStringLiteral("\"Same%1\"=\"tool %1\"").arg(i))) << "add " << i;
  for (int i = 0; i < written; ++i)
    EXPECT_TRUE(all.contains(QStringLiteral("\"Same%1\"=\"ide %1\"").arg(i))) << "IDE " << i;
}

}  // namespace
}  // namespace vortan
