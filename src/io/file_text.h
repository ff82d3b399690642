#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace brillora {

// Texts read from files (the headings and names of a GemCad design, a file's
// own name) are kept as UTF-8. Files written by Windows programs hold them
// in the Windows-1252 code page more often than not, and any byte may come
// from a damaged file: no such text may stop a command that shows it.

bool IsUtf8(std::string_view bytes);

// Windows-1252 bytes as UTF-8 (the five bytes that code page leaves
// unassigned become the control characters of the same number, as web
// browsers read them).
std::string Utf8FromWindows1252(std::string_view bytes);

// The text as UTF-8: unchanged when it is UTF-8 already, else every byte read
// as Windows-1252 (the five bytes that code page leaves unassigned become the
// control characters of the same number, as web browsers read them).
std::string Utf8FromFileText(std::string_view bytes);

// Windows-1252 bytes of a UTF-8 text, when every character has one; nullopt
// when some character has none or the text is not UTF-8.
std::optional<std::string> Windows1252FromUtf8(std::string_view text);

// The first `characters` characters of a UTF-8 text, never cutting one apart.
std::string_view Utf8Prefix(std::string_view text, std::size_t characters);

}  // namespace brillora
