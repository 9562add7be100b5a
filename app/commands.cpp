// The command table and the keyword tables, as data.
#include "app/commands.h"

#include <cstring>

#include "app/platform.h"
#include "app/settings.h"

namespace {

bool sameNoCase(const char* a, int length, const char* b) {
  for (int i = 0; i < length; ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (y == 0) return false;
    if (x >= 'A' && x <= 'Z') x += 'a' - 'A';
    if (y >= 'A' && y <= 'Z') y += 'a' - 'A';
    if (x != y) return false;
  }
  return b[length] == '\0';
}

const CommandInfo kCommands[] = {
    // Option files, log and output.
    {"options", cmdOptions, "FILE",
     "Reads FILE (at most 260 characters) and runs its lines as commands, one or more per line; "
     "a line whose first non-blank character is \";\" is a comment. Option files may name "
     "further option files, up to 32 levels deep. \"-\" reads standard input.", "file"},
    {"log", cmdLog, "FILE",
     "Appends every following log line to FILE (at most 260 characters), starting with "
     "\"Plotvane v1.00 Started\"; lines also go to standard output (to standard error with "
     "\"-output -\").", "file"},
    {"output", cmdOutput, "FILE",
     "Writes the chart to FILE (at most 260 characters); \".pdf\" is appended when the name "
     "does not end with it. \"-\" writes the finished PDF to standard output, which must not be "
     "a terminal, and the log to standard error. Required.", "file"},
    {"openpdf", cmdOpenPdf, "", "Opens the finished PDF in the desktop's default viewer."},
    // Document information.
    {"producer", cmdProducer, "TEXT", "Sets the document's Producer entry (at most 256 characters).",
     "text"},
    {"creator", cmdCreator, "TEXT", "Sets the document's Creator entry (at most 256 characters).",
     "text"},
    {"author", cmdAuthor, "TEXT", "Sets the document's Author entry (at most 256 characters).",
     "text"},
    {"title", cmdTitle, "TEXT",
     "Sets the document's Title entry, the chart's main heading and the bookmark text (at most "
     "256 characters).", "text"},
    {"subject", cmdSubject, "TEXT",
     "Sets the document's Subject entry and the chart's sub-heading (at most 256 characters).",
     "text"},
    {"keywords", cmdKeywords, "TEXT", "Sets the document's Keywords entry (at most 256 characters).",
     "text"},
    {"creationdate", cmdCreationDate, "", "Gives the document a creation date from the clock."},
    {"outline", cmdOutline, "",
     "Adds a bookmark for the page titled with the title text; the document then opens with "
     "its bookmarks shown, whatever page mode was set."},
    {"textencoding", cmdTextEncoding, "ENCODING",
     "Reads and draws the texts as Standard (bytes as given, the default) or UTF8: limits then "
     "count characters, the text fonts use WinAnsiEncoding, a character a font cannot show "
     "fails the run, and non-ASCII document information is written as Unicode. Must come "
     "before every command that sets a text (title, subject, producer, creator, author, "
     "keywords, passwords, captions, bar-label format, datum, dataset, dataseparator).",
     "textencoding"},
    // Security.
    {"print", cmdPrint, "",
     "Allows printing an encrypted document (permission bit 4; with AES also high-quality "
     "printing, bit 2048)."},
    {"editextra", cmdEditExtra, "",
     "Allows changing the document's contents (permission bit 8; with AES also inserting, "
     "deleting and rotating pages, bit 1024)."},
    {"copy", cmdCopy, "",
     "Allows copying text and graphics (permission bit 16; with AES also extracting them for "
     "accessibility, bit 512)."},
    {"edit", cmdEdit, "",
     "Allows adding and changing annotations and form fields (permission bit 32; with AES also "
     "filling in forms, bit 256)."},
    {"ownerpassword", cmdOwnerPassword, "TEXT",
     "Sets the owner password (at most 32 characters, or 127 bytes of UTF-8 after "
     "-encryption AES256); the document is then encrypted.", "text"},
    {"userpassword", cmdUserPassword, "TEXT",
     "Sets the user password needed to open the document (at most 32 characters, or 127 bytes "
     "of UTF-8 after -encryption AES256).", "text"},
    {"encryption", cmdEncryption, "METHOD",
     "Chooses how a protected document is encrypted: RC4 (40-bit RC4, the default), AES128 "
     "(PDF 1.6) or AES256 (PDF 1.7, recommended); changes nothing without a password or "
     "permission command.",
     "encryptionmethod"},
    // Viewer.
    {"hidetoolbar", cmdHideToolbar, "", "Asks the viewer to hide its tool bar."},
    {"hidemenubar", cmdHideMenubar, "", "Asks the viewer to hide its menu bar."},
    {"hidewindowUI", cmdHideWindowUI, "", "Asks the viewer to hide its window controls."},
    {"fitwindow", cmdFitWindow, "", "Asks the viewer to fit its window to the page."},
    {"centerwindow", cmdCenterWindow, "", "Asks the viewer to centre its window on the screen."},
    {"pagemodeusenone", cmdPageModeUseNone, "",
     "Opens the document with neither bookmarks nor thumbnails shown (the default)."},
    {"pagemodeoutlines", cmdPageModeOutlines, "", "Opens the document with its bookmarks shown."},
    {"pagemodeusethumbs", cmdPageModeUseThumbs, "", "Opens the document with thumbnails shown."},
    {"pagemodefullscreen", cmdPageModeFullScreen, "", "Opens the document in full-screen mode."},
    {"pagelayoutsinglepage", cmdPageLayoutSinglePage, "",
     "Shows one page at a time (the default)."},
    {"pagelayoutonecolumn", cmdPageLayoutOneColumn, "", "Shows the pages in one column."},
    {"pagelayouttwocolumnleft", cmdPageLayoutTwoColumnLeft, "",
     "Shows the pages in two columns, odd pages on the left."},
    {"pagelayouttwocolumnright", cmdPageLayoutTwoColumnRight, "",
     "Shows the pages in two columns, odd pages on the right."},
    {"page", cmdPage, "WIDTH HEIGHT COLOR",
     "Sets the page size in points, each 100 to 10000 (default 800 600), and the page colour "
     "(default white).", "number number color"},
    // Chart.
    {"chart", cmdChart, "TYPE STYLE",
     "Sets the chart type (Bar) and style (Vertical or Horizontal); once per run, and before "
     "any data. Required.", "charttype chartstyle"},
    {"chartbackground", cmdChartBackground, "FROM TO",
     "Shades the chart area from one colour to another (default: no background).", "color color"},
    {"chartheading", cmdChartHeading, "VERTICAL HORIZONTAL",
     "Places the headings at the Top or Bottom and Left, Centre or Right (default: Middle, "
     "Left).", "verticalalignment horizontalalignment"},
    {"headingtitle", cmdHeadingTitle, "SIZE FONT COLOR STYLE [STROKECOLOR]",
     "Sets the main heading's font; size 1 to 300 (default 18 Times-Roman black Normal).", "font"},
    {"headingsubtitle", cmdHeadingSubTitle, "SIZE FONT COLOR STYLE [STROKECOLOR]",
     "Sets the sub-heading's font; size 1 to 300 (default 14 Times-Roman black Normal).", "font"},
    {"axeslabelx", cmdAxesLabelX, "SIZE FONT COLOR STYLE [STROKECOLOR]",
     "Draws the labels along the X axis in this font; size 1 to 300 (default: not drawn).", "font"},
    {"axeslabely", cmdAxesLabelY, "SIZE FONT COLOR STYLE [STROKECOLOR]",
     "Draws the labels along the Y axis in this font; size 1 to 300 (default: not drawn).", "font"},
    {"axescaptionx", cmdAxesCaptionX, "SIZE FONT COLOR STYLE [STROKECOLOR] ALIGN TEXT",
     "Sets the X axis caption: font (size 1 to 300, default 10 Times-Roman), Left, Centre or "
     "Right (default Centre), and text of at most 100 characters.",
     "font horizontalalignment text"},
    {"axescaptiony", cmdAxesCaptionY, "SIZE FONT COLOR STYLE [STROKECOLOR] ALIGN TEXT",
     "Sets the Y axis caption: font (size 1 to 300, default 10 Times-Roman), Top, Middle or "
     "Bottom (default Middle), and text of at most 100 characters.", "font verticalalignment text"},
    {"axesline", cmdAxesLine, "WIDTH COLOR FORMAT",
     "Draws the axes lines, width 0.1 to 100 points, as XY (two axes) or Full (a frame); by "
     "default no axes lines are drawn.", "number color axeslineformat"},
    {"axesscale", cmdAxesScale, "FromZero | UnderLowestValue PERCENT% | Range FROM TO | Nice",
     "Chooses where the value scale starts: at 0, PERCENT (0 to 100) of the data's spread "
     "below the lowest value, or widened to FROM..TO (default UnderLowestValue 10%). Nice "
     "takes round steps (1, 2, 2.5 or 5 times a power of ten) from 0, or from below the lowest "
     "value when it is negative, in as many divisions as axesdivisions allows, and prints each "
     "division value with the decimals its step needs.", "axesscale"},
    {"axesdivisions", cmdAxesDivisions, "COUNT",
     "Divides the value axis into COUNT steps, 1 to 100 (default 10).", "number"},
    {"decimalpoints", cmdDecimalPoints, "COUNT",
     "Prints values with COUNT decimals, 0 to 9 (default 1), when any value has a decimal "
     "point.", "number"},
    {"numberformat", cmdNumberFormat, "GROUP DECIMAL",
     "Writes every value text with GROUP between groups of three digits (one character, Space, "
     "or None, the default) and DECIMAL as the decimal mark (one character, default \".\"): "
     "\",\" \".\" gives 12,345,678.5 and \".\" \",\" gives 12.345.678,5. Letters, digits and "
     "signs are refused; a space is Space or a quoted \" \".", "numbergroupseparator text"},
    {"valueprefix", cmdValuePrefix, "TEXT",
     "Writes TEXT (at most 11 characters) before every value text, after its minus sign "
     "(default: none).", "text"},
    {"valuesuffix", cmdValueSuffix, "TEXT",
     "Writes TEXT (at most 11 characters) after every value text (default: none).", "text"},
    {"axesgridlinestyle", cmdAxesGridLineStyle, "DASH GAP PHASE",
     "Dashes the grid lines: dash and gap lengths and phase in points, each 0 to 100 (default "
     "0 0 0, solid).", "number number number"},
    {"axesgridline", cmdAxesGridLine, "WIDTH COLOR",
     "Draws grid lines, width 0.1 to 100 points (default: none; colour default grey).",
     "number color"},
    {"barcolor", cmdBarColor, "FROM TO",
     "Appends one bar colour pair, each bar shaded from FROM to TO; at most 50 pairs, used in "
     "turn. At least one is required.", "color color"},
    {"barcolour", cmdBarColor, "FROM TO", "The same as barcolor.", "color color"},
    {"barspacing", cmdBarSpacing, "POINTS",
     "Sets the gap between bars, 0 to 500 points (default 18), and lets the bar size follow "
     "from it (cancels barsize).", "number"},
    {"barsize", cmdBarSize, "POINTS",
     "Sets the bar thickness, 1 to 500 points (default: from the spacing).", "number"},
    {"barlabel", cmdBarLabel, "POSITION [FORMAT]",
     "Places the bar labels (default AxesAndEnd); Start, End, Center and Axes take a FORMAT of "
     "at most 21 characters where TTTT is the label and VVVV the value (default \"TTTT (VVVV)\"); "
     "with several series SSSS is the series name.",
     "barlabelposition text"},
    {"barborder", cmdBarBorder, "WIDTH COLOR",
     "Draws a border round each bar, width above 0 and at most 100 points (default: none).",
     "number color"},
    // Fonts.
    {"fontfile", cmdFontFile, "NAME FILE",
     "Loads a TrueType or OpenType font (FILE: a .ttf, .otf, .ttc or .otc file, \"#N\" after a "
     "collection's path for its face N, or a fontconfig pattern such as \"DejaVu Sans:bold\") "
     "under NAME (at most 40 characters, not a standard font name), which font descriptions can "
     "then use; text in it is shaped and its glyphs embedded as a subset. Texts are then read as "
     "UTF-8, so it must come before any text; at most 16 fonts.", "text file"},
    // Data.
    {"datum", cmdDatum, "LABEL VALUE",
     "Appends one data item: a label of at most 30 characters and a number (empty is 0); at "
     "most 1000 items, after the chart command.", "text number"},
    {"dataset", cmdDataset, "FILE",
     "Appends the items of FILE, one \"label,value\" per line (labels cut to 30 characters); at "
     "most 1000 items in all, after the chart command. \"-\" reads standard input.", "file"},
    {"dataseparator", cmdDataSeparator, "TEXT",
     "Sets the text between label and value in the dataset files that follow, at most 11 "
     "characters (default \",\").", "text"},
    {"datasort", cmdDataSort, "FIELD ORDER",
     "Sorts the data by First (label, case-insensitive) or Second (value), Ascending or "
     "Descending (default: unsorted); with several series Second is the sum of a category's "
     "values.", "sortfield sortorder"},
    // Several series.
    {"series", cmdSeries, "NAME FROM TO",
     "Declares the next series: a name of at most 60 characters, shown in the legend, and its "
     "colour pair, each bar shaded from FROM to TO by value; at most 50 series.",
     "text color color"},
    {"row", cmdRow, "LABEL VALUE...",
     "Appends one category: a label of at most 30 characters and one number per series "
     "declared so far; at most 1000 categories, after the chart command.", "text number"},
    {"table", cmdTable, "FILE",
     "Reads series and categories from FILE: a header line (label column, then one series "
     "name per cell), then a label and one value per series on each line, separated by the "
     "dataseparator text; cells may be quoted as in CSV, an empty cell is a missing value. "
     "Series k takes bar colour pair k, in turn. At most 50 series and 1000 categories, "
     "after the chart command. \"-\" reads standard input.", "file"},
    {"barmode", cmdBarMode, "MODE",
     "Draws several series Grouped (bars side by side, default) or Stacked (one bar per "
     "category, positive values stacked up from 0 and negative ones down).", "barmode"},
    {"legend", cmdLegend, "POSITION [SIZE FONT COLOR STYLE [STROKECOLOR]]",
     "Places the legend of a chart with several series at the Right (default), Top, Bottom, "
     "Left or None, in this font (default 10 Times-Roman black Normal).",
     "legendposition font"},
};

constexpr int kCommandCount = sizeof kCommands / sizeof kCommands[0];

}  // namespace

