#include "chart/chart_text.h"

#include "chart/chart_layout.h"
#include "chart/font_codes.h"

#include "app/loaded_fonts.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "app/utf8.h"
#include "pdf/content/pdf_contents.h"
#include "pdf/font/pdf_font.h"

int truncToInt(double value) { return static_cast<int>(value); }

namespace {

// The font of the format last applied, for turning UTF-8 texts into its codes.
int appliedFont = TimesRoman;

// Horizontal position of a heading text, against the page rather than the plot.
double headingX(const ChartFrame& frame, const char* text) {
  PdfContents* c = frame.canvas;
  double w = textWidth(c, text);
  switch (chartSettings.headingHorizontalAlign) {
    case Centre:
      return (frame.pageRight - w) / 2;
    case Right:
      return frame.pageRight - w - spaceWidth(c) / 2;
    default:
      return spaceWidth(c) / 2;
  }
}

}  // namespace

void applyTextFormat(PdfContents* canvas, const FontSpec& format) {
  appliedFont = format.font;
  canvas->SetFontAndSize(fontSpecName(format.font), static_cast<double>(format.size));
  if (format.textStyle == Normal || (format.textStyle == Stroke && sameColor(format.strokeColor, format.fillColor))) {
    canvas->SetTextRenderingMode(0);
    canvas->SetRGBFill(format.fillColor.red, format.fillColor.green, format.fillColor.blue);
  } else if (format.textStyle == Stroke) {
    canvas->SetTextRenderingMode(2);
    canvas->SetRGBStroke(format.strokeColor.red, format.strokeColor.green, format.strokeColor.blue);
    canvas->SetRGBFill(format.fillColor.red, format.fillColor.green, format.fillColor.blue);
  }
}

void drawTextAt(PdfContents* canvas, double angle, double x, double y, const char* text) {
  double theta = angle * M_PI * (1.0 / 180);
  canvas->BeginText();
  canvas->SetTextMatrix(std::cos(theta), std::sin(theta), -std::sin(theta), std::cos(theta), x, y);
  // A loaded font shapes the UTF-8 text itself.
  if (chartSettings.textEncoding == Utf8Text && appliedFont < kFirstLoadedFont)
    canvas->ShowText(fontCodes(text, appliedFont).c_str());
  else
    canvas->ShowText(text);
  canvas->EndText();
}

double fontAscent(PdfContents* canvas) { return canvas->GetCurrentFont()->GetAscent() / 72.0; }

double fontDescent(PdfContents* canvas) { return canvas->GetCurrentFont()->GetDescent() / 72.0; }

double spaceWidth(PdfContents* canvas) { return canvas->TextWidth(" "); }

double textWidth(PdfContents* canvas, const char* text) {
  if (chartSettings.textEncoding == Utf8Text && appliedFont < kFirstLoadedFont)
    return canvas->TextWidth(fontCodes(text, appliedFont).c_str());
  return canvas->TextWidth(text);
}

std::string formatBarLabel(const char* format, const Datum& datum) {
  return formatBarLabel(format, datum.label, datum.value, nullptr);
}

std::string formatBarLabel(const char* format, const char* label, double number, const char* series) {
  const std::string value = formatValue(number);
  std::string out;
  size_t room = 65;
  const bool utf8 = chartSettings.textEncoding == Utf8Text;
  for (const char* p = format; *p && room > 0;) {
    const char* replacement = nullptr;
    if (std::strncmp(p, "TTTT", 4) == 0)
      replacement = label;
    else if (std::strncmp(p, "VVVV", 4) == 0)
      replacement = value.c_str();
    else if (series && std::strncmp(p, "SSSS", 4) == 0)
      replacement = series;
    if (!replacement) {
      // In UTF-8 mode the room counts characters: the bytes that continue a
      // character take none.
      --room;
      out += *p++;
      while (utf8 && (static_cast<unsigned char>(*p) & 0xC0) == 0x80) out += *p++;
      continue;
    }
    size_t bytes = std::strlen(replacement);
    size_t n = utf8 ? utf8CharCount(replacement, bytes) : bytes;
    if (n > room) {
      out.append(replacement, utf8 ? utf8CutLength(replacement, bytes, room) : room);
      break;
    }
    out += replacement;
    room -= n;
    p += 4;
  }
  return out;
}

