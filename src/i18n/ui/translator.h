#pragma once
// Putting a language on the screen: every window handles the language-changed event by
// looking up its own block below OBJECTS and setting its controls' texts with ApplyProperty.
//
// A window joins in with two lines in its constructor:
//   AttachLanguageHandler(this, [this](TParlax& l) { ApplyMyTexts(l); });
//   Translate(MainLanguage(), this);
// and its apply function uses the helpers below, e.g.
//   const TParlaxItem& form = FormBlock(l, "Goto");
//   ApplyProperties(form, {"Caption", "Hint"}, this);
//   ApplyTo(form, "Button:OK", btnOK);

#include <QString>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>

class QObject;
class QWidget;

namespace vortan {

class TParlax;
class TParlaxItem;

/// Nothing unless the engine is Active. With a window, sends the language-changed event to
/// it; without, to every top-level window and every MDI child window, one after the other.
void Translate(TParlax& engine, QWidget* window);

/// Makes `handler` the window's language-changed handler (it runs for every event of that
/// kind sent to the window). The handler lives as long as the window.
void AttachLanguageHandler(QWidget* window, std::function<void(TParlax&)> handler);

/// Sets one property of the control from the item's value of the same key: "Caption",
/// "Hint" (tool tip; empty follows the parent), "Shortcut" (blanks ignored; empty or
/// unreadable removes it), "Title", the list words "Items", "Strings", "Lines", or any
/// property of the control by that name. Nothing when the key or the property is missing.
/// True when something was set.
bool ApplyProperty(const TParlaxItem& item, std::string_view word, QObject* control);
/// ApplyProperty for each word, in order.
void ApplyProperties(const TParlaxItem& item, std::initializer_list<std::string_view> words,
                     QObject* control);
/// ApplyProperties of the child block `block` (e.g. "Button:OK") of `parent`.
void ApplyTo(const TParlaxItem& parent, const std::string& block, QObject* control,
             std::initializer_list<std::string_view> words = {"Caption", "Hint"});

/// The child block of that name, or an empty block when there is none (the tree is not
/// changed).
const TParlaxItem& Block(const TParlaxItem& parent, const std::string& name);
/// OBJECTS > "Form:" + key.
const TParlaxItem& FormBlock(const TParlax& engine, const std::string& formKey);

/// The built-in template as a language, loaded once: a window applies it at creation to get
/// its English texts from the template rather than from copies in code.
TParlax& BuiltInLanguage();

/// A text of a language file (8-bit, ANSI code page, CR LF between lines) for the screen.
QString LanguageText(const std::string& bytes);

}  // namespace vortan