const KeywordEntry verticalAlignmentKeywords[] = {
    {"Top", Top},       {"T", Top},          {"Middle", Middle}, {"Mid", Middle},
    {"M", Middle},      {"Bottom", Bottom},  {"Bot", Bottom},    {"B", Bottom},
    {nullptr, 0}};

const KeywordEntry horizontalAlignmentKeywords[] = {
    {"Left", Left},     {"L", Left},   {"Centre", Centre}, {"Center", Centre},
    {"C", Centre},      {"Right", Right}, {"R", Right},    {nullptr, 0}};

const KeywordEntry textStyleKeywords[] = {{"Normal", Normal}, {"Stroke", Stroke}, {nullptr, 0}};

const KeywordEntry chartTypeKeywords[] = {{"Bar", Bar}, {nullptr, 0}};

const KeywordEntry chartStyleKeywords[] = {
    {"Vertical", Vertical},     {"Vert", Vertical}, {"V", Vertical},  {"Horizontal", Horizontal},
    {"Horz", Horizontal},       {"H", Horizontal},  {nullptr, 0}};

const KeywordEntry axesLineFormatKeywords[] = {{"XY", XY}, {"Full", Full}, {"F", Full}, {nullptr, 0}};

const KeywordEntry barLabelPositionKeywords[] = {
    {"Start", Start},
    {"S", Start},
    {"End", End},
    {"E", End},
    {"Center", Center},
    {"Centre", Center},
    {"C", Center},
    {"Axes", Axes},
    {"A", Axes},
    {"AxesAndStart", AxesAndStart},
    {"AxesS", AxesAndStart},
    {"AS", AxesAndStart},
    {"AxesAndEnd", AxesAndEnd},
    {"AEnd", AxesAndEnd},
    {"AE", AxesAndEnd},
    {"AxesAndCenter", AxesAndCenter},
    {"AxesAndCentre", AxesAndCenter},
    {"ACenter", AxesAndCenter},
    {"ACentre", AxesAndCenter},
    {"AC", AxesAndCenter},
    {nullptr, 0}};

