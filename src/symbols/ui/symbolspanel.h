#pragma once
// The Symbols panel: the units of the current file or of every indexed file as a tree with a
// filter box, the call tree or called-by tree of a unit, and the results of Find References.
// A click (a double click on a reference) asks for the place to be opened.

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "symbols/symbolindex.h"
#include "symbols/symboltree.h"

class QComboBox;
class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace vortan {

class TSymbolIndexer;

class TSymbolsPanel : public QWidget {
  Q_OBJECT
 public:
  enum TMode { ThisFile, AllFiles, Calls, CalledBy, References };

  /// `currentFile` names the file of the active editor (empty when none).
  TSymbolsPanel(TSymbolIndexer& indexer, std::function<std::string()> currentFile,
                QWidget* parent = nullptr);

  TMode Mode() const;
  void SetMode(TMode mode);
  /// The call tree (or, with `callers`, the called-by tree) of the unit.
  void ShowCallTree(const std::string& unit, bool callers);
  /// The places of a Find References, each with its line's text.
  void ShowReferences(const std::string& name, const std::vector<TSymbolLocation>& places);
  /// Builds the tree again from the index (when the mode shows files or a call tree).
  void Refresh();

  QTreeWidget* Tree() const { return tree_; }
  QLineEdit* FilterBox() const { return filter_; }
  QComboBox* ModeBox() const { return mode_; }
  /// The label above the references: how many and of what.
  QString Title() const;
  void Retranslate();

 signals:
  void OpenPlace(const TSymbolLocation& where);

 private:
  QTreeWidgetItem* AddNode(QTreeWidgetItem* parent, const TSymbolNode& node);
  void Expand(QTreeWidgetItem* item);
  void Open(QTreeWidgetItem* item);

  TSymbolIndexer& indexer_;
  std::function<std::string()> currentFile_;
  QComboBox* mode_ = nullptr;
  QLineEdit* filter_ = nullptr;
  QTreeWidget* tree_ = nullptr;
  std::string root_;  // the unit of the call tree shown
  std::string referencesOf_;
  std::vector<TSymbolLocation> references_;
  bool filling_ = false;
};

}  // namespace vortan
