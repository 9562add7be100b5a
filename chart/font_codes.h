// In UTF-8 mode a text is drawn and measured as the codes of the font that
// draws it: WinAnsiEncoding for the text fonts, the own encodings of Symbol
// and ZapfDingbats.
#pragma once

#include <stdexcept>
#include <string>

// A character that the font cannot show. The message is the run's one error
// line; no PDF is written.
class UnshowableCharacter : public std::runtime_error {
 public:
  explicit UnshowableCharacter(const std::string& message) : std::runtime_error(message) {}
};

// The codes of the valid UTF-8 text in the StandardFont font. Throws
// UnshowableCharacter for a character the font lacks.
std::string fontCodes(const char* utf8, int font);
