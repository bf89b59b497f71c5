#pragma once
// The Re-indent command on one text control: the selected lines, or all of them, through
// findent, applied as one undo step; a missing tool or an output that would change the
// program is told through the prompt service and changes nothing.

namespace vortan {

class TStreakSynEdit;

/// True when the text was re-indented (or already was).
bool ReindentSource(TStreakSynEdit& edit);

}  // namespace vortan
