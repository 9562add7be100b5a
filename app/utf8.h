// UTF-8 text: validation, decoding to code points, character counts and
// cutting at a character boundary. Used by the front end when the run reads
// its texts as UTF-8, and by the renderer when it turns them into font codes.
#pragma once

#include <cstddef>
#include <cstdint>

// Decodes the character at *p (not beyond end) and moves *p past it.
// Returns the code point, or -1 for a byte sequence that is not UTF-8
// (overlong forms, surrogates and values above U+10FFFF included); *p then
// moves past the first byte only.
int32_t utf8Decode(const char** p, const char* end);

// True when the length bytes at text are valid UTF-8.
bool utf8IsValid(const char* text, size_t length);

// Number of characters in the valid UTF-8 text of length bytes.
size_t utf8CharCount(const char* text, size_t length);

// Number of bytes taken by the first maxChars characters of the valid UTF-8
// text of length bytes: a cut there never splits a character.
size_t utf8CutLength(const char* text, size_t length, size_t maxChars);

// Writes the code point as UTF-8 into out (room for 4 bytes); returns the
// number of bytes written.
size_t utf8Encode(uint32_t codePoint, char* out);

// The three bytes some editors put at the start of a UTF-8 file.
constexpr char kUtf8ByteOrderMark[] = "\xEF\xBB\xBF";
