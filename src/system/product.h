#pragma once
// Facts about the product itself.

namespace vortan {

inline constexpr const char* ApplicationTitle = "Vortan 2.0";
/// The short product word used inside messages.
inline constexpr const char* ProductWord = "Vortan";
inline constexpr const char* ProductVersion = "2.0.8p";
inline constexpr const char* ProjectWebsite = "https://vortan.sourceforge.io/";
/// The file type id of Fortran sources and the topic of open requests.
inline constexpr const char* SourceFileTypeId = "Vortan2.File";
inline constexpr const char* OpenRequestTopic = "Vortan2DDE";

}  // namespace vortan
