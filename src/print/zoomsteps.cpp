#include "print/zoomsteps.h"

namespace vortan {

int ZoomEntryIndex(int zoom) {
  for (int i = 0; i < ZoomEntryCount; ++i)
    if (ZoomEntries[i] == zoom) return i;
  return -1;
}

int ZoomInStep(int p) {
  if (p < 0 || p >= 500) return p;
  if (p < 10) return 10;
  if (p < 25) return 25;
  if (p < 50) return 50;
  if (p < 75) return 75;
  if (p < 100) return 100;
  if (p < 150) return 150;
  if (p < 200) return 200;
  if (p < 400) return 400;
  return 500;
}

int ZoomOutStep(int p) {
  if (p <= 10 || p > 1000) return p;
  if (p <= 25) return 10;
  if (p <= 50) return 25;
  if (p <= 75) return 50;
  if (p <= 100) return 75;
  if (p <= 150) return 100;
  if (p <= 200) return 150;
  if (p <= 400) return 200;
  if (p <= 500) return 400;
  return 500;
}

std::optional<int> LeadingNumber(std::string_view text) {
  long long n = 0;
  std::size_t i = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    n = n * 10 + (text[i] - '0');
    if (n > 1000000) return std::nullopt;
  }
  if (i == 0) return std::nullopt;
  return static_cast<int>(n);
}

}  // namespace vortan
