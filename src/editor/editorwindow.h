#pragma once
#include <QWidget>
#include <string>

class QsciScintilla;

namespace vortan {

/// An editor window: one source document inside the main window.
class TfrmEditor : public QWidget {
  Q_OBJECT
 public:
  explicit TfrmEditor(QWidget* parent = nullptr);

  /// Loads the file's bytes unchanged. False when it cannot be read.
  bool LoadFromFile(const std::string& fileName);
  /// Empty while the document is untitled.
  const std::string& FileName() const { return fileName_; }
  void SetUntitledName(const QString& name);
  QsciScintilla* Text() const { return text_; }

 private:
  void UpdateCaption();
  QsciScintilla* text_;
  std::string fileName_;
  QString untitled_;
};

}  // namespace vortan
