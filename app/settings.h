// The one process-wide record of everything a run needs: written command by
// command by the front end, checked by the run sequence, read by the renderer.
#pragma once

#include <cstdint>

struct RgbColor {
  double red = 0.0;  // each component 0.0 to 1.0; all three -1 means "no colour"
  double green = 0.0;
  double blue = 0.0;
};

enum StandardFont : int32_t {
  Courier = 1,
  CourierBold = 2,
  CourierBoldOblique = 3,
  CourierOblique = 4,
  Helvetica = 5,
  HelveticaBold = 6,
  HelveticaBoldOblique = 7,
  HelveticaOblique = 8,
  TimesRoman = 9,
  TimesBold = 10,
  TimesItalic = 11,
  TimesBoldItalic = 12,
  Symbol = 13,
  ZapfDingbats = 14,
};

enum TextStyle : int32_t { Normal = 1, Stroke = 2 };
enum VerticalAlignment : int32_t { Top = 1, Middle = 2, Bottom = 3 };
enum HorizontalAlignment : int32_t { Left = 1, Centre = 2, Right = 3 };
enum ChartType : int32_t { NoChartType = 0, Bar = 1 };
enum ChartStyle : int32_t { NoChartStyle = 0, Vertical = 1, Horizontal = 2 };
enum AxesLineFormat : int32_t { XY = 1, Full = 2 };
enum BarLabelPosition : int32_t {
  Start = 1,
  End = 2,
  Center = 3,
  Axes = 4,
  AxesAndStart = 5,
  AxesAndEnd = 6,
  AxesAndCenter = 7,
};
enum SortField : int32_t { NoSort = 0, First = 1, Second = 2 };
enum SortOrder : int32_t { Ascending = 1, Descending = 2 };
enum AxesScaleKind : int32_t { FromZero = 1, UnderLowestValue = 2, Range = 3, Nice = 4 };
enum BarMode : int32_t { Grouped = 1, Stacked = 2 };
enum LegendPosition : int32_t { LegendRight = 1, LegendTop = 2, LegendBottom = 3, LegendLeft = 4, LegendNone = 5 };
enum TextEncoding : int32_t { StandardText = 1, Utf8Text = 2 };
// The values are the PDF layer's PdfEncryptMethod.
enum EncryptionMethod : int32_t { EncryptRC4 = 0, EncryptAES128 = 1, EncryptAES256 = 2 };