void drawHeadings(ChartFrame& frame) {
  ChartSettings& s = chartSettings;
  PdfContents* c = frame.canvas;
  const FontSpec& ft = s.headingTitle;
  const FontSpec& fs = s.headingSubTitle;
  const bool atBottom = s.headingVerticalAlign == Bottom;
  const double P = frame.pageTop;
  const bool hasTitle = s.title[0] != '\0';
  const bool hasSubject = s.subject[0] != '\0';
  double yT = 0, sub = 0;

  if (hasTitle) {
    double subjectHeight = 0;
    if (hasSubject) {
      // The subtitle's font is selected only to measure it.
      c->SetFontAndSize(fontSpecName(fs.font), static_cast<double>(fs.size));
      subjectHeight = fontAscent(c) - fontDescent(c);
    }
    applyTextFormat(c, ft);
    const double a = fontAscent(c), d = fontDescent(c);
    if (hasSubject) sub = subjectHeight - d;
    yT = atBottom ? sub - 2 * d : P - a + 2 * d;
    drawTextAt(c, 0, headingX(frame, s.title), yT, s.title);
    if (atBottom) {
      frame.bottom = truncToInt(a - 4 * d + sub + 0.5);
      frame.top = truncToInt(frame.top + d);
    } else {
      frame.top = truncToInt(P - a + 4 * d - 0.5 - sub);
      frame.bottom = truncToInt(frame.bottom - d);
    }
    const double sp = spaceWidth(c);
    frame.left = truncToInt(frame.left + sp);
    frame.right = truncToInt(frame.right - sp);
  }

  if (hasSubject) {
    applyTextFormat(c, fs);
    const double a = fontAscent(c), d = fontDescent(c);
    double yS;
    if (hasTitle)
      yS = yT - sub;
    else
      yS = atBottom ? -2 * d : P - a + d;
    drawTextAt(c, 0, headingX(frame, s.subject), yS, s.subject);
    if (!hasTitle) {
      if (atBottom) {
        frame.bottom = truncToInt(a - 3 * d);
        frame.top = truncToInt(frame.top + d);
      } else {
        frame.top = truncToInt(P - a + 3 * d);
        frame.bottom = truncToInt(frame.bottom - d);
      }
      const double sp = spaceWidth(c);
      frame.left = truncToInt(frame.left + sp);
      frame.right = truncToInt(frame.right - sp);
    }
  }

  if (!hasTitle && !hasSubject) {
    frame.left = 5;
    frame.top = frame.pageTop - 5;
    frame.right = frame.pageRight - 5;
    frame.bottom = 5;
  }
}

void drawCaptions(ChartFrame& frame) {
  ChartSettings& s = chartSettings;
  PdfContents* c = frame.canvas;
  const bool hasX = s.axesCaptionXText[0] != '\0';
  const bool hasY = s.axesCaptionYText[0] != '\0';

  if (hasX) {
    const int h = frame.bottom - frame.savedBottom;
    double cy = 0;
    if (hasY) {
      applyTextFormat(c, s.axesCaptionY);
      cy = fontAscent(c) - 2 * fontDescent(c);
    }
    applyTextFormat(c, s.axesCaptionX);
    const double a = fontAscent(c), d = fontDescent(c);
    const double y = frame.savedBottom - d;
    const double w = textWidth(c, s.axesCaptionXText);
    double x;
    switch (s.axesCaptionXAlign) {
      case Left:
        x = frame.left + cy;
        break;
      case Right:
        x = frame.right - w;
        break;
      default:
        x = ((frame.right - frame.left) - cy - w) / 2 + frame.left + cy;
        break;
    }
    drawTextAt(c, 0, x, y, s.axesCaptionXText);
    frame.bottom = truncToInt(frame.savedBottom + a - 2 * d + h);
  }

  if (hasY) {
    const int h = frame.left - frame.savedLeft;
    applyTextFormat(c, s.axesCaptionY);
    const double a = fontAscent(c), d = fontDescent(c);
    const double x = frame.savedLeft + a;
    const double w = textWidth(c, s.axesCaptionYText);
    double y;
    switch (s.axesCaptionYAlign) {
      case Top:
        y = frame.top - w;
        break;
      case Bottom:
        y = frame.bottom;
        break;
      default:
        y = (frame.top - frame.bottom - w) / 2 + frame.bottom;
        break;
    }
    drawTextAt(c, 90, x, y, s.axesCaptionYText);
    frame.left = truncToInt(frame.savedLeft + a - 2 * d + h);
  }
}

