// The command table and the keyword tables. Both are plain data so that the
// command reference of the README and the manual page can be generated from
// them.
#pragma once

#include <cstdint>

#include "app/settings.h"

// A handler gets the text after the command name and returns the position
// after its last argument, or nullptr after logging why it failed.
using CommandHandler = const char* (*)(const char* args);

struct CommandInfo {
  const char* name;         // matched without regard to ASCII letter case
  CommandHandler handler;
  const char* synopsis;     // argument synopsis, empty for none
  const char* description;  // one line, with the limits and defaults
  // The arguments' kinds for shell completion, space-separated: "file",
  // "text", "number", "color" (one "#RRGGBB" word or three components),
  // "font" (a font description), or a keyword table named by its title in
  // lower case without spaces ("charttype"). Arguments after the last kind
  // listed are completed as nothing. nullptr for a command without arguments.
  const char* arguments = nullptr;
};

struct KeywordEntry {
  const char* name;  // nullptr ends a table
  int value;
};

struct KeywordTableInfo {
  const char* title;
  const KeywordEntry* entries;
  int count;  // entries before the ending one
};

const CommandInfo* commandTable(int* count);
const KeywordTableInfo* keywordTables(int* count);

// The command of that name (ignoring ASCII case), or nullptr.
const CommandInfo* findCommand(const char* name, int length);

// The value of name in table (ignoring ASCII case), or 999999999.
int lookupKeyword(const KeywordEntry* table, const char* name);

extern const KeywordEntry verticalAlignmentKeywords[];
extern const KeywordEntry horizontalAlignmentKeywords[];
extern const KeywordEntry textStyleKeywords[];
extern const KeywordEntry chartTypeKeywords[];
extern const KeywordEntry chartStyleKeywords[];
extern const KeywordEntry axesLineFormatKeywords[];
extern const KeywordEntry barLabelPositionKeywords[];
extern const KeywordEntry sortFieldKeywords[];
extern const KeywordEntry sortOrderKeywords[];
extern const KeywordEntry axesScaleKeywords[];
extern const KeywordEntry numberGroupKeywords[];
extern const KeywordEntry fontNameKeywords[];
extern const KeywordEntry barModeKeywords[];
extern const KeywordEntry legendPositionKeywords[];
extern const KeywordEntry textEncodingKeywords[];
extern const KeywordEntry encryptionKeywords[];

// Commands without arguments set a field, or add bits to a bit set; flags
// and bits are never cleared.
template <int32_t ChartSettings::*Field, int32_t Value>
const char* setSetting(const char* a) {
  chartSettings.*Field = Value;
  return a;
}
template <int32_t ChartSettings::*Field, int32_t Bits>
const char* addSettingBits(const char* a) {
  chartSettings.*Field |= Bits;
  return a;
}

