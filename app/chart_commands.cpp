// Commands that shape the chart: type and style, background, headings, axes,
// captions, scale, grid, bars, bar labels and borders.
#include <cstdlib>
#include <cstring>

#include "app/commands.h"
#include "app/interpreter.h"
#include "app/loaded_fonts.h"
#include "app/log.h"
#include "app/settings.h"
#include "app/utf8.h"

namespace {

ChartSettings& cs = chartSettings;

const char* checkedColor(const char* a, RgbColor* color, const char* message) {
  const char* p = readColor(a, color);
  if (!colorIsValid(*color)) {
    logLine("%s", message);
    return nullptr;
  }
  return p;
}

}  // namespace

const char* readFontSpec(const char* text, FontSpec* dest, const char* displayName) {
  const char* p = readInteger(text, &dest->size);
  if (dest->size < 1 || dest->size > 300) {
    logLine("ERROR: %s - size must be between 1 and 300 inclusive", displayName);
    return nullptr;
  }
  char name[41];
  p = readRequiredWord(p, name, 40, displayName, "no font name", "font name too long");
  if (!p) return nullptr;
  int font = lookupKeyword(fontNameKeywords, name);
  if (font == kKeywordNotFound) font = findLoadedFont(name);
  if (font == 0) {
    logLine("ERROR: %s - unknown font name", displayName);
    return nullptr;
  }
  dest->font = font;
  // A loaded font is written only when a text is drawn in it (the renderer
  // decides), never for being named alone.
  if (font < kFirstLoadedFont) cs.fontUsed[font] = 1;
  p = readColor(p, &dest->fillColor);
  int style;
  p = readRequiredKeyword(p, textStyleKeywords, 40, &style, displayName, "no text style",
              "text style too long", "unknown text style");
  if (!p) return nullptr;
  dest->textStyle = style;
  if (style == Stroke) p = readColor(p, &dest->strokeColor);
  return p;
}

const char* cmdChart(const char* a) {
  if (cs.chartType != NoChartType) {
    logLine("ERROR: Chart - type already specified");
    return nullptr;
  }
  int type;
  const char* p = readRequiredKeyword(a, chartTypeKeywords, 19, &type, "Chart", "type not specified",
                          "type too long", "unknown chart type");
  if (!p) return nullptr;
  cs.chartType = type;
  char style[20];
  p = readRequiredWord(p, style, 19, "Chart", "style not specified", "style too long");
  if (!p) return nullptr;
  if (type == Bar) {
    int value = lookupKeyword(chartStyleKeywords, style);
    if (value == kKeywordNotFound) {
      logLine("ERROR: Style - unknown chart style");
      return nullptr;
    }
    cs.chartStyle = value;
  }
  return p;
}

const char* cmdChartBackground(const char* a) {
  cs.chartBackgroundFrom = RgbColor{-1.0, -1.0, -1.0};
  const char* p = checkedColor(a, &cs.chartBackgroundFrom,
                               "ERROR: ChartBackground - from color is not valid");
  if (!p) return nullptr;
  cs.chartBackgroundTo = RgbColor{-1.0, -1.0, -1.0};
  return checkedColor(p, &cs.chartBackgroundTo, "ERROR: ChartBackground - to color is not valid");
}

const char* cmdChartHeading(const char* a) {
  int v;
  const char* p = readRequiredKeyword(a, verticalAlignmentKeywords, 20, &v, "ChartHeading",
                          "no vertical alignment", "vertical alignment too long",
                          "unknown vertical alignment");
  if (!p) return nullptr;
  if (v == Middle) {
    logLine("ERROR: ChartHeading - this vertical alignment not allowed");
    return nullptr;
  }
  cs.headingVerticalAlign = v;
  p = readRequiredKeyword(p, horizontalAlignmentKeywords, 20, &v, "ChartHeading", "no horizontal alignment",
              "horizontal alignment too long", "unknown horizontal alignment");
  if (!p) return nullptr;
  cs.headingHorizontalAlign = v;
  return p;
}

const char* cmdHeadingTitle(const char* a) {
  return readFontSpec(a, &cs.headingTitle, "HeadingTitle");
}
const char* cmdHeadingSubTitle(const char* a) {
  return readFontSpec(a, &cs.headingSubTitle, "HeadingSubTitle");
}
const char* cmdAxesLabelX(const char* a) { return readFontSpec(a, &cs.axesLabelX, "AxesLabelX"); }
const char* cmdAxesLabelY(const char* a) { return readFontSpec(a, &cs.axesLabelY, "AxesLabelY"); }

namespace {

const char* captionTitle(const char* p, char* field, const char* display) {
  return readRequiredText(p, field, kMaxCaptionText, display, "no title", "title too long");
}

}  // namespace

const char* cmdAxesCaptionX(const char* a) {
  const char* p = readFontSpec(a, &cs.axesCaptionX, "AxesCaptionX");
  if (!p) return nullptr;
  int v;
  p = readRequiredKeyword(p, horizontalAlignmentKeywords, 20, &v, "AxesCaptionX", "no horizontal alignment",
              "horizontal alignment too long", "unknown horizontal alignment");
  if (!p) return nullptr;
  cs.axesCaptionXAlign = v;
  return captionTitle(p, cs.axesCaptionXText, "AxesCaptionX");
}