void drawValueLabel(ChartFrame& frame, int j, double q) {
  ChartSettings& s = chartSettings;
  PdfContents* c = frame.canvas;
  const std::string t = divisionText(j);
  const double w = textWidth(c, t.c_str());
  const double a = fontAscent(c), d = fontDescent(c);
  const int last = divisionCount();
  double x, y;
  if (s.chartStyle == Horizontal) {
    y = frame.bottom - (a - d);
    x = j == 0 ? q : (j < last ? q - w / 2 : q - w);
  } else {
    x = frame.left - (spaceWidth(c) + w);
    y = j == 0 ? q : (j < last ? q - (a + d) / 2 : q - a);
  }
  drawTextAt(c, 0, x, y, t.c_str());
}

void drawBarLabels(ChartFrame& frame, const Datum& datum, double offset, double size, double length) {
  ChartSettings& s = chartSettings;
  PdfContents* c = frame.canvas;
  const bool horizontal = s.chartStyle == Horizontal;
  const FontSpec& fb = horizontal ? s.axesLabelY : s.axesLabelX;
  if (fb.size <= 0) return;

  const int position = s.barLabelPosition;
  const bool twoPasses = position >= AxesAndStart && position <= AxesAndCenter;
  const double base = horizontal ? frame.left : frame.bottom;
  if (horizontal) applyTextFormat(c, fb);

  for (int pass = 0; pass < (twoPasses ? 2 : 1); ++pass) {
    if (!horizontal) applyTextFormat(c, fb);
    if (twoPasses)
      placeBarLabel(frame, formatBarLabel(pass == 0 ? "TTTT" : "VVVV", datum),
                    pass == 0 ? Axes : position - (AxesAndStart - Start), offset, size, base, length);
    else
      placeBarLabel(frame, formatBarLabel(s.barLabelFormat, datum), position, offset, size, base, length);
  }
}

void placeBarLabel(ChartFrame& frame, const std::string& text, int place, double offset, double size, double base,
                   double length) {
  PdfContents* c = frame.canvas;
  const bool horizontal = chartSettings.chartStyle == Horizontal;
  const double e2 = 2 * frame.borderInset;
  const double a = fontAscent(c), d = fontDescent(c), sp = spaceWidth(c);
  const int wI = truncToInt(textWidth(c, text.c_str()));
  // A bar that runs the other way mirrors the places: Start is next to its
  // base, End next to its tip, and a label that does not fit starts at Start.
  const bool reversed = length < 0;
  double x, y, angle = 0;
  if (horizontal) {
    y = frame.bottom + offset + size / 2 - (a + d) / 2;
    if (place == Start || place == End || place == Center) {
      if (!reversed) {
        const double minX = base + e2 + sp;
        x = place == Start ? minX
            : place == End ? std::max(base + length - wI - sp - e2, minX)
                           : std::max(base + length / 2 - wI / 2.0, minX);
      } else {
        const double maxX = base - e2 - sp - wI;
        x = place == Start ? maxX
            : place == End ? std::min(base + length + sp + e2, maxX)
                           : std::min(base + length / 2 - wI / 2.0, maxX);
      }
    } else {
      x = frame.left - (sp + wI);
    }
  } else if (place == Start || place == End || place == Center) {
    angle = 90;
    x = frame.left + offset + size / 2 + (a + d) / 2;
    if (!reversed) {
      const double minY = base + e2 - d;
      y = place == Start ? base + e2 - 2 * d
          : place == End ? std::max(base + length - wI - sp - e2, minY)
                         : std::max(base + length / 2 - wI / 2.0, minY);
    } else {
      const double maxY = base - e2 + d - wI;
      y = place == Start ? base - e2 + 2 * d - wI
          : place == End ? std::min(base + length + sp + e2, maxY)
                         : std::min(base + length / 2 - wI / 2.0, maxY);
    }
  } else {
    x = frame.left + offset + size / 2 - wI / 2.0;
    y = frame.bottom - a + d;
  }
  drawTextAt(c, angle, x, y, text.c_str());
}
