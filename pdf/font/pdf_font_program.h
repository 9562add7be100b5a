// A TrueType or OpenType font program loaded from a file: its face, the
// metrics a font descriptor and the chart layout need, and subsets of it.
#pragma once

#include <memory>
#include <set>
#include <string>

struct hb_blob_t;
struct hb_face_t;
struct hb_font_t;

class PdfFontProgram {
 public:
  // Loads face faceIndex of the file. Throws a PdfException whose message
  // says, for the user, why the file cannot be embedded (no "ERROR: "
  // prefix: the caller names the command).
  static std::unique_ptr<PdfFontProgram> Load(const char* path, unsigned faceIndex);
  ~PdfFontProgram();
  PdfFontProgram(const PdfFontProgram&) = delete;
  PdfFontProgram& operator=(const PdfFontProgram&) = delete;

  const std::string& GetPath() const { return path_; }
  unsigned GetFaceIndex() const { return faceIndex_; }
  // CFF outlines (written as an OpenType font program) rather than TrueType.
  bool IsCff() const { return cff_; }
  // The font forbids subsetting: the whole program is embedded.
  bool MustEmbedWhole() const { return noSubsetting_; }
  const std::string& GetPostScriptName() const { return postScriptName_; }
  unsigned GetUnitsPerEm() const { return upem_; }
  hb_font_t* GetHbFont() const { return font_; }

  // Metrics in thousandths of the font size, as the standard fonts give them.
  int GetAscent() const { return ascent_; }
  int GetDescent() const { return descent_; }
  int GetCapHeight() const { return capHeight_; }
  int GetItalicAngle() const { return italicAngle_; }
  int GetStemV() const { return stemV_; }
  int GetFlags() const { return flags_; }
  const int* GetFontBBox() const { return bbox_; }

  // Font units to thousandths of the font size, rounded.
  int ToThousandths(double fontUnits) const;
  // The glyph's own advance in thousandths.
  int GlyphWidth(unsigned gid) const;
  // The glyph the font's character map gives the character; false if none.
  bool NominalGlyph(unsigned codepoint, unsigned* gid) const;

  // The font program holding only the given glyphs, with their indices kept
  // (so that the glyph index stays the character identifier in the page),
  // hinting and layout tables dropped. Throws when subsetting fails.
  std::string Subset(const std::set<unsigned>& gids) const;

 private:
  PdfFontProgram() = default;
  void ReadMetrics();

  std::string path_;
  unsigned faceIndex_ = 0;
  hb_blob_t* blob_ = nullptr;
  hb_face_t* face_ = nullptr;
  hb_font_t* font_ = nullptr;
  unsigned upem_ = 1000;
  bool cff_ = false;
  bool noSubsetting_ = false;
  std::string postScriptName_;
  int ascent_ = 0, descent_ = 0, capHeight_ = 0, italicAngle_ = 0, stemV_ = 0, flags_ = 4;
  int bbox_[4] = {0, 0, 0, 0};
};