const KeywordEntry sortFieldKeywords[] = {
    {"First", First},   {"Fir", First},  {"1st", First},  {"F", First},  {"Second", Second},
    {"Sec", Second},    {"2nd", Second}, {"S", Second},   {nullptr, 0}};

const KeywordEntry sortOrderKeywords[] = {
    {"Ascending", Ascending},   {"Asc", Ascending},  {"A", Ascending}, {"Descending", Descending},
    {"Desc", Descending},       {"D", Descending},   {nullptr, 0}};

const KeywordEntry axesScaleKeywords[] = {
    {"FromZero", FromZero}, {"FZ", FromZero}, {"UnderLowestValue", UnderLowestValue},
    {"ULV", UnderLowestValue}, {"Range", Range}, {"R", Range}, {"Nice", Nice}, {"N", Nice},
    {nullptr, 0}};

// Group separators written as words; a single character stands for itself.
const KeywordEntry numberGroupKeywords[] = {{"None", 0}, {"Space", ' '}, {nullptr, 0}};

const KeywordEntry fontNameKeywords[] = {
    {"Courier", Courier},
    {"Cour", Courier},
    {"Courier-Bold", CourierBold},
    {"Courier-B", CourierBold},
    {"Cour-Bold", CourierBold},
    {"Cour-B", CourierBold},
    {"Courier-BoldOblique", CourierBoldOblique},
    {"Courier-BO", CourierBoldOblique},
    {"Cour-BoldOblique", CourierBoldOblique},
    {"Cour-BO", CourierBoldOblique},
    {"Courier-Oblique", CourierOblique},
    {"Courier-O", CourierOblique},
    {"Cour-Oblique", CourierOblique},
    {"Cour-O", CourierOblique},
    {"Helvetica", Helvetica},
    {"Helv", Helvetica},
    {"Helvetica-Bold", HelveticaBold},
    {"Helvetica-B", HelveticaBold},
    {"Helv-Bold", HelveticaBold},
    {"Helv-B", HelveticaBold},
    {"Helvetica-BoldOblique", HelveticaBoldOblique},
    {"Helvetica-BO", HelveticaBoldOblique},
    {"Helv-BoldOblique", HelveticaBoldOblique},
    {"Helv-BO", HelveticaBoldOblique},
    {"Helvetica-Oblique", HelveticaOblique},
    {"Helvetica-O", HelveticaOblique},
    {"Helv-Oblique", HelveticaOblique},
    {"Helv-O", HelveticaOblique},
    {"Times-Roman", TimesRoman},
    {"Times", TimesRoman},
    {"Times-Bold", TimesBold},
    {"Times-B", TimesBold},
    {"Times-Italic", TimesItalic},
    {"Times-I", TimesItalic},
    {"Times-BoldItalic", TimesBoldItalic},
    {"Times-BI", TimesBoldItalic},
    {"Symbol", Symbol},
    {"Sym", Symbol},
    {"ZapfDingbats", ZapfDingbats},
    {"Zapf", ZapfDingbats},
    {"Dingbats", ZapfDingbats},
    {nullptr, 0}};

