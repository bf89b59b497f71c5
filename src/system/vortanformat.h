#pragma once
// The command-line formats of the analyzer, compiler and debugger.

#include <array>
#include <mutex>
#include <string>

#include "config/settingids.h"
#include "config/settingsstore.h"

namespace vortan {

/// Holds the format settings 27..29. An empty slot is read again at every lookup and is
/// never written back; non-empty slots are written back on destruction.
class TVortanFormat {
 public:
  explicit TVortanFormat(TSettingsStore& store = Store());
  ~TVortanFormat();
  TVortanFormat(const TVortanFormat&) = delete;
  TVortanFormat& operator=(const TVortanFormat&) = delete;

  /// Format string for setting id 27..29 (empty for any other id).
  std::string GetFormat(int id);

 private:
  static constexpr int FirstId = sidAnalyzerFormat;
  static constexpr int LastId = sidDebuggerFormat;

  TSettingsStore& store_;
  std::array<std::string, LastId - FirstId + 1> slots_;
  std::mutex mutex_;
};

/// The process-wide instance, owned by the start-up code; null before it is set.
TVortanFormat* VortanFormat();
/// A command format through the installed resolver; empty without one.
std::string FormatOf(int id);
void SetVortanFormat(TVortanFormat* formats);

}  // namespace vortan
