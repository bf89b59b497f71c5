#include "config/headerfooterlines.h"

namespace vortan {

int ColumnOf(THFAlignment alignment) {
  switch (alignment) {
    case THFAlignment::Left:
      return 0;
    case THFAlignment::Center:
      return 1;
    case THFAlignment::Right:
      return 2;
  }
  return 0;
}

THFAlignment AlignmentOfColumn(int column) {
  return column == 1   ? THFAlignment::Center
         : column == 2 ? THFAlignment::Right
                       : THFAlignment::Left;
}

THFColumns HeaderFooterLines(const THeaderFooter& hf) {
  THFColumns out;
  for (const THeaderFooterItem& item : hf.Items)
    out[std::size_t(ColumnOf(item.Alignment))].push_back({item.Text, item.Font});
  return out;
}

void SetHeaderFooterLines(THeaderFooter& hf, const THFColumns& columns) {
  hf.Items.clear();
  for (int c = 0; c < 3; ++c) {
    const std::vector<THFLine>& lines = columns[std::size_t(c)];
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (lines[i].Text.empty()) continue;
      THeaderFooterItem item;
      item.Text = lines[i].Text;
      item.Font = lines[i].Font;
      item.LineNumber = int32_t(i + 1);
      item.Alignment = AlignmentOfColumn(c);
      hf.Items.push_back(std::move(item));
    }
  }
}

}  // namespace vortan
