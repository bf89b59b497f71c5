#pragma once
// The program's place on the desktop: the file type of Fortran sources (a desktop entry made
// the default for the type's MIME type) and shortcuts (desktop entries on the desktop and in
// the applications menu).

#include <string>
#include <vector>

namespace vortan {

/// The extension of shortcut files.
inline constexpr const char* ShellLinkExtension = ".desktop";
/// Icon names installed into the user's icon theme: the program and its source files.
inline constexpr const char* ApplicationIconName = "vortan";
inline constexpr const char* SourceIconName = "vortan-source";

/// Makes `executable` the handler of files ending in `extension`: writes the desktop entry
/// `fileTypeId`.desktop (Name the application title, Comment `description` in UTF-8, Exec the
/// executable with the files, MimeType the extension's type) into the user's applications
/// folder with the icon chosen by `iconIndex` (0 program, 1 source file) and makes it the
/// default for that type in the user's mimeapps.list. An extension the MIME database does not
/// know gets a type of its own; the Fortran type is given every fixed-form name (.f, .for,
/// .f77, .ftn, .F, .FOR) in the user's MIME database. With `notify` the desktop's caches are
/// refreshed. Open requests always reach a running instance (the launched program forwards them),
/// so `ddeTopic` changes nothing here. Steps that fail are skipped; nothing is reported.
void AssociateExtension(const std::string& executable, const std::string& extension,
                        const std::string& fileTypeId, bool notify, int iconIndex,
                        const std::string& ddeTopic, const std::string& description);

/// True when the user's default application for the extension's MIME type is the desktop
/// entry `fileTypeId`.desktop, letter case ignored.
bool IsExtensionAssociated(const std::string& extension, const std::string& fileTypeId);

/// The MIME type AssociateExtension uses for the extension.
std::string MimeTypeForExtension(const std::string& extension);

/// Writes a shortcut: a desktop entry named after the link file that starts `target` with
/// `arguments`, or opens it when it is a web address. An existing file is replaced. Hot key
/// and show command have no counterpart in desktop entries. True when the file was saved.
bool CreateShellLink(const std::string& linkFile, const std::string& description,
                     const std::string& target, int hotKey = 0, int showCommand = 1,
                     int iconIndex = 0, const std::string& iconFile = {},
                     const std::string& workingDirectory = {},
                     const std::vector<std::string>& arguments = {});

/// The options dialog's buttons. Folders come from the process-wide TVortanPath; a folder
/// that is unknown or missing makes the button do nothing.
void btnAssociateFilesClick();
/// `number` 0: the desktop; 1: the applications menu.
void btnDesktopShortcutClick(int number);
void btnProgramsGroupClick();

}  // namespace vortan
