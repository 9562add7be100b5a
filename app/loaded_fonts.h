// The fonts that "fontfile" commands loaded, by name. A font description
// that names one stores kFirstLoadedFont + its index in FontSpec::font, past
// the standard font numbers.
#pragma once

class PdfFontProgram;

constexpr int kFirstLoadedFont = 15;
constexpr int kMaxLoadedFonts = 16;
constexpr int kMaxLoadedFontName = 40;

int loadedFontCount();
// The font value of a loaded font of that name (compared without regard to
// ASCII case), or 0.
int findLoadedFont(const char* name);
// Takes ownership; returns the new font's value.
int addLoadedFont(const char* name, PdfFontProgram* program);
// The name and program of a font value; nullptr when it is not a loaded font.
const char* loadedFontName(int font);
const PdfFontProgram* loadedFontProgram(int font);
void clearLoadedFonts();

// The name a text format selects its font by: the standard base-font name
// or the loaded font's name.
const char* fontSpecName(int font);
