#include "pdf/font/pdf_font_program.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

#include "pdf/font/font_libraries.h"
#include "pdf/pdf_exception.h"

namespace {

// A table of the face, or an empty one; the blob is released at scope end.
class Table {
 public:
  Table(const FontLibraries& libs, hb_face_t* face, const char tag[4])
      : libs_(libs), blob_(libs.hb_face_reference_table(face, HB_TAG(tag[0], tag[1], tag[2], tag[3]))) {
    unsigned length = 0;
    data_ = reinterpret_cast<const unsigned char*>(libs.hb_blob_get_data(blob_, &length));
    length_ = data_ ? length : 0;
  }
  ~Table() { libs_.hb_blob_destroy(blob_); }
  Table(const Table&) = delete;
  Table& operator=(const Table&) = delete;
  unsigned Length() const { return length_; }
  // Big-endian fields; 0 beyond the table's end (a short table is not trusted).
  unsigned U16(unsigned at) const { return at + 2 <= length_ ? (data_[at] << 8) | data_[at + 1] : 0; }
  int S16(unsigned at) const { return static_cast<int16_t>(U16(at)); }
  unsigned long U32(unsigned at) const { return (static_cast<unsigned long>(U16(at)) << 16) | U16(at + 2); }

 private:
  const FontLibraries& libs_;
  hb_blob_t* blob_;
  const unsigned char* data_;
  unsigned length_;
};

// Names in a PDF file stay printable and free of delimiters.
std::string cleanName(const std::string& name) {
  std::string out;
  for (unsigned char c : name)
    if (c > 32 && c < 127 && !std::strchr("()<>[]{}/%#", c)) out += static_cast<char>(c);
  return out;
}

}  // namespace

std::unique_ptr<PdfFontProgram> PdfFontProgram::Load(const char* path, unsigned faceIndex) {
  const FontLibraries& libs = FontLibraries::Get();
  struct stat info;
  if (stat(path, &info) != 0 || !S_ISREG(info.st_mode))
    throw PdfException(PDF_ERR_INVALID, "cannot open font file [%s]", path);
  std::unique_ptr<PdfFontProgram> p(new PdfFontProgram());
  p->path_ = path;
  p->faceIndex_ = faceIndex;
  p->blob_ = libs.hb_blob_create_from_file_or_fail(path);
  if (!p->blob_) throw PdfException(PDF_ERR_INVALID, "cannot read font file [%s]", path);
  unsigned faces = libs.hb_face_count(p->blob_);
  if (faces == 0) throw PdfException(PDF_ERR_INVALID, "[%s] is not a TrueType or OpenType font", path);
  if (faceIndex >= faces)
    throw PdfException(PDF_ERR_INVALID, "[%s] has no face %u (it has %u)", path, faceIndex, faces);
  p->face_ = libs.hb_face_create(p->blob_, faceIndex);
  p->upem_ = libs.hb_face_get_upem(p->face_);
  if (libs.hb_face_get_glyph_count(p->face_) == 0 || p->upem_ == 0)
    throw PdfException(PDF_ERR_INVALID, "[%s] is not a TrueType or OpenType font", path);
  {
    Table glyf(libs, p->face_, "glyf"), cff(libs, p->face_, "CFF ");
    if (glyf.Length() == 0 && cff.Length() == 0)
      throw PdfException(PDF_ERR_INVALID, "[%s] has neither TrueType nor CFF outlines", path);
    p->cff_ = glyf.Length() == 0;
    Table os2(libs, p->face_, "OS/2");
    unsigned fsType = os2.U16(8);
    // Restricted licence, or bitmap embedding only: the outlines may not be
    // put into a document.
    if ((fsType & 0x000F) == 0x0002 || (fsType & 0x0200))
      throw PdfException(PDF_ERR_INVALID, "[%s] does not allow embedding (fsType %u)", path, fsType);
    p->noSubsetting_ = (fsType & 0x0100) != 0;
  }
  p->font_ = libs.hb_font_create(p->face_);
  p->ReadMetrics();
  return p;
}

PdfFontProgram::~PdfFontProgram() {
  // Only a program that got a face ever existed, so the libraries are open.
  const FontLibraries& libs = FontLibraries::Get();
  if (font_) libs.hb_font_destroy(font_);
  if (face_) libs.hb_face_destroy(face_);
  if (blob_) libs.hb_blob_destroy(blob_);
}

int PdfFontProgram::ToThousandths(double fontUnits) const {
  return static_cast<int>(std::lround(fontUnits * 1000.0 / upem_));
}

int PdfFontProgram::GlyphWidth(unsigned gid) const {
  return ToThousandths(FontLibraries::Get().hb_font_get_glyph_h_advance(font_, gid));
}

bool PdfFontProgram::NominalGlyph(unsigned codepoint, unsigned* gid) const {
  hb_codepoint_t g = 0;
  bool found = FontLibraries::Get().hb_font_get_nominal_glyph(font_, codepoint, &g) && g != 0;
  *gid = g;
  return found;
}

