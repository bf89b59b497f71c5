#pragma once
// The two 8-bit code pages documents are kept in. Documents stay bytes; these tables decide
// what a byte shows as and which byte a typed character becomes.

#include <optional>
#include <string>
#include <string_view>

namespace vortan::platform {

/// Ansi is Windows-1252, Oem is code page 850 (the console's).
enum class TCodePage { Ansi, Oem };

/// The character a byte shows as. Total and lossless: bytes a page leaves undefined show as
/// the C1 control of the same number, so every byte decodes to a distinct code point.
char32_t ToUnicode(TCodePage page, unsigned char byte);
/// The byte holding the character in the page, nothing when the page lacks it.
std::optional<unsigned char> FromUnicode(TCodePage page, char32_t ch);

std::u32string Decode(TCodePage page, std::string_view bytes);
/// Characters the page lacks become `replacement`.
std::string Encode(TCodePage page, std::u32string_view text, char replacement = '?');

/// The bytes as UTF-8 text, as shown through the page.
std::string BytesToUtf8(TCodePage page, std::string_view bytes);
/// Appends one character as UTF-8.
void AppendUtf8(std::string& out, char32_t ch);
/// UTF-8 text as characters; malformed sequences become U+FFFD.
std::u32string Utf8ToUnicode(std::string_view utf8);
/// UTF-8 text stored in the page. Characters the page lacks and malformed UTF-8 become '?';
/// `lossy`, when given, tells whether that happened.
std::string Utf8ToBytes(TCodePage page, std::string_view utf8, bool* lossy = nullptr);

/// Byte for byte from one page to the other; a character the target lacks becomes '?', so
/// the length never changes.
std::string OemToAnsi(std::string_view bytes);
std::string AnsiToOem(std::string_view bytes);

/// Case conversion of the characters as shown through the page, stored back in the same
/// page. A character whose case partner the page lacks stays as it is; the length never changes.
std::string ToUpper(TCodePage page, std::string_view bytes);
std::string ToLower(TCodePage page, std::string_view bytes);

/// One byte of ToLower: the search compares letters this way without building strings.
unsigned char LowerByte(TCodePage page, unsigned char byte);
/// Whether the byte shows as a letter or a digit 0-9 in the page (whole-word rules).
bool IsLetterOrDigit(TCodePage page, unsigned char byte);
/// How many bytes of UTF-8 the byte takes as shown through the page (1 to 3).
int Utf8Size(TCodePage page, unsigned char byte);
/// Length of the bytes' UTF-8 form: where a byte offset lies in the text as Qt and
/// Scintilla hold it.
std::size_t Utf8Length(TCodePage page, std::string_view bytes);
/// The byte offset at which the UTF-8 form reaches `utf8Offset` (the way back; an offset
/// inside a character counts that character as reached).
std::size_t ByteOffsetOfUtf8(TCodePage page, std::string_view bytes, std::size_t utf8Offset);

}  // namespace vortan::platform
