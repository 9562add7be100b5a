// Turns a UTF-8 text into positioned glyphs of a font program: FriBidi puts
// the runs in visual order, HarfBuzz shapes each run (kerning, ligatures,
// joining, reordering, marks).
#pragma once

#include <string>
#include <vector>

class PdfFontProgram;

struct ShapedGlyph {
  unsigned gid = 0;
  int advance = 0;      // thousandths of the font size
  int xOffset = 0;      // thousandths
  int yOffset = 0;      // thousandths
  std::u32string text;  // the characters this glyph stands for (may be empty)
};

// One directional run: its glyphs and the characters they came from.
struct ShapedRun {
  size_t firstGlyph = 0, glyphCount = 0;
  size_t start = 0, length = 0;  // in ShapedText::logical
  bool rightToLeft = false;
};

struct ShapedText {
  std::u32string logical;            // the characters as given
  std::vector<ShapedGlyph> glyphs;   // left to right, as drawn
  std::vector<ShapedRun> runs;       // left to right, as drawn
  int width = 0;                     // sum of the advances, thousandths
};

// Decodes UTF-8; false (with *badOffset) at the first invalid sequence.
bool decodeUtf8(const char* text, std::u32string* out, size_t* badOffset);
// Encodes one character as UTF-8.
void appendUtf8(char32_t c, std::string* out);

// Throws a PdfException naming the character as U+XXXX, the text and
// fontName when the font has no glyph for a character, and for text that is
// not UTF-8.
ShapedText shapeText(const PdfFontProgram& font, const char* fontName, const char* text);
