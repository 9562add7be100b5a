#include "pdf/font/pdf_type0_font.h"

#include <cstdio>
#include <cstring>

#include "pdf/font/pdf_font_program.h"
#include "pdf/pdf_doc.h"
#include "pdf/pdf_exception.h"
#include "pdf/pdf_stream.h"
#include "pdf/pdf_xref.h"

namespace {

void appendHex4(unsigned value, std::string* out) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%04X", value & 0xFFFF);
  *out += buf;
}

// UTF-16BE, as hexadecimal digits.
void appendUtf16Hex(const std::u32string& text, std::string* out) {
  for (char32_t c : text) {
    if (c >= 0x10000) {
      appendHex4(0xD800 + ((c - 0x10000) >> 10), out);
      appendHex4(0xDC00 + ((c - 0x10000) & 0x3FF), out);
    } else {
      appendHex4(static_cast<unsigned>(c), out);
    }
  }
}

std::string formatReal(double value) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.3f", value);
  std::string s = buf;
  while (!s.empty() && s.back() == '0') s.pop_back();
  if (!s.empty() && s.back() == '.') s.pop_back();
  return s == "-0" ? "0" : s;
}

}  // namespace

PdfType0Font::PdfType0Font(PdfXref* xref, const char* name, const PdfFontProgram* program)
    : PdfFont(xref, name), program_(program) {}

int PdfType0Font::GetAscent() const { return program_->GetAscent(); }
int PdfType0Font::GetDescent() const { return program_->GetDescent(); }

const ShapedText& PdfType0Font::Shape(const char* text) {
  std::string key = text ? text : "";
  auto found = shaped_.find(key);
  if (found != shaped_.end()) return found->second;
  return shaped_.emplace(key, shapeText(*program_, GetName(), key.c_str())).first->second;
}

TextWidthResult PdfType0Font::TextWidths(const char* text, unsigned int* widths) {
  TextWidthResult r;
  if (!text || !*text) return r;
  const ShapedText& s = Shape(text);
  const size_t bytes = std::strlen(text);
  for (const ShapedGlyph& g : s.glyphs) {
    if (widths && static_cast<size_t>(r.charCount) < bytes) widths[r.charCount] = static_cast<unsigned>(g.advance);
    ++r.charCount;
  }
  // Word spacing applies to the single-byte code 32 only, which a two-byte
  // encoding never has.
  r.width = s.width;
  return r;
}

int PdfType0Font::MeasureText(const char* text, double maxWidth, double fontSize, double, double,
                              double* realWidth) {
  if (!text) return 0;
  const int n = static_cast<int>(std::strlen(text));
  auto widthOf = [&](int length) { return Shape(std::string(text, length).c_str()).width * fontSize * 0.001; };
  double whole = widthOf(n);
  if (whole <= maxWidth) {
    if (realWidth) *realWidth = whole;
    return n;
  }
  // Shaping depends on the neighbours, so a shorter line is measured anew:
  // break after the last space that lets the line fit.
  for (int i = n - 1; i > 0; --i)
    if (text[i - 1] == ' ' && widthOf(i) <= maxWidth) {
      if (realWidth) *realWidth = widthOf(i);
      return i;
    }
  return 0;
}