// Two colours are equal when all three components are.
inline bool sameColor(const RgbColor& a, const RgbColor& b) {
  return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

struct FontSpec {
  int32_t size = 0;               // points, 1 to 300 when set by a command
  int32_t font = TimesRoman;      // StandardFont
  RgbColor fillColor;
  int32_t textStyle = Normal;     // TextStyle
  RgbColor strokeColor;           // read only when textStyle is Stroke
};

struct ColorPair {
  RgbColor from;
  RgbColor to;
};

// Bytes a text of at most chars characters needs: text limits count
// characters, and a UTF-8 character takes up to four bytes.
constexpr int textBytes(int chars) { return 4 * chars + 1; }

constexpr int kMaxLabel = 30;
struct Datum {
  char label[textBytes(kMaxLabel)] = {};
  double value = 0.0;
};

// A value scale of round steps. Division j, for j from 0 to divisions, has
// the value (first + j * stride) * 10^exponent exactly; keeping the decimal
// form lets the texts be exact where binary fractions are not.
struct RoundScale {
  int32_t divisions = 0;
  int64_t first = 0;
  int64_t stride = 0;  // 1, 2, 5 or 25
  int32_t exponent = 0;
};

constexpr int kMaxData = 1000;
constexpr int kMaxSeries = 50;
constexpr int kMaxSeriesName = 60;

// One series of a chart with several: its name and colour pair. A series
// declared by a table header takes barColors pair k (k its number) when the
// chart is drawn, so that "barcolor" may follow the table.
struct Series {
  char name[textBytes(kMaxSeriesName)] = {};
  ColorPair colors;
  int32_t colorsFromBarColors = 0;
};

// One category of a chart with several series: its label and one value per
// series; bit k of present is set when series k has a value (a table cell
// may be empty, and series declared after a row have none in it).
struct Category {
  char label[textBytes(kMaxLabel)] = {};
  double values[kMaxSeries] = {};
  uint64_t present = 0;
};
constexpr int kMaxBarColors = 50;
constexpr int kMaxPath = 260;
constexpr int kMaxInfoText = 256;
constexpr int kMaxPassword = 32;
// AES-256 takes UTF-8 passwords of up to 127 bytes.
constexpr int kMaxPasswordAes256 = 127;
constexpr int kMaxCaptionText = 100;
constexpr int kMaxBarLabelFormat = 21;
constexpr int kMaxDataSeparator = 11;
constexpr int kMaxValueAffix = 11;

struct ChartSettings {
  // Page and chart.
  int32_t pageWidth = 800;
  int32_t pageHeight = 600;
  RgbColor pageColor{1.0, 1.0, 1.0};
  int32_t chartType = NoChartType;    // ChartType; set once per run
  int32_t chartStyle = NoChartStyle;  // ChartStyle
  RgbColor chartBackgroundFrom{-1.0, -1.0, -1.0};
  RgbColor chartBackgroundTo{-1.0, -1.0, -1.0};

  // Headings; their texts are the document title and subject.
  FontSpec headingTitle{18, TimesRoman, {}, Normal, {}};
  FontSpec headingSubTitle{14, TimesRoman, {}, Normal, {}};
  int32_t headingVerticalAlign = Middle;   // VerticalAlignment
  int32_t headingHorizontalAlign = Left;   // HorizontalAlignment

  // Axes.
  FontSpec axesCaptionX{10, TimesRoman, {}, Normal, {}};
  int32_t axesCaptionXAlign = Centre;  // HorizontalAlignment
  char axesCaptionXText[textBytes(kMaxCaptionText)] = {};
  FontSpec axesCaptionY{10, TimesRoman, {}, Normal, {}};
  int32_t axesCaptionYAlign = Middle;  // VerticalAlignment
  char axesCaptionYText[textBytes(kMaxCaptionText)] = {};
  FontSpec axesLabelX{0, TimesRoman, {}, Normal, {}};  // size 0: labels not drawn
  FontSpec axesLabelY{0, TimesRoman, {}, Normal, {}};
  double axesLineWidth = 0.0;
  RgbColor axesLineColor;
  int32_t axesLineFull = 0;  // 1 for the Full format, 0 for XY
  double gridLineWidth = 0.0;
  RgbColor gridLineColor{0.5, 0.5, 0.5};
  int32_t gridLineStyle[3] = {0, 0, 0};  // dash length, gap length, dash phase
  int32_t axesDivisions = 10;
  int32_t decimalPoints = 1;
  int32_t axesScale = UnderLowestValue;  // AxesScaleKind
  int32_t axesScalePercent = 10;
  double axesScaleFrom = 0.0;
  double axesScaleTo = 0.0;
  // How value texts are written; the defaults write them as plain numbers.
  // One character each; in UTF-8 mode one character may take four bytes.
  char numberGroup[textBytes(1)] = {};   // digit-group separator; none by default
  char numberDecimal[textBytes(1)] = ".";  // decimal mark
  char valuePrefix[textBytes(kMaxValueAffix)] = {};
  char valueSuffix[textBytes(kMaxValueAffix)] = {};

  // Bars.
  ColorPair barColors[kMaxBarColors] = {};
  int32_t barColorCount = 0;
  int32_t barSpacing = 18;
  int32_t barSize = 0;  // 0: not given
  double barBorderWidth = 0.0;
  RgbColor barBorderColor;
  int32_t barLabelPosition = AxesAndEnd;  // BarLabelPosition
  char barLabelFormat[textBytes(kMaxBarLabelFormat)] = "TTTT (VVVV)";

  // Data.
  Datum data[kMaxData] = {};
  int32_t dataCount = 0;
  int32_t dataHasDecimals = 0;
  char dataSeparator[textBytes(kMaxDataSeparator)] = ",";
  int32_t sortField = NoSort;  // SortField
  int32_t sortOrder = 0;       // SortOrder
  double valueMin = 0.0;
  double valueMax = 0.0;
  double valueRange = 0.0;
  RoundScale roundScale;  // derived for the Nice scale kind only

  // Several series: declared by "series" or a table header; their
  // categories are in categoryTable. seriesCount 0 means a single-series run.
  Series series[kMaxSeries] = {};
  int32_t seriesCount = 0;
  int32_t categoryCount = 0;
  int32_t barMode = Grouped;  // BarMode
  int32_t legendPosition = LegendRight;  // LegendPosition
  FontSpec legendFont{10, TimesRoman, {}, Normal, {}};

  // Fonts in use, indexed by StandardFont value 1 to 14 (0 is unused).
  int32_t fontUsed[15] = {};

  // How the texts of the commands are read and drawn: bytes as given
  // through the fonts' built-in encodings, or UTF-8 characters. Fixed before
  // the first text command (textGiven).
  int32_t textEncoding = StandardText;  // TextEncoding
  int32_t textGiven = 0;

  // Document information, security and viewer.
  char producer[textBytes(kMaxInfoText)] = {};
  char creator[textBytes(kMaxInfoText)] = {};
  char author[textBytes(kMaxInfoText)] = {};
  char title[textBytes(kMaxInfoText)] = {};
  char subject[textBytes(kMaxInfoText)] = {};
  char keywords[textBytes(kMaxInfoText)] = {};
  int32_t creationDate = 0;
  int32_t outline = 0;
  // In UTF-8 mode the passwords hold their PDFDocEncoding bytes (UTF-8 for AES-256).
  char ownerPassword[kMaxPasswordAes256 + 1] = {};
  char userPassword[kMaxPasswordAes256 + 1] = {};
  int32_t encryption = EncryptRC4;  // used only with a password or permission
  int32_t permissions = 0;        // print 4, editextra 8, copy 16, edit 32
  int32_t viewerPreferences = 0;  // hidetoolbar 1, hidemenubar 2, hidewindowUI 4,
                                  // fitwindow 8, centerwindow 16
  int32_t pageMode = 0;    // 0 UseNone, 1 UseOutlines, 2 UseThumbs, 3 FullScreen
  int32_t pageLayout = 0;  // 0 SinglePage, 1 OneColumn, 2 TwoColumnLeft, 3 TwoColumnRight

  // Output and log. The output name has room for the ".pdf" the renderer
  // appends to a 260-character name.
  char outputFile[kMaxPath + 4 + 1] = {};
  int32_t openPdf = 0;
  char logFile[kMaxPath + 1] = {};
  // Set once a reader took standard input ("-"); a run can read it only once.
  int32_t standardInputUsed = 0;
};

extern ChartSettings chartSettings;

// The categories of a chart with several series, apart from the record so
// that their 440 KB stay zero-initialised memory that single-series runs
// never touch.
extern Category categoryTable[kMaxData];

// A run with several series: some "series", "row" or "table" command was given.
inline bool hasSeries() { return chartSettings.seriesCount > 0; }

// Restores the process-start defaults, for several runs in one process.
void resetChartSettings();

// PDF base-font name of a StandardFont value; nullptr outside 1..14.
const char* standardFontName(int font);
