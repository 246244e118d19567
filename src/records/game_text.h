#pragma once
#include <string>
#include <string_view>

// The game writes its texts (player names, sentences, report labels) in
// Windows-1252: Latin-1 but for 0x80..0x9F, where it has typographic signs.

// The character a byte of such a text stands for; 0 for the five bytes the
// code page leaves without one.
char32_t codePointOfGameByte(unsigned char byte);

// A game text in UTF-8, for the teacher's pages and tables; a byte without a
// character becomes U+FFFD. A text that already is valid UTF-8 (a file a
// teacher saved again from an editor) is kept as it is.
std::string utf8FromGameText(std::string_view bytes);