std::string PdfType0Font::ShowTextOperators(const char* text, double fontSize, double textRise) {
  const ShapedText& s = Shape(text);
  if (s.glyphs.empty()) return std::string();
  for (const ShapedGlyph& g : s.glyphs) {
    used_.insert(g.gid);
    if (!g.text.empty()) toUnicode_.emplace(g.gid, g.text);
  }
  // Readers rebuild the text from the map of glyphs to characters, reading
  // right-to-left runs backwards themselves. That gives the text back only
  // when each run's glyphs stand in its reading order and keep the
  // characters they had the first time; reordered syllables and glyphs
  // shared between texts need the text itself beside them.
  bool actual = false;
  for (const ShapedRun& run : s.runs) {
    std::u32string viaMap;
    for (size_t k = 0; k < run.glyphCount; ++k) {
      size_t i = run.rightToLeft ? run.firstGlyph + run.glyphCount - 1 - k : run.firstGlyph + k;
      auto m = toUnicode_.find(s.glyphs[i].gid);
      if (m != toUnicode_.end()) viaMap += m->second;
    }
    actual = actual || viaMap != s.logical.substr(run.start, run.length);
  }
  std::string ops;
  if (actual) {
    ops += "/Span <</ActualText <FEFF";
    appendUtf16Hex(s.logical, &ops);
    ops += ">>> BDC\n";
  }
  int rise = 0;  // the glyph's own offset, thousandths
  bool open = false, inHex = false;
  int pending = 0;  // the adjustment before the next glyph, thousandths
  for (size_t i = 0; i < s.glyphs.size(); ++i) {
    const ShapedGlyph& g = s.glyphs[i];
    if (g.yOffset != rise) {
      if (open) {
        ops += inHex ? ">] TJ\n" : "] TJ\n";
        open = inHex = false;
      }
      rise = g.yOffset;
      ops += formatReal(textRise + rise * fontSize * 0.001) + " Ts\n";
    }
    if (!open) {
      ops += "[";
      open = true;
    }
    pending -= g.xOffset;
    if (pending != 0) {
      if (inHex) ops += ">";
      ops += (inHex || ops.back() != '[' ? " " : "") + std::to_string(pending) + " ";
      inHex = false;
    }
    if (!inHex) ops += "<";
    inHex = true;
    appendHex4(g.gid, &ops);
    // Drawn with the glyph's own width, the pen must end at the shaped
    // advance; the offset of this glyph is taken back too.
    pending = program_->GlyphWidth(g.gid) - g.advance + g.xOffset;
  }
  if (inHex) ops += ">";
  // The trailing adjustment keeps the pen where the measured width put it.
  if (pending != 0) ops += " " + std::to_string(pending);
  ops += "] TJ\n";
  if (rise != 0) ops += formatReal(textRise) + " Ts\n";
  if (actual) ops += "EMC\n";
  return ops;
}

std::string PdfType0Font::SubsetTag() const {
  // FNV-1a over the glyph indices: the same glyphs give the same tag, so a
  // chart made twice is the same file.
  unsigned long long h = 1469598103934665603ull;
  for (unsigned g : used_)
    for (int k = 0; k < 4; ++k) {
      h ^= (g >> (8 * k)) & 0xFF;
      h *= 1099511628211ull;
    }
  std::string tag;
  for (int i = 0; i < 6; ++i) {
    tag += static_cast<char>('A' + h % 26);
    h /= 26;
  }
  return tag;
}

PdfDictionary* PdfType0Font::MakeDescriptor(const std::string& baseFont) {
  PdfXref* xref = GetXref();
  PdfDictionary* desc = new PdfDictionary(xref);
  xref->AddObject(desc);
  desc->AddElement("Type", new PdfName("FontDescriptor"));
  desc->AddElement("Ascent", new PdfNumber(program_->GetAscent()));
  desc->AddElement("CapHeight", new PdfNumber(program_->GetCapHeight()));
  desc->AddElement("Descent", new PdfNumber(program_->GetDescent()));
  PdfArray* bbox = new PdfArray(xref);
  desc->AddElement("FontBBox", bbox);
  const int* b = program_->GetFontBBox();
  bbox->AddNumbers(b[0], b[1], b[2], b[3]);
  desc->AddElement("FontName", new PdfName(baseFont.c_str()));
  desc->AddElement("ItalicAngle", new PdfNumber(program_->GetItalicAngle()));
  desc->AddElement("StemV", new PdfNumber(program_->GetStemV()));
  desc->AddElement("Flags", new PdfNumber(program_->GetFlags()));

  std::set<unsigned> glyphs = used_;
  glyphs.insert(0);  // the subset keeps .notdef, as every font program must
  const std::string data = program_->Subset(glyphs);
  PdfStream* file = new PdfStream(xref);
  xref->AddObject(file);
  file->SetFilter(PDF_FILTER_FLATE);
  file->GetStream()->Write(data.data(), static_cast<int>(data.size()));
  if (program_->IsCff()) {
    file->AddElement("Subtype", new PdfName("OpenType"));
    desc->AddElement("FontFile3", file);
  } else {
    file->AddElement("Length1", new PdfNumber(static_cast<int>(data.size())));
    desc->AddElement("FontFile2", file);
  }
  return desc;
}

