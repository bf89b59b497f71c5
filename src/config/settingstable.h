#pragma once
// The compiled-in settings table: 201 rows, the id of a row is its index.

#include <array>
#include <cstdint>
#include <string>

namespace vortan {

enum class TSettingType { Bool, Integer, Float, String, List, Object };

struct TSettingRow {
  const char* Subkey;     ///< path below the root, may contain '\'
  const char* ValueName;  ///< value name; for a list the prefix of the numbered values
  TSettingType Type;
  const char* DefaultText;  ///< string default; list/object items separated by CR LF
  int32_t DefaultInt;       ///< integer default; 0/1 for booleans
  double DefaultFloat;      ///< float default (print margins)
};

constexpr int SettingsCount = 201;
/// Registry path of the program's root, below the user's hive.
inline constexpr const char* RootPath = "Software\\Ostrel\\Vortan\\2.0";
/// Key of the companion translation tool, holding its "InstallPath".
inline constexpr const char* ParlaxKeyPath = "Software\\Ostrel\\Parlax";

extern const std::array<TSettingRow, SettingsCount> SettingsTable;

/// Full key path of a setting (root + subkey).
std::string SettingKeyPath(int id);

}  // namespace vortan
