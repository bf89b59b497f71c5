#include "widgets/comboboxhistory.h"

#include <QComboBox>
#include <string>
#include <vector>

#include "config/settingsstore.h"
#include "system/combohistory.h"
#include "widgets/qtconvert.h"

namespace vortan {

namespace {

std::vector<std::string> Items(const QComboBox* box) {
  std::vector<std::string> items;
  for (int i = 0; i < box->count(); ++i) items.push_back(LatinBytes(box->itemText(i)));
  return items;
}

void SetItems(QComboBox* box, const std::vector<std::string>& items) {
  const QString text = box->currentText();
  box->clear();
  for (const std::string& s : items) box->addItem(Latin(s));
  box->setCurrentIndex(-1);
  box->setEditText(text);
}

}  // namespace

void LoadComboHistory(QComboBox* box, int settingId) {
  std::vector<std::string> items;
  ReadObject(settingId, items);
  SetItems(box, items);
  box->setEditText(QString());
}

void SaveComboHistory(const QComboBox* box, int settingId) {
  WriteObject(settingId, HistoryThatFits(Items(box), MaxObjectSize));
}

void AddComboHistory(QComboBox* box, const QString& text) {
  std::vector<std::string> items = Items(box);
  AddToHistory(items, LatinBytes(text));
  SetItems(box, items);
}

}  // namespace vortan
