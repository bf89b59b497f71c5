#include "jobs/messagedata.h"

#include <limits>

namespace vortan {

namespace {

// Kinds above may-be share one group behind the three classified kinds.
int Group(TMessageKind kind) { return kind <= mkMaybe ? static_cast<int>(kind) : 3; }

std::uint64_t Rank(const TfrmEditor* editor, const TMessageOrder& order) {
  if (editor == nullptr) return std::numeric_limits<std::uint64_t>::max();
  if (order.WindowRank) return order.WindowRank(editor);
  return reinterpret_cast<std::uintptr_t>(editor);
}

template <typename T>
int Sign(T a, T b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}

}  // namespace

int CompareMessages(const TMessageData& a, const TMessageData& b, const TMessageOrder& order) {
  const int ga = Group(a.Kind);
  const int gb = Group(b.Kind);
  if (ga != gb) return ga - gb;
  if (ga == 3) return 0;
  if (a.Editor != b.Editor) {
    const bool aActive = order.Active != nullptr && a.Editor == order.Active;
    const bool bActive = order.Active != nullptr && b.Editor == order.Active;
    if (aActive != bActive) return aActive ? -1 : 1;
    if (const int r = Sign(Rank(a.Editor, order), Rank(b.Editor, order))) return r;
    // Two windows of one rank still need a fixed order, or the sort loses consistency.
    return Sign(reinterpret_cast<std::uintptr_t>(a.Editor),
                reinterpret_cast<std::uintptr_t>(b.Editor));
  }
  return Sign(a.Line, b.Line);
}

}  // namespace vortan
