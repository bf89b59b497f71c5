#pragma once
// The zoom values of the print preview and the steps of Zoom in and Zoom out.

#include <optional>
#include <string_view>

namespace vortan {

constexpr int ZoomPageWidth = -1;  ///< scale so that the page width fills the window
constexpr int ZoomFitToPage = -2;  ///< scale so that the whole page is visible

/// The zoom box entries in order: 500, 400, 200, 150, 100, 75, 50, 25, 10 percent, page width,
/// fit to page.
constexpr int ZoomEntries[] = {500, 400, 200, 150,           100,          75,
                               50,  25,  10,  ZoomPageWidth, ZoomFitToPage};
constexpr int ZoomEntryCount = sizeof(ZoomEntries) / sizeof(ZoomEntries[0]);

/// Index of a zoom value among the entries, -1 when it is none of them.
int ZoomEntryIndex(int zoom);
/// The next larger step from a percentage; the same value when there is none.
int ZoomInStep(int percent);
/// The next smaller step from a percentage; the same value when there is none.
int ZoomOutStep(int percent);
/// The whole number at the start of a zoom or page box text ("120%" -> 120); nothing when the
/// text does not start with a digit or the number is too large.
std::optional<int> LeadingNumber(std::string_view text);

}  // namespace vortan
