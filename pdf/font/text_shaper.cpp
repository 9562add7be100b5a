#include "pdf/font/text_shaper.h"

#include <algorithm>
#include <cmath>

#include "pdf/font/font_libraries.h"
#include "pdf/font/pdf_font_program.h"
#include "pdf/pdf_exception.h"

bool decodeUtf8(const char* text, std::u32string* out, size_t* badOffset) {
  const unsigned char* s = reinterpret_cast<const unsigned char*>(text);
  size_t i = 0;
  while (s[i]) {
    unsigned c = s[i];
    int extra = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : -1;
    if (extra < 0) break;
    char32_t value = extra == 0 ? c : c & (0x3F >> extra);
    int k = 1;
    for (; k <= extra; ++k) {
      if ((s[i + k] & 0xC0) != 0x80) break;
      value = (value << 6) | (s[i + k] & 0x3F);
    }
    if (k <= extra) break;
    // Overlong forms, surrogates and values beyond Unicode are not UTF-8.
    static const char32_t kMinimum[] = {0, 0x80, 0x800, 0x10000};
    if (value < kMinimum[extra] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) break;
    out->push_back(value);
    i += extra + 1;
  }
  if (s[i]) {
    if (badOffset) *badOffset = i;
    return false;
  }
  return true;
}

