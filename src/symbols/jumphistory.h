#pragma once
// The places Go to Definition left, to return along the jumps (Back) and go again (Forward),
// as a browser does: a new jump drops the places ahead.

#include <optional>
#include <string>
#include <vector>

namespace vortan {

struct TJumpPlace {
  std::string File;
  int Line = 0;
  int Column = 0;
  bool operator==(const TJumpPlace&) const = default;
};

class TJumpHistory {
 public:
  /// A jump leaves `from`.
  void Jumped(const TJumpPlace& from);
  /// Where Back goes from `current` (which Forward then returns to); none at the start.
  std::optional<TJumpPlace> Back(const TJumpPlace& current);
  std::optional<TJumpPlace> Forward(const TJumpPlace& current);
  bool CanGoBack() const { return !back_.empty(); }
  bool CanGoForward() const { return !forward_.empty(); }

 private:
  static constexpr std::size_t kLimit = 100;
  std::vector<TJumpPlace> back_, forward_;
};

}  // namespace vortan
