#pragma once
// The three image sets of the actions (XP, Gnome, Old) and the "SOURCE" icon, drawn from the
// pictures compiled into the program.

#include <QIcon>
#include <array>
#include <vector>

namespace vortan {

class TIconSets {
 public:
  /// The image at `index` of the set; a null icon when there is none.
  QIcon Icon(int set, int index);
  /// The number of images of the set.
  int Count(int set);
  /// The icon drawn in front of every Files panel entry and on every editor window.
  QIcon SourceIcon();
  /// Renders a compiled-in picture at 16 and 32 pixels.
  static QIcon Load(const QString& resource);

 private:
  void Ensure(int set);
  std::array<std::vector<QIcon>, 3> sets_;
  std::array<bool, 3> loaded_{};
  QIcon source_;
};

}  // namespace vortan