const char* cmdAxesCaptionY(const char* a) {
  const char* p = readFontSpec(a, &cs.axesCaptionY, "AxesCaptionY");
  if (!p) return nullptr;
  int v;
  p = readRequiredKeyword(p, verticalAlignmentKeywords, 20, &v, "AxesCaptionY", "no vertical alignment",
              "vertical alignment too long", "unknown vertical alignment");
  if (!p) return nullptr;
  cs.axesCaptionYAlign = v;
  return captionTitle(p, cs.axesCaptionYText, "AxesCaptionY");
}

const char* cmdAxesLine(const char* a) {
  bool ok;
  const char* p = readReal(a, &cs.axesLineWidth, &ok);
  if (!ok) {
    logLine("ERROR: AxesLine - no width");
    return nullptr;
  }
  if (cs.axesLineWidth < 0.1 || cs.axesLineWidth > 100.0) {
    logLine("ERROR: AxesLine - width must be between 0.1 and 100.0 inclusive");
    return nullptr;
  }
  p = checkedColor(p, &cs.axesLineColor, "ERROR: AxesLine - color is not valid");
  if (!p) return nullptr;
  int v;
  p = readRequiredKeyword(p, axesLineFormatKeywords, 20, &v, "AxesLine", "no format", "format too long",
              "unknown format");
  if (!p) return nullptr;
  cs.axesLineFull = v == Full ? 1 : 0;
  return p;
}

const char* cmdAxesScale(const char* a) {
  int kind;
  const char* p = readRequiredKeyword(a, axesScaleKeywords, 20, &kind, "AxesScale", "not specified",
                          "scale too long", "unknown format");
  if (!p) return nullptr;
  cs.axesScale = kind;
  if (kind == UnderLowestValue) {
    char word[21];
    p = readRequiredWord(p, word, 20, "AxesScale", "percent under lowest value not specified",
                         "percent under lowest value too long");
    if (!p) return nullptr;
    if (!strchr(word, '%')) {
      logLine("ERROR: AxesScale - percent under lowest value invalid");
      return nullptr;
    }
    // Sign and digits as atoi reads them; at most 20 characters, so a
    // long-long accumulator cannot overflow before it is clamped.
    const char* d = word;
    while (isWhiteSpace(*d)) ++d;
    bool negative = false;
    if (*d == '+' || *d == '-') negative = *d++ == '-';
    long long v = 0;
    while (*d >= '0' && *d <= '9' && v < 1000000000LL) v = v * 10 + (*d++ - '0');
    if (negative) v = -v;
    if (v < 0 || v > 100) {
      logLine("ERROR: AxesScale - percentage between 0-100 inclusive");
      return nullptr;
    }
    cs.axesScalePercent = static_cast<int>(v);
  } else if (kind == Range) {
    bool ok;
    p = readReal(p, &cs.axesScaleFrom, &ok);
    if (!ok) {
      logLine("ERROR: AxesScale - no range from");
      return nullptr;
    }
    p = readReal(p, &cs.axesScaleTo, &ok);
    if (!ok) {
      logLine("ERROR: AxesScale - no range to");
      return nullptr;
    }
  }
  return p;
}

const char* cmdAxesDivisions(const char* a) {
  const char* p = readInteger(a, &cs.axesDivisions);
  if (cs.axesDivisions < 1 || cs.axesDivisions > 100) {
    logLine("ERROR: AxesDivisions - between 1-100 inclusive");
    return nullptr;
  }
  return p;
}

const char* cmdDecimalPoints(const char* a) {
  const char* p = readInteger(a, &cs.decimalPoints);
  if (cs.decimalPoints < 0 || cs.decimalPoints > 9) {
    logLine("ERROR: DecimalPoints - between 0-9 inclusive");
    return nullptr;
  }
  return p;
}

const char* cmdAxesGridLineStyle(const char* a) {
  const char* p = a;
  for (int i = 0; i < 3; ++i) p = readInteger(p, &cs.gridLineStyle[i]);
  for (int i = 0; i < 3; ++i) {
    if (cs.gridLineStyle[i] < 0 || cs.gridLineStyle[i] > 100) {
      logLine("ERROR: AxesGridLineStyle - values between 0-100 inclusive");
      return nullptr;
    }
  }
  return p;
}

const char* cmdAxesGridLine(const char* a) {
  bool ok;
  const char* p = readReal(a, &cs.gridLineWidth, &ok);
  if (!ok) {
    logLine("ERROR: AxesGridLine - no width");
    return nullptr;
  }
  if (cs.gridLineWidth < 0.1 || cs.gridLineWidth > 100.0) {
    logLine("ERROR: AxesGridLine - width must be between 0.1 and 100.0 inclusive");
    return nullptr;
  }
  return checkedColor(p, &cs.gridLineColor, "ERROR: AxesGridLine - color is not valid");
}

