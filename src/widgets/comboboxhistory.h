#pragma once
// A combo box whose list is an input history kept in a setting (a stored string list).

class QComboBox;
class QString;

namespace vortan {

/// The list becomes the setting's history; the edit text stays empty.
void LoadComboHistory(QComboBox* box, int settingId);
/// Writes the list back, as much of it (newest first) as a stored list can hold.
void SaveComboHistory(const QComboBox* box, int settingId);
/// The text goes on top of the list (AddToHistory's rules); the edit text stays as it was.
void AddComboHistory(QComboBox* box, const QString& text);

}  // namespace vortan