void appendUtf8(char32_t c, std::string* out) {
  if (c < 0x80) {
    *out += static_cast<char>(c);
  } else if (c < 0x800) {
    *out += static_cast<char>(0xC0 | (c >> 6));
    *out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    *out += static_cast<char>(0xE0 | (c >> 12));
    *out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    *out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    *out += static_cast<char>(0xF0 | (c >> 18));
    *out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    *out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    *out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

namespace {

// Format controls and joiners that a font need not draw.
bool isDefaultIgnorable(char32_t c) {
  return c == 0x00AD || c == 0x034F || c == 0x061C || (c >= 0x200B && c <= 0x200F) || (c >= 0x202A && c <= 0x202E) ||
         (c >= 0x2060 && c <= 0x206F) || (c >= 0xFE00 && c <= 0xFE0F) || c == 0xFEFF;
}

[[noreturn]] void noGlyph(char32_t c, const char* text, const char* fontName) {
  throw PdfException(PDF_ERR_INVALID, "ERROR: font[%s] has no glyph for U+%04X in [%.300s].", fontName,
                     static_cast<unsigned>(c), text);
}

struct Run {
  size_t start, length;
  int level;
};

// Level runs of the paragraph, in visual order (rule L2 of the bidi
// algorithm: from the highest level down, reverse every sequence of runs at
// that level or above).
std::vector<Run> visualRuns(const FontLibraries& libs, const std::u32string& text) {
  const size_t n = text.size();
  std::vector<FriBidiChar> chars(text.begin(), text.end());
  std::vector<FriBidiCharType> types(n);
  std::vector<FriBidiBracketType> brackets(n);
  std::vector<FriBidiLevel> levels(n);
  libs.fribidi_get_bidi_types(chars.data(), static_cast<FriBidiStrIndex>(n), types.data());
  libs.fribidi_get_bracket_types(chars.data(), static_cast<FriBidiStrIndex>(n), types.data(), brackets.data());
  FriBidiParType direction = FRIBIDI_PAR_ON;
  if (!libs.fribidi_get_par_embedding_levels_ex(types.data(), brackets.data(), static_cast<FriBidiStrIndex>(n),
                                                &direction, levels.data()))
    std::fill(levels.begin(), levels.end(), 0);
  std::vector<Run> runs;
  for (size_t i = 0; i < n;) {
    size_t j = i;
    while (j < n && levels[j] == levels[i]) ++j;
    runs.push_back(Run{i, j - i, levels[i]});
    i = j;
  }
  int highest = 0, lowestOdd = 255;
  for (const Run& r : runs) {
    highest = std::max(highest, r.level);
    if (r.level % 2) lowestOdd = std::min(lowestOdd, r.level);
  }
  for (int level = highest; level >= lowestOdd; --level)
    for (size_t i = 0; i < runs.size();) {
      if (runs[i].level < level) {
        ++i;
        continue;
      }
      size_t j = i;
      while (j < runs.size() && runs[j].level >= level) ++j;
      std::reverse(runs.begin() + static_cast<long>(i), runs.begin() + static_cast<long>(j));
      i = j;
    }
  return runs;
}

// Shares the characters of one cluster among its glyphs: a glyph that is
// the font's own glyph for a character takes that character; what is left
// (ligatures, reordered or decomposed forms) goes to the first glyph.
void shareCluster(const PdfFontProgram& font, const std::u32string& chars, ShapedGlyph* glyphs, size_t count) {
  std::vector<bool> taken(chars.size(), false);
  for (size_t g = 0; g < count; ++g)
    for (size_t k = 0; k < chars.size(); ++k) {
      unsigned gid;
      if (!taken[k] && font.NominalGlyph(chars[k], &gid) && gid == glyphs[g].gid && glyphs[g].text.empty()) {
        glyphs[g].text = chars.substr(k, 1);
        taken[k] = true;
        break;
      }
    }
  std::u32string rest;
  for (size_t k = 0; k < chars.size(); ++k)
    if (!taken[k]) rest += chars[k];
  if (rest.empty()) return;
  size_t target = 0;
  for (size_t g = 0; g < count; ++g)
    if (glyphs[g].text.empty()) {
      target = g;
      break;
    }
  glyphs[target].text += rest;
}

}  // namespace

ShapedText shapeText(const PdfFontProgram& font, const char* fontName, const char* text) {
  const FontLibraries& libs = FontLibraries::Get();
  ShapedText out;
  size_t bad = 0;
  if (!decodeUtf8(text, &out.logical, &bad))
    throw PdfException(PDF_ERR_INVALID, "ERROR: text [%.300s] is not valid UTF-8 at byte %zu.", text, bad + 1);
  const std::u32string& logical = out.logical;
  for (char32_t c : logical) {
    unsigned gid;
    if (!isDefaultIgnorable(c) && c >= 32 && !font.NominalGlyph(c, &gid)) noGlyph(c, text, fontName);
  }
  if (logical.empty()) return out;

  std::vector<uint32_t> codepoints(logical.begin(), logical.end());
  for (const Run& run : visualRuns(libs, logical)) {
    hb_buffer_t* buffer = libs.hb_buffer_create();
    // The whole text is the context, so that letters join across runs.
    libs.hb_buffer_add_utf32(buffer, codepoints.data(), static_cast<int>(codepoints.size()),
                             static_cast<unsigned>(run.start), static_cast<int>(run.length));
    libs.hb_buffer_set_direction(buffer, run.level % 2 ? HB_DIRECTION_RTL : HB_DIRECTION_LTR);
    libs.hb_buffer_guess_segment_properties(buffer);
    libs.hb_shape(font.GetHbFont(), buffer, nullptr, 0);
    if (!libs.hb_buffer_allocation_successful(buffer)) {
      libs.hb_buffer_destroy(buffer);
      throw PdfException(PDF_ERR_INVALID, "ERROR: out of memory shaping [%.300s].", text);
    }
    unsigned count = 0;
    hb_glyph_info_t* infos = libs.hb_buffer_get_glyph_infos(buffer, &count);
    hb_glyph_position_t* positions = libs.hb_buffer_get_glyph_positions(buffer, nullptr);
    // Cluster values are character indices; a cluster spans up to the next
    // larger value in the run.
    std::vector<unsigned> starts;
    for (unsigned i = 0; i < count; ++i) starts.push_back(infos[i].cluster);
    std::sort(starts.begin(), starts.end());
    starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
    const size_t first = out.glyphs.size();
    for (unsigned i = 0; i < count; ++i) {
      if (infos[i].codepoint == 0) {
        libs.hb_buffer_destroy(buffer);
        noGlyph(logical[std::min<size_t>(infos[i].cluster, logical.size() - 1)], text, fontName);
      }
      ShapedGlyph g;
      g.gid = infos[i].codepoint;
      g.advance = font.ToThousandths(positions[i].x_advance);
      g.xOffset = font.ToThousandths(positions[i].x_offset);
      g.yOffset = font.ToThousandths(positions[i].y_offset);
      out.width += g.advance;
      out.glyphs.push_back(g);
    }
    for (unsigned i = 0; i < count;) {
      unsigned j = i;
      while (j < count && infos[j].cluster == infos[i].cluster) ++j;
      auto next = std::upper_bound(starts.begin(), starts.end(), infos[i].cluster);
      size_t end = next == starts.end() ? run.start + run.length : *next;
      shareCluster(font, logical.substr(infos[i].cluster, end - infos[i].cluster), &out.glyphs[first + i], j - i);
      i = j;
    }
    out.runs.push_back(ShapedRun{first, count, run.start, run.length, run.level % 2 == 1});
    libs.hb_buffer_destroy(buffer);
  }
  return out;
}