const KeywordEntry barModeKeywords[] = {
    {"Grouped", Grouped}, {"G", Grouped}, {"Stacked", Stacked}, {"S", Stacked}, {nullptr, 0}};

const KeywordEntry legendPositionKeywords[] = {
    {"Right", LegendRight}, {"R", LegendRight},   {"Top", LegendTop},   {"T", LegendTop},
    {"Bottom", LegendBottom}, {"B", LegendBottom}, {"Left", LegendLeft}, {"L", LegendLeft},
    {"None", LegendNone},   {"N", LegendNone},    {nullptr, 0}};
const KeywordEntry textEncodingKeywords[] = {
    {"Standard", StandardText}, {"Std", StandardText}, {"UTF8", Utf8Text},
    {"UTF-8", Utf8Text},        {"U", Utf8Text},       {nullptr, 0}};
const KeywordEntry encryptionKeywords[] = {
    {"RC4", EncryptRC4},       {"RC4-40", EncryptRC4}, {"AES128", EncryptAES128},
    {"AESV2", EncryptAES128},  {"AES256", EncryptAES256}, {"AESV3", EncryptAES256},
    {nullptr, 0}};

namespace {

template <size_t N>
constexpr int entryCount(const KeywordEntry (&)[N]) {
  return static_cast<int>(N) - 1;
}

const KeywordTableInfo kKeywordTables[] = {
    {"Vertical alignment", verticalAlignmentKeywords, entryCount(verticalAlignmentKeywords)},
    {"Horizontal alignment", horizontalAlignmentKeywords, entryCount(horizontalAlignmentKeywords)},
    {"Text style", textStyleKeywords, entryCount(textStyleKeywords)},
    {"Chart type", chartTypeKeywords, entryCount(chartTypeKeywords)},
    {"Chart style", chartStyleKeywords, entryCount(chartStyleKeywords)},
    {"Axes line format", axesLineFormatKeywords, entryCount(axesLineFormatKeywords)},
    {"Bar label position", barLabelPositionKeywords, entryCount(barLabelPositionKeywords)},
    {"Sort field", sortFieldKeywords, entryCount(sortFieldKeywords)},
    {"Sort order", sortOrderKeywords, entryCount(sortOrderKeywords)},
    {"Axes scale", axesScaleKeywords, entryCount(axesScaleKeywords)},
    {"Number group separator", numberGroupKeywords, entryCount(numberGroupKeywords)},
    {"Font name", fontNameKeywords, entryCount(fontNameKeywords)},
    {"Bar mode", barModeKeywords, entryCount(barModeKeywords)},
    {"Legend position", legendPositionKeywords, entryCount(legendPositionKeywords)},
    {"Text encoding", textEncodingKeywords, entryCount(textEncodingKeywords)},
    {"Encryption method", encryptionKeywords, entryCount(encryptionKeywords)},
};

}  // namespace

const CommandInfo* commandTable(int* count) {
  *count = kCommandCount;
  return kCommands;
}

const KeywordTableInfo* keywordTables(int* count) {
  *count = static_cast<int>(sizeof kKeywordTables / sizeof kKeywordTables[0]);
  return kKeywordTables;
}

const CommandInfo* findCommand(const char* name, int length) {
  for (const CommandInfo& c : kCommands)
    if (sameNoCase(name, length, c.name)) return &c;
  return nullptr;
}

int lookupKeyword(const KeywordEntry* table, const char* name) {
  for (const KeywordEntry* e = table; e->name; ++e)
    if (sameNoCase(name, static_cast<int>(strlen(name)), e->name)) return e->value;
  return 999999999;
}