void PdfFontProgram::ReadMetrics() {
  const FontLibraries& libs = FontLibraries::Get();
  hb_position_t v = 0;
  if (libs.hb_ot_metrics_get_position(font_, HB_OT_METRICS_TAG_HORIZONTAL_ASCENDER, &v)) ascent_ = ToThousandths(v);
  if (libs.hb_ot_metrics_get_position(font_, HB_OT_METRICS_TAG_HORIZONTAL_DESCENDER, &v))
    descent_ = ToThousandths(v);
  if (descent_ > 0) descent_ = -descent_;  // the layout takes a descent at or below the baseline
  capHeight_ = libs.hb_ot_metrics_get_position(font_, HB_OT_METRICS_TAG_CAP_HEIGHT, &v) ? ToThousandths(v) : ascent_;
  if (capHeight_ == 0) capHeight_ = ascent_;

  Table head(libs, face_, "head"), post(libs, face_, "post"), os2(libs, face_, "OS/2");
  for (int i = 0; i < 4; ++i) bbox_[i] = ToThousandths(head.S16(36 + 2 * i));
  italicAngle_ = static_cast<int>(std::lround(static_cast<int32_t>(post.U32(4)) / 65536.0));
  unsigned weight = os2.U16(4) ? os2.U16(4) : 400;
  // No font table holds a stem width; this usual estimate from the weight
  // class is what readers expect of it.
  stemV_ = static_cast<int>(10 + 220 * (static_cast<double>(weight) - 50) / 900);
  if (stemV_ < 10) stemV_ = 10;
  flags_ = 4;  // symbolic: the glyphs are reached by index, not by a Latin encoding
  if (post.U32(12) != 0) flags_ |= 1;
  int familyClass = os2.S16(30) >> 8;
  if ((familyClass >= 1 && familyClass <= 5) || familyClass == 7) flags_ |= 2;
  if (italicAngle_ != 0 || (os2.U16(62) & 1)) flags_ |= 64;

  char name[128];
  unsigned size = sizeof name;
  if (libs.hb_ot_name_get_utf8(face_, HB_OT_NAME_ID_POSTSCRIPT_NAME, HB_LANGUAGE_INVALID, &size, name) > 0)
    postScriptName_ = cleanName(name);
  if (postScriptName_.empty()) postScriptName_ = "Font";
}

std::string PdfFontProgram::Subset(const std::set<unsigned>& gids) const {
  const FontLibraries& libs = FontLibraries::Get();
  if (noSubsetting_) {
    hb_blob_t* whole = libs.hb_face_reference_blob(face_);
    unsigned length = 0;
    const char* data = libs.hb_blob_get_data(whole, &length);
    std::string out(data ? data : "", data ? length : 0);
    libs.hb_blob_destroy(whole);
    return out;
  }
  hb_subset_input_t* input = libs.hb_subset_input_create_or_fail();
  if (!input) throw PdfException(PDF_ERR_INVALID, "ERROR: font[%s] cannot be subset.", path_.c_str());
  hb_set_t* glyphs = libs.hb_subset_input_glyph_set(input);
  for (unsigned g : gids) libs.hb_set_add(glyphs, g);
  // A PDF reader draws glyphs by index and takes widths from the font
  // dictionary: the layout tables and the hinting only add bytes.
  hb_set_t* dropped = libs.hb_subset_input_set(input, HB_SUBSET_SETS_DROP_TABLE_TAG);
  for (const char* tag : {"GSUB", "GPOS", "GDEF", "BASE", "JSTF", "MATH", "kern", "DSIG", "morx", "mort", "kerx",
                          "feat", "trak", "vhea", "vmtx", "VORG", "hdmx", "LTSH", "VDMX", "gasp", "COLR", "CPAL",
                          "SVG ", "CBDT", "CBLC", "sbix", "EBDT", "EBLC", "EBSC", "STAT"})
    libs.hb_set_add(dropped, HB_TAG(tag[0], tag[1], tag[2], tag[3]));
  libs.hb_subset_input_set_flags(input, HB_SUBSET_FLAGS_RETAIN_GIDS | HB_SUBSET_FLAGS_NO_HINTING);
  hb_face_t* subset = libs.hb_subset_or_fail(face_, input);
  libs.hb_subset_input_destroy(input);
  if (!subset) throw PdfException(PDF_ERR_INVALID, "ERROR: font[%s] cannot be subset.", path_.c_str());
  hb_blob_t* blob = libs.hb_face_reference_blob(subset);
  unsigned length = 0;
  const char* data = libs.hb_blob_get_data(blob, &length);
  std::string out(data ? data : "", data ? length : 0);
  libs.hb_blob_destroy(blob);
  libs.hb_face_destroy(subset);
  if (out.empty()) throw PdfException(PDF_ERR_INVALID, "ERROR: font[%s] cannot be subset.", path_.c_str());
  return out;
}