// Handlers, grouped by the source file that holds them.
// Document commands.
const char* cmdOptions(const char* a);
const char* cmdLog(const char* a);
const char* cmdOutput(const char* a);
constexpr CommandHandler cmdOpenPdf = setSetting<&ChartSettings::openPdf, 1>;
const char* cmdProducer(const char* a);
const char* cmdCreator(const char* a);
const char* cmdAuthor(const char* a);
const char* cmdTitle(const char* a);
const char* cmdSubject(const char* a);
const char* cmdKeywords(const char* a);
constexpr CommandHandler cmdCreationDate = setSetting<&ChartSettings::creationDate, 1>;
constexpr CommandHandler cmdOutline = setSetting<&ChartSettings::outline, 1>;
constexpr CommandHandler cmdPrint = addSettingBits<&ChartSettings::permissions, 4>;
constexpr CommandHandler cmdEditExtra = addSettingBits<&ChartSettings::permissions, 8>;
constexpr CommandHandler cmdCopy = addSettingBits<&ChartSettings::permissions, 16>;
constexpr CommandHandler cmdEdit = addSettingBits<&ChartSettings::permissions, 32>;
const char* cmdTextEncoding(const char* a);
const char* cmdOwnerPassword(const char* a);
const char* cmdUserPassword(const char* a);
const char* cmdEncryption(const char* a);
constexpr CommandHandler cmdHideToolbar = addSettingBits<&ChartSettings::viewerPreferences, 1>;
constexpr CommandHandler cmdHideMenubar = addSettingBits<&ChartSettings::viewerPreferences, 2>;
constexpr CommandHandler cmdHideWindowUI = addSettingBits<&ChartSettings::viewerPreferences, 4>;
constexpr CommandHandler cmdFitWindow = addSettingBits<&ChartSettings::viewerPreferences, 8>;
constexpr CommandHandler cmdCenterWindow = addSettingBits<&ChartSettings::viewerPreferences, 16>;
constexpr CommandHandler cmdPageModeUseNone = setSetting<&ChartSettings::pageMode, 0>;
constexpr CommandHandler cmdPageModeOutlines = setSetting<&ChartSettings::pageMode, 1>;
constexpr CommandHandler cmdPageModeUseThumbs = setSetting<&ChartSettings::pageMode, 2>;
constexpr CommandHandler cmdPageModeFullScreen = setSetting<&ChartSettings::pageMode, 3>;
constexpr CommandHandler cmdPageLayoutSinglePage = setSetting<&ChartSettings::pageLayout, 0>;
constexpr CommandHandler cmdPageLayoutOneColumn = setSetting<&ChartSettings::pageLayout, 1>;
constexpr CommandHandler cmdPageLayoutTwoColumnLeft = setSetting<&ChartSettings::pageLayout, 2>;
constexpr CommandHandler cmdPageLayoutTwoColumnRight = setSetting<&ChartSettings::pageLayout, 3>;
const char* cmdPage(const char* a);
// Chart commands.
const char* cmdChart(const char* a);
const char* cmdChartBackground(const char* a);
const char* cmdChartHeading(const char* a);
const char* cmdHeadingTitle(const char* a);
const char* cmdHeadingSubTitle(const char* a);
const char* cmdAxesLabelX(const char* a);
const char* cmdAxesLabelY(const char* a);
const char* cmdAxesCaptionX(const char* a);
const char* cmdAxesCaptionY(const char* a);
const char* cmdAxesLine(const char* a);
const char* cmdAxesScale(const char* a);
const char* cmdAxesDivisions(const char* a);
const char* cmdDecimalPoints(const char* a);
const char* cmdNumberFormat(const char* a);
const char* cmdValuePrefix(const char* a);
const char* cmdValueSuffix(const char* a);
const char* cmdAxesGridLineStyle(const char* a);
const char* cmdAxesGridLine(const char* a);
const char* cmdBarColor(const char* a);
const char* cmdBarSpacing(const char* a);
const char* cmdBarSize(const char* a);
const char* cmdBarLabel(const char* a);
const char* cmdBarBorder(const char* a);
// Font commands.
const char* cmdFontFile(const char* a);
// Data commands.
const char* cmdDatum(const char* a);
const char* cmdDataset(const char* a);
const char* cmdDataSeparator(const char* a);
const char* cmdDataSort(const char* a);
// Several series.
const char* cmdSeries(const char* a);
const char* cmdRow(const char* a);
const char* cmdTable(const char* a);
const char* cmdBarMode(const char* a);
const char* cmdLegend(const char* a);

// Single-series data ("datum", "dataset") and series data ("series", "row",
// "table") exclude each other: when the other kind is already there, these
// log "ERROR: <display> - cannot be mixed with ..." and return true.
bool seriesMixedWithSingle(const char* display);
bool singleMixedWithSeries(const char* display);

struct FontSpec;
// Reads a font description (size, name, colours, style) into dest; displayName goes into the messages.
const char* readFontSpec(const char* text, FontSpec* dest, const char* displayName);