const char* cmdBarColor(const char* a) {
  if (cs.barColorCount >= kMaxBarColors) {
    logLine("ERROR: BarColor - maximum number of bar colors (%d) reached", kMaxBarColors);
    return nullptr;
  }
  ColorPair& pair = cs.barColors[cs.barColorCount];
  const char* p = checkedColor(a, &pair.from, "ERROR: BarColor - from color is not valid");
  if (!p) return nullptr;
  p = checkedColor(p, &pair.to, "ERROR: BarColor - to color is not valid");
  if (!p) return nullptr;
  ++cs.barColorCount;
  return p;
}

const char* cmdBarSpacing(const char* a) {
  cs.barSize = 0;
  const char* p = readInteger(a, &cs.barSpacing);
  if (cs.barSpacing < 0 || cs.barSpacing > 500) {
    logLine("ERROR: BarSpacing - between 0-500 inclusive");
    return nullptr;
  }
  return p;
}

const char* cmdBarSize(const char* a) {
  const char* p = readInteger(a, &cs.barSize);
  if (cs.barSize < 1 || cs.barSize > 500) {
    logLine("ERROR: BarSize - between 1-500 inclusive");
    return nullptr;
  }
  return p;
}

const char* cmdBarLabel(const char* a) {
  int position;
  const char* p = readRequiredKeyword(a, barLabelPositionKeywords, 20, &position, "BarLabel",
                          "position not specified", "position too long", "unknown position");
  if (!p) return nullptr;
  cs.barLabelPosition = position;
  if (position >= Start && position <= Axes) {
    p = readRequiredText(p, cs.barLabelFormat, kMaxBarLabelFormat, "BarLabel", "format not specified",
                         "format too long");
  }
  return p;
}

const char* cmdBarBorder(const char* a) {
  bool ok;
  const char* p = readReal(a, &cs.barBorderWidth, &ok);
  if (!ok) {
    logLine("ERROR: BarBorder - no width");
    return nullptr;
  }
  if (!(cs.barBorderWidth > 0.0) || cs.barBorderWidth > 100.0) {
    logLine("ERROR: BarBorder - width must be greater than 0.0 and less than or equal to 100.0");
    return nullptr;
  }
  return checkedColor(p, &cs.barBorderColor, "ERROR: BarBorder - color is not valid");
}

namespace {

// A mark inside a number must not read as part of it: no letters, digits or
// signs, no control characters. Characters beyond ASCII (UTF-8 mode) pass.
bool usableNumberMark(const char* mark) {
  const unsigned char u = static_cast<unsigned char>(mark[0]);
  if (u >= 0x80) return true;
  if (u < 32 || u == 127 || u == '+' || u == '-') return false;
  return !((u >= '0' && u <= '9') || (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z'));
}

// One character: one byte, or one UTF-8 character in UTF-8 mode (already
// checked to be valid UTF-8).
bool oneCharacter(const char* word) {
  size_t n = strlen(word);
  if (cs.textEncoding == Utf8Text) return utf8CharCount(word, n) == 1;
  return n == 1;
}

}  // namespace

const char* cmdNumberFormat(const char* a) {
  // The marks are drawn as text, so they follow the run's text encoding.
  char word[textBytes(20)];
  const char* p = readRequiredText(a, word, 20, "NumberFormat", "group separator not specified",
                                   "group separator too long");
  if (!p) return nullptr;
  char group[sizeof cs.numberGroup] = {};
  if (oneCharacter(word)) {
    // One character is the separator itself; longer words are keywords.
    if (!usableNumberMark(word)) {
      logLine("ERROR: NumberFormat - unknown group separator");
      return nullptr;
    }
    strcpy(group, word);
  } else {
    int keyword = lookupKeyword(numberGroupKeywords, word);
    if (keyword == kKeywordNotFound) {
      logLine("ERROR: NumberFormat - unknown group separator");
      return nullptr;
    }
    group[0] = static_cast<char>(keyword);
  }
  p = readRequiredText(p, word, 20, "NumberFormat", "decimal mark not specified", "decimal mark too long");
  if (!p) return nullptr;
  if (!oneCharacter(word) || !usableNumberMark(word) || word[0] == ' ') {
    logLine("ERROR: NumberFormat - decimal mark must be one character other than a letter, digit, sign or space");
    return nullptr;
  }
  if (strcmp(word, group) == 0) {
    logLine("ERROR: NumberFormat - group separator and decimal mark are the same");
    return nullptr;
  }
  strcpy(cs.numberGroup, group);
  strcpy(cs.numberDecimal, word);
  return p;
}

const char* cmdValuePrefix(const char* a) {
  return readRequiredText(a, cs.valuePrefix, kMaxValueAffix, "ValuePrefix", "not specified", "too long");
}

const char* cmdValueSuffix(const char* a) {
  return readRequiredText(a, cs.valueSuffix, kMaxValueAffix, "ValueSuffix", "not specified", "too long");
}
