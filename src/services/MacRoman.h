// Mac OS Roman, the character set of every text this system stores as bytes (documents, EPS).
#pragma once

#include <optional>
#include <string>
#include <string_view>

// The bytes of UTF-8 text in Mac OS Roman; none when a character has no Mac OS Roman form or the
// text is not valid UTF-8.
std::optional<std::string> MacRomanFromUtf8(std::string_view text);
// The same, with '?' standing for each character that has no Mac OS Roman form.
std::string MacRomanFromUtf8Lossy(std::string_view text);
// Every byte is a Mac OS Roman character, so this always succeeds.
std::string MacRomanToUtf8(std::string_view bytes);