PdfStream* PdfType0Font::MakeToUnicode() {
  std::string cmap =
      "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
      "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
      "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
      "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n";
  std::vector<std::pair<unsigned, const std::u32string*>> entries;
  for (const auto& e : toUnicode_)
    if (used_.count(e.first)) entries.emplace_back(e.first, &e.second);
  // A block holds at most 100 entries.
  for (size_t i = 0; i < entries.size(); i += 100) {
    size_t end = std::min(entries.size(), i + 100);
    cmap += std::to_string(end - i) + " beginbfchar\n";
    for (size_t k = i; k < end; ++k) {
      cmap += "<";
      appendHex4(entries[k].first, &cmap);
      cmap += "> <";
      appendUtf16Hex(*entries[k].second, &cmap);
      cmap += ">\n";
    }
    cmap += "endbfchar\n";
  }
  cmap += "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
  PdfXref* xref = GetXref();
  PdfStream* stream = new PdfStream(xref);
  xref->AddObject(stream);
  stream->SetFilter(PDF_FILTER_FLATE);
  stream->GetStream()->Write(cmap.data(), static_cast<int>(cmap.size()));
  return stream;
}

void PdfType0Font::PrepareToWrite() {
  if (prepared_) return;
  prepared_ = true;
  PdfXref* xref = GetXref();
  const std::string baseFont = SubsetTag() + "+" + program_->GetPostScriptName();

  PdfDictionary* cidFont = new PdfDictionary(xref);
  xref->AddObject(cidFont);
  cidFont->AddElement("Type", new PdfName("Font"));
  cidFont->AddElement("Subtype", new PdfName(program_->IsCff() ? "CIDFontType0" : "CIDFontType2"));
  cidFont->AddElement("BaseFont", new PdfName(baseFont.c_str()));
  PdfDictionary* system = new PdfDictionary(xref);
  system->AddElement("Registry", new PdfText("Adobe"));
  system->AddElement("Ordering", new PdfText("Identity"));
  system->AddElement("Supplement", new PdfNumber(0));
  cidFont->AddElement("CIDSystemInfo", system);
  cidFont->AddElement("FontDescriptor", MakeDescriptor(baseFont));
  // Runs of consecutive glyph indices share one list of widths.
  PdfArray* widths = new PdfArray(xref);
  for (auto it = used_.begin(); it != used_.end();) {
    unsigned first = *it;
    PdfArray* run = new PdfArray(xref);
    unsigned expected = first;
    while (it != used_.end() && *it == expected) {
      run->Add(new PdfNumber(program_->GlyphWidth(*it)));
      ++it;
      ++expected;
    }
    widths->Add(new PdfNumber(static_cast<int>(first)));
    widths->Add(run);
  }
  cidFont->AddElement("W", widths);
  if (!program_->IsCff()) cidFont->AddElement("CIDToGIDMap", new PdfName("Identity"));

  AddElement("Type", new PdfName("Font"));
  AddElement("Subtype", new PdfName("Type0"));
  AddElement("BaseFont", new PdfName(baseFont.c_str()));
  AddElement("Encoding", new PdfName("Identity-H"));
  PdfArray* descendants = new PdfArray(xref);
  descendants->Add(cidFont);
  AddElement("DescendantFonts", descendants);
  AddElement("ToUnicode", MakeToUnicode());
}

int PdfDoc::AddType0Font(const PdfFontProgram* program, const char* name) {
  if (!program || !name) throw PdfException(PDF_ERR_INVALID, "PdfDoc::AddType0Font font program or name is null.");
  PdfType0Font* font = new PdfType0Font(xref_, name, program);
  xref_->AddObject(font);
  return fontMgr_->RegisterFont(font);
}

int PdfType0Font::GetMinimumMinorVersion() const { return program_->IsCff() ? 6 : 3; }
