#pragma once
// Where a help entry opens inside its page.

#include <string>

namespace vortan {

/// The anchor the page of file setting `extensionId` opens at: the table of contents for the
/// user's manual and the tutorial (ids 39, 40), none for the tools' manuals.
std::string HelpAnchor(int extensionId);

}  // namespace vortan
