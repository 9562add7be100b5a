// The command language: white space, words, numbers, colours and keywords,
// and the interpreter that walks a command text and dispatches commands.
#pragma once

#include "app/settings.h"

struct KeywordEntry;

// Codes 1 to 32 are white space; 0 ends the text.
inline bool isWhiteSpace(char c) {
  unsigned char u = static_cast<unsigned char>(c);
  return u >= 1 && u <= 32;
}
const char* skipWhiteSpace(const char* text);

enum class WordStatus { Ok, Missing, TooLong };

// Text a reader leaves in its destination when the word was too long.
constexpr char kTooLongMarker[] = "\x01";

// Value of a keyword that is not in its table.
constexpr int kKeywordNotFound = 999999999;

// Reads a word of at most limit characters into dest (room for limit + 1).
// A word that starts with a double quote runs to the next double quote (which
// is consumed) or the end of the text; any other word runs to the next space.
// Missing: dest is empty. Too long: dest holds kTooLongMarker.
// Returns the position after the word.
const char* readWord(const char* text, char* dest, int limit, WordStatus* status);

// Reads an optional "-" and decimal digits up to the next space. A character
// that is not a digit makes the value -1 and reading stops there; no digits
// give 0. Values beyond the int range saturate so that range checks reject
// them. Never fails by itself.
const char* readInteger(const char* text, int* value);

// Reads a run of at most 15 characters of digits, "+", "-" and "." that must
// be followed by white space or the end of the text (one white-space
// character is consumed). *ok reports whether it was; *hadPoint whether the
// run contained ".". The value is the atof reading of the run.
const char* readReal(const char* text, double* value, bool* ok, bool* hadPoint = nullptr);

// Reads "#RRGGBB" or three components (0 to 255 as integers, 0.0 to 1.0 with
// a "."), each followed by exactly one white-space character or the end of
// the text (a component left empty is 0, so is one missing at the end of the
// text). When the colour cannot be read, *color is left unchanged.
// Never fails by itself.
const char* readColor(const char* text, RgbColor* color);

// Reads a word of at most limit characters and looks it up in table (ended by
// an entry with a null name), ignoring ASCII letter case. *value is the
// entry's value, or kKeywordNotFound; only meaningful when *status is Ok.
const char* readKeyword(const char* text, const KeywordEntry* table, int limit, int* value,
                        WordStatus* status);

// A word that must be present and fit: otherwise logs "ERROR: <display> -
// <missing>" or "ERROR: <display> - <tooLong>" and returns nullptr.
const char* readRequiredWord(const char* text, char* dest, int limit, const char* display,
                             const char* missing, const char* tooLong);

// The same for a keyword; an unknown name logs "ERROR: <display> - <unknown>"
// unless unknown is nullptr (the caller then checks kKeywordNotFound).
const char* readRequiredKeyword(const char* text, const KeywordEntry* table, int limit, int* value,
                                const char* display, const char* missing, const char* tooLong,
                                const char* unknown);

// A text of at most limit characters that must be present and fit, for the
// commands that set a text. Marks the run's text encoding as fixed. In UTF-8
// mode the limit counts characters (dest needs textBytes(limit) bytes) and a
// text that is not UTF-8 logs "ERROR: <display> - not valid UTF-8".
const char* readRequiredText(const char* text, char* dest, int limit, const char* display,
                             const char* missing, const char* tooLong);

// Interprets a command text; 0 when it was consumed, 1 when a command failed
// (the failure has been logged).
int interpretCommands(const char* text);

// True when the three components lie in 0 to 1 inclusive.
bool colorIsValid(const RgbColor& c);
