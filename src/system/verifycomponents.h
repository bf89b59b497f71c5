#pragma once

namespace vortan {

class TVortanPath;
class TSettingsStore;

/// The start-up check of the tool chain: asks about every file of the Lib and Bin check
/// lists that is missing. False means the user chose to stop the start.
bool VerifyComponents(TVortanPath& paths, TSettingsStore& store);

}  // namespace vortan
