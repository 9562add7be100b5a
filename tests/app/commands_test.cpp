// Every command's failure messages and the fields the commands write,
// interpreted in-process.
#include <gtest/gtest.h>

#include <string>

#include "app/settings.h"
#include "tests/app/app_test_util.h"

namespace {

using apptest::interpret;

const std::string kChart = "-chart Bar V ";

struct FailCase {
  std::string text;
  std::string message;
};

TEST(Commands, EveryFailureLogsExactlyItsOneMessage) {
  const std::string l257(257, 'a'), l261(261, 'p'), l33(33, 'x'), l31(31, 'L');
  const FailCase cases[] = {
      // Interpreter.
      {"output x", "ERROR: No command character [output x]"},
      {"-open", "ERROR: Unknown command [open]"},
      {"- output x", "ERROR: Unknown command []"},
      {"-" + std::string(300, 'q'), "ERROR: Unknown command [" + std::string(200, 'q') + "]"},
      {"-output a b", "ERROR: No command character [b]"},
      // Document commands.
      {"-options", "ERROR: Options - no filename"},
      {"-options " + l261, "ERROR: Options - filename too long"},
      {"-options /nonexistent/opts.txt",
       "ERROR: Options - could not open [/nonexistent/opts.txt], error=2"},
      {"-options /tmp", "ERROR: Options - could not open [/tmp], error=21"},
      {"-log", "ERROR: Log - no filename"},
      {"-log " + l261, "ERROR: Log - filename too long"},
      {"-output \"\"", "ERROR: Output - no filename"},
      {"-output " + l261, "ERROR: Output - filename too long"},
      {"-producer", "ERROR: Producer - no string"},
      {"-producer " + l257, "ERROR: Producer - too long"},
      {"-creator", "ERROR: Creator - no string"},
      {"-creator " + l257, "ERROR: Creator - too long"},
      {"-author", "ERROR: Author - no string"},
      {"-author " + l257, "ERROR: Author - too long"},
      {"-title \"\"", "ERROR: Title - no string"},
      {"-title " + l257, "ERROR: Title - too long"},
      {"-subject", "ERROR: Subject - no string"},
      {"-subject " + l257, "ERROR: Subject - too long"},
      {"-keywords", "ERROR: Keywords - no string"},
      {"-keywords " + l257, "ERROR: Keywords - too long"},
      {"-ownerpassword", "ERROR: OwnerPassword - no string"},
      {"-ownerpassword " + l33, "ERROR: OwnerPassword - too long"},
      {"-userpassword", "ERROR: UserPassword - no string"},
      {"-userpassword " + l33, "ERROR: UserPassword - too long"},
      {"-encryption", "ERROR: Encryption - method not specified"},
      {"-encryption " + std::string(21, 'A'), "ERROR: Encryption - method too long"},
      {"-encryption AES192", "ERROR: Encryption - unknown method"},
      {"-encryption AES256 -ownerpassword " + std::string(128, 'o'), "ERROR: OwnerPassword - too long"},
      {"-encryption AES256 -userpassword " + l33 + " -encryption AES128",
       "ERROR: Encryption - passwords of more than 32 characters need AES256"},
      {"-encryption AESV3 -ownerpassword " + l33 + " -encryption RC4",
       "ERROR: Encryption - passwords of more than 32 characters need AES256"},
      {"-page 99 600 #FFFFFF", "ERROR: Page - width must be between 100 and 10000 inclusive"},
      {"-page 10001 600 #FFFFFF", "ERROR: Page - width must be between 100 and 10000 inclusive"},
      {"-page abc 600 #FFFFFF", "ERROR: Page - width must be between 100 and 10000 inclusive"},
      {"-page 800 99 #FFFFFF", "ERROR: Page - height must be between 100 and 10000 inclusive"},
      {"-page 800 600 256 0 0", "ERROR: Page - color is not valid"},
      {"-page 800 600 #FFF", "ERROR: Page - color is not valid"},
      {"-page 800 600 1.5 0 0", "ERROR: Page - color is not valid"},
      // Chart commands.
      {"-chart Bar V -chart Bar V", "ERROR: Chart - type already specified"},
      {"-chart", "ERROR: Chart - type not specified"},
      {"-chart " + std::string(20, 'B'), "ERROR: Chart - type too long"},
      {"-chart Pie V", "ERROR: Chart - unknown chart type"},
      {"-chart Bar", "ERROR: Chart - style not specified"},
      {"-chart Bar " + std::string(20, 'V'), "ERROR: Chart - style too long"},
      {"-chart Bar Diagonal", "ERROR: Style - unknown chart style"},
      {"-chartbackground 256 0 0 #FFFFFF", "ERROR: ChartBackground - from color is not valid"},
      {"-chartbackground #FFFFFF #FFF", "ERROR: ChartBackground - to color is not valid"},
      {"-chartheading", "ERROR: ChartHeading - no vertical alignment"},
      {"-chartheading " + std::string(21, 'T'), "ERROR: ChartHeading - vertical alignment too long"},
      {"-chartheading Up L", "ERROR: ChartHeading - unknown vertical alignment"},
      {"-chartheading Middle L", "ERROR: ChartHeading - this vertical alignment not allowed"},
      {"-chartheading M L", "ERROR: ChartHeading - this vertical alignment not allowed"},
      {"-chartheading T", "ERROR: ChartHeading - no horizontal alignment"},
      {"-chartheading T " + std::string(21, 'L'),
       "ERROR: ChartHeading - horizontal alignment too long"},
      {"-chartheading T Middle", "ERROR: ChartHeading - unknown horizontal alignment"},
      {"-headingtitle 0 Helv 0 0 0 Normal",
       "ERROR: HeadingTitle - size must be between 1 and 300 inclusive"},
      {"-headingtitle 301 Helv 0 0 0 Normal",
       "ERROR: HeadingTitle - size must be between 1 and 300 inclusive"},
      {"-headingtitle 12pt Helv 0 0 0 Normal",
       "ERROR: HeadingTitle - size must be between 1 and 300 inclusive"},
      {"-headingsubtitle 12", "ERROR: HeadingSubTitle - no font name"},
      {"-axeslabelx 12 " + std::string(41, 'H'), "ERROR: AxesLabelX - font name too long"},
      {"-axeslabely 12 Arial 0 0 0 Normal", "ERROR: AxesLabelY - unknown font name"},
      {"-headingtitle 12 Helv 0 0 0", "ERROR: HeadingTitle - no text style"},
      {"-headingtitle 12 Helv 0 0 0 " + std::string(41, 'N'),
       "ERROR: HeadingTitle - text style too long"},
      {"-headingtitle 12 Helv 0 0 0 Bold", "ERROR: HeadingTitle - unknown text style"},
      {"-axescaptionx 12 Helv 0 0 0 Normal", "ERROR: AxesCaptionX - no horizontal alignment"},
      {"-axescaptionx 12 Helv 0 0 0 Normal " + std::string(21, 'C'),
       "ERROR: AxesCaptionX - horizontal alignment too long"},
      {"-axescaptionx 12 Helv 0 0 0 Normal Top", "ERROR: AxesCaptionX - unknown horizontal alignment"},
      {"-axescaptionx 12 Helv 0 0 0 Normal C", "ERROR: AxesCaptionX - no title"},
      {"-axescaptionx 12 Helv 0 0 0 Normal C " + std::string(101, 't'),
       "ERROR: AxesCaptionX - title too long"},
      {"-axescaptionx 0 Helv 0 0 0 Normal C x",
       "ERROR: AxesCaptionX - size must be between 1 and 300 inclusive"},
      {"-axescaptiony 12 Helv 0 0 0 Normal", "ERROR: AxesCaptionY - no vertical alignment"},
      {"-axescaptiony 12 Helv 0 0 0 Normal " + std::string(21, 'M'),
       "ERROR: AxesCaptionY - vertical alignment too long"},
      {"-axescaptiony 12 Helv 0 0 0 Normal Left", "ERROR: AxesCaptionY - unknown vertical alignment"},
      {"-axescaptiony 12 Helv 0 0 0 Normal M", "ERROR: AxesCaptionY - no title"},
      {"-axescaptiony 12 Helv 0 0 0 Normal M " + std::string(101, 't'),
       "ERROR: AxesCaptionY - title too long"},
      {"-axesline x1 0 0 0 XY", "ERROR: AxesLine - no width"},
      {"-axesline 0.09 0 0 0 XY", "ERROR: AxesLine - width must be between 0.1 and 100.0 inclusive"},
      {"-axesline 100.1 0 0 0 XY", "ERROR: AxesLine - width must be between 0.1 and 100.0 inclusive"},
      {"-axesline 1 2.0 0 0 XY", "ERROR: AxesLine - color is not valid"},
      {"-axesline 1 0 0 0", "ERROR: AxesLine - no format"},
      {"-axesline 1 0 0 0 " + std::string(21, 'F'), "ERROR: AxesLine - format too long"},
      {"-axesline 1 0 0 0 Half", "ERROR: AxesLine - unknown format"},
      {"-axesscale", "ERROR: AxesScale - not specified"},
      {"-axesscale " + std::string(21, 'R'), "ERROR: AxesScale - scale too long"},
      {"-axesscale Log", "ERROR: AxesScale - unknown format"},
      {"-axesscale ULV", "ERROR: AxesScale - percent under lowest value not specified"},
      {"-axesscale ULV " + std::string(20, '1') + "%",
       "ERROR: AxesScale - percent under lowest value too long"},
      {"-axesscale ULV 10", "ERROR: AxesScale - percent under lowest value invalid"},
      {"-axesscale ULV 101%", "ERROR: AxesScale - percentage between 0-100 inclusive"},
      {"-axesscale ULV -1%", "ERROR: AxesScale - percentage between 0-100 inclusive"},
      {"-axesscale ULV 9999999999999999999%", "ERROR: AxesScale - percentage between 0-100 inclusive"},
      {"-axesscale R x", "ERROR: AxesScale - no range from"},
      {"-axesscale R 0 1a", "ERROR: AxesScale - no range to"},
      {"-numberformat", "ERROR: NumberFormat - group separator not specified"},
      {"-numberformat Comma .", "ERROR: NumberFormat - unknown group separator"},
      {"-numberformat n .", "ERROR: NumberFormat - unknown group separator"},
      {"-numberformat ,", "ERROR: NumberFormat - decimal mark not specified"},
      {"-numberformat , " + std::string(21, '.'), "ERROR: NumberFormat - decimal mark too long"},
      {"-numberformat None ,,",
       "ERROR: NumberFormat - decimal mark must be one character other than a letter, digit, sign or space"},
      {"-numberformat None \" \"",
       "ERROR: NumberFormat - decimal mark must be one character other than a letter, digit, sign or space"},
      {"-numberformat , ,", "ERROR: NumberFormat - group separator and decimal mark are the same"},
      {"-valueprefix", "ERROR: ValuePrefix - not specified"},
      {"-valueprefix 123456789012", "ERROR: ValuePrefix - too long"},
      {"-valuesuffix \" in percent.\"", "ERROR: ValueSuffix - too long"},
      {"-axesdivisions 0", "ERROR: AxesDivisions - between 1-100 inclusive"},
      {"-axesdivisions 101", "ERROR: AxesDivisions - between 1-100 inclusive"},
      {"-decimalpoints 10", "ERROR: DecimalPoints - between 0-9 inclusive"},
      {"-decimalpoints -1", "ERROR: DecimalPoints - between 0-9 inclusive"},
      {"-axesgridlinestyle 1 2 101", "ERROR: AxesGridLineStyle - values between 0-100 inclusive"},
      {"-axesgridlinestyle 1 x 3", "ERROR: AxesGridLineStyle - values between 0-100 inclusive"},
      {"-axesgridline", "ERROR: AxesGridLine - width must be between 0.1 and 100.0 inclusive"},
      {"-axesgridline a", "ERROR: AxesGridLine - no width"},
      {"-axesgridline 101 0 0 0", "ERROR: AxesGridLine - width must be between 0.1 and 100.0 inclusive"},
      {"-axesgridline 1 0 0 256", "ERROR: AxesGridLine - color is not valid"},
      {"-barcolor 256 0 0 #000000", "ERROR: BarColor - from color is not valid"},
      {"-barcolour #000000 0 0 1.01", "ERROR: BarColor - to color is not valid"},
      {"-barspacing 501", "ERROR: BarSpacing - between 0-500 inclusive"},
      {"-barspacing -1", "ERROR: BarSpacing - between 0-500 inclusive"},
      {"-barsize 0", "ERROR: BarSize - between 1-500 inclusive"},
      {"-barsize 501", "ERROR: BarSize - between 1-500 inclusive"},
      {"-barlabel", "ERROR: BarLabel - position not specified"},
      {"-barlabel " + std::string(21, 'S'), "ERROR: BarLabel - position too long"},
      {"-barlabel Middle", "ERROR: BarLabel - unknown position"},
      {"-barlabel Start", "ERROR: BarLabel - format not specified"},
      {"-barlabel A " + std::string(22, 'T'), "ERROR: BarLabel - format too long"},
      {"-barborder q", "ERROR: BarBorder - no width"},
      {"-barborder 0 0 0 0",
       "ERROR: BarBorder - width must be greater than 0.0 and less than or equal to 100.0"},
      {"-barborder 100.5 0 0 0",
       "ERROR: BarBorder - width must be greater than 0.0 and less than or equal to 100.0"},
      {"-barborder 1 #FFFFFF0 -x", "ERROR: No command character [0 -x]"},
      {"-barborder 1 1.1 1 1", "ERROR: BarBorder - color is not valid"},
      // Data commands.
      {"-datum North 12", "ERROR: Datum - Type and/or Style not specified"},
      {kChart + "-datum", "ERROR: Datum - no label"},
      {kChart + "-datum " + l31 + " 1", "ERROR: Datum - label too long"},
      {kChart + "-datum North 12kg", "ERROR: Datum - no value"},
      {kChart + "-datum North -datum South 1", "ERROR: Datum - no value"},
      {"-dataset", "ERROR: Dataset - no filename"},
      {"-dataset " + l261, "ERROR: Dataset - filename too long"},
      {"-dataset /nonexistent", "ERROR: Dataset - Type and/or Style not specified"},
      {kChart + "-dataset /nonexistent/d.csv",
       "ERROR: Dataset - could not open [/nonexistent/d.csv], error=2"},
      {kChart + "-dataset /tmp", "ERROR: Dataset - could not open [/tmp], error=21"},
      {"-dataseparator", "ERROR: DataSeparator - not specified"},
      {"-dataseparator 123456789012", "ERROR: DataSeparator - too long"},
      {"-datasort", "ERROR: DataSort - field not specified"},
      {"-datasort " + std::string(21, 'F'), "ERROR: DataSort - field too long"},
      {"-datasort Third A", "ERROR: DataSort - unknown field"},
      {"-datasort F", "ERROR: DataSort - sort order not specified"},
      {"-datasort F " + std::string(21, 'A'), "ERROR: DataSort - sort order too long"},
      {"-datasort F Up", "ERROR: DataSort - unknown sort order"},
  };
  for (const FailCase& c : cases) {
    apptest::Outcome o = interpret(c.text);
    EXPECT_EQ(o.result, 1) << c.text;
    ASSERT_EQ(o.messages.size(), 1u) << c.text;
    EXPECT_EQ(o.messages[0], c.message) << c.text;
  }
}

TEST(Commands, ColourComponentsMissingAtTheEndReadAsZero) {
  // Missing components are empty, and an empty component is 0.
  std::string opts = pvtest::makeTempDir() + "/grid.txt";
  pvtest::writeFile(opts, "-axesgridline 0.5\n-title after\n");
  struct EndCase {
    std::string text;
    const RgbColor ChartSettings::*field;
    RgbColor want;
  } cases[] = {
      {"-page 800 600", &ChartSettings::pageColor, {0, 0, 0}},
      {"-page 800 600 255", &ChartSettings::pageColor, {1, 0, 0}},
      {"-page 800 600 0 255", &ChartSettings::pageColor, {0, 1, 0}},
      {"-chartbackground #FFFFFF", &ChartSettings::chartBackgroundTo, {0, 0, 0}},
      {"-axesgridline 0.5", &ChartSettings::gridLineColor, {0, 0, 0}},
      {"-options " + opts, &ChartSettings::gridLineColor, {0, 0, 0}},
  };
  for (const EndCase& c : cases) {
    apptest::Outcome o = interpret(c.text);
    EXPECT_EQ(o.result, 0) << c.text;
    EXPECT_TRUE(o.messages.empty()) << c.text;
    const RgbColor& got = chartSettings.*c.field;
    EXPECT_TRUE(got.red == c.want.red && got.green == c.want.green && got.blue == c.want.blue)
        << c.text << ": " << got.red << " " << got.green << " " << got.blue;
  }
  EXPECT_STREQ(chartSettings.title, "after");
}

TEST(Commands, NothingAfterTheFirstFailureRuns) {
  apptest::Outcome o = interpret("-title before -page 99 600 #FFFFFF -author after -bogus");
  EXPECT_EQ(o.result, 1);
  ASSERT_EQ(o.messages.size(), 1u);
  EXPECT_STREQ(chartSettings.title, "before");
  EXPECT_STREQ(chartSettings.author, "");
}

TEST(Commands, TooManyItemsAndColours) {
  std::string text = kChart;
  for (int i = 0; i < 50; ++i) text += "-barcolor #000000 #FFFFFF ";
  apptest::Outcome o = interpret(text);
  EXPECT_EQ(o.result, 0);
  EXPECT_EQ(chartSettings.barColorCount, 50);
  o = interpret(text + "-barcolour #000000 #FFFFFF");
  ASSERT_EQ(o.messages.size(), 1u);
  EXPECT_EQ(o.messages[0], "ERROR: BarColor - maximum number of bar colors (50) reached");

  text = kChart;
  for (int i = 0; i < 1000; ++i) text += "-datum d" + std::to_string(i) + " " + std::to_string(i) + " ";
  o = interpret(text);
  EXPECT_EQ(o.result, 0);
  EXPECT_EQ(chartSettings.dataCount, 1000);
  EXPECT_STREQ(chartSettings.data[999].label, "d999");
  o = interpret(text + "-datum extra 1");
  ASSERT_EQ(o.messages.size(), 1u);
  EXPECT_EQ(o.messages[0], "ERROR: Datum - too many");
}

TEST(Commands, DefaultsOfTheRecord) {
  resetChartSettings();
  const ChartSettings& s = chartSettings;
  EXPECT_EQ(s.pageWidth, 800);
  EXPECT_EQ(s.pageHeight, 600);
  EXPECT_EQ(s.pageColor.red + s.pageColor.green + s.pageColor.blue, 3.0);
  EXPECT_EQ(s.chartBackgroundFrom.red, -1.0);
  EXPECT_EQ(s.chartBackgroundTo.blue, -1.0);
  EXPECT_EQ(s.headingTitle.size, 18);
  EXPECT_EQ(s.headingSubTitle.size, 14);
  EXPECT_EQ(s.headingTitle.font, TimesRoman);
  EXPECT_EQ(s.headingTitle.textStyle, Normal);
  EXPECT_EQ(s.headingVerticalAlign, Middle);
  EXPECT_EQ(s.headingHorizontalAlign, Left);
  EXPECT_EQ(s.axesCaptionX.size, 10);
  EXPECT_EQ(s.axesCaptionXAlign, Centre);
  EXPECT_EQ(s.axesCaptionYAlign, Middle);
  EXPECT_EQ(s.axesLabelX.size, 0);
  EXPECT_EQ(s.axesLabelY.size, 0);
  EXPECT_EQ(s.gridLineColor.green, 0.5);
  EXPECT_EQ(s.axesDivisions, 10);
  EXPECT_EQ(s.decimalPoints, 1);
  EXPECT_EQ(s.axesScale, UnderLowestValue);
  EXPECT_EQ(s.axesScalePercent, 10);
  EXPECT_EQ(s.barSpacing, 18);
  EXPECT_EQ(s.barSize, 0);
  EXPECT_EQ(s.barLabelPosition, AxesAndEnd);
  EXPECT_STREQ(s.barLabelFormat, "TTTT (VVVV)");
  EXPECT_STREQ(s.dataSeparator, ",");
  for (int f = 0; f <= 14; ++f) EXPECT_EQ(s.fontUsed[f], 0);
  EXPECT_EQ(sizeof s.outputFile, 265u);
}

TEST(Commands, FontSpecifications) {
  apptest::Outcome o = interpret("-headingtitle 14 Helv 0 0 0 Normal");
  EXPECT_EQ(o.result, 0);
  EXPECT_EQ(chartSettings.headingTitle.size, 14);
  EXPECT_EQ(chartSettings.headingTitle.font, Helvetica);
  EXPECT_EQ(chartSettings.fontUsed[Helvetica], 1);
  EXPECT_EQ(chartSettings.fontUsed[TimesRoman], 0);

  o = interpret("-headingsubtitle 14 helvetica-bo 0 0 0 stroke 255 0 0");
  EXPECT_EQ(o.result, 0);
  const FontSpec& sub = chartSettings.headingSubTitle;
  EXPECT_EQ(sub.font, HelveticaBoldOblique);
  EXPECT_EQ(sub.textStyle, Stroke);
  EXPECT_EQ(sub.strokeColor.red, 1.0);
  EXPECT_EQ(sub.strokeColor.green, 0.0);
  EXPECT_EQ(chartSettings.fontUsed[HelveticaBoldOblique], 1);

  // Normal style leaves the stroke colour; font colours are not range-checked.
  o = interpret("-axeslabelx 9 Zapf 300 0 0 Normal 255 255 255");
  EXPECT_EQ(o.result, 1);  // the colour after Normal is not an argument
  EXPECT_DOUBLE_EQ(chartSettings.axesLabelX.fillColor.red, 300 / 255.0);
  EXPECT_EQ(chartSettings.axesLabelX.strokeColor.red, 0.0);
  EXPECT_EQ(chartSettings.fontUsed[ZapfDingbats], 1);

  // A font is marked as used as soon as its name is recognised.
  o = interpret("-axeslabely 9 Cour-BO 0 0 0 Bold");
  EXPECT_EQ(o.result, 1);
  EXPECT_EQ(chartSettings.fontUsed[CourierBoldOblique], 1);

  o = interpret("-axescaptionx 12 Times-BI #102030 Normal R \"Month of year\" "
                "-axescaptiony 11 Sym 0 0 0 Normal Bot Units");
  EXPECT_EQ(o.result, 0);
  EXPECT_EQ(chartSettings.axesCaptionX.font, TimesBoldItalic);
  EXPECT_EQ(chartSettings.axesCaptionXAlign, Right);
  EXPECT_STREQ(chartSettings.axesCaptionXText, "Month of year");
  EXPECT_EQ(chartSettings.axesCaptionY.font, Symbol);
  EXPECT_EQ(chartSettings.axesCaptionYAlign, Bottom);
  EXPECT_STREQ(chartSettings.axesCaptionYText, "Units");
}

TEST(Commands, NumberFormatAndRoundScale) {
  struct {
    std::string text;
    std::string group, decimal;
  } cases[] = {
      {"-numberformat , .", ",", "."},
      {"-numberformat \" \" ,", " ", ","},
      {"-numberformat space ,", " ", ","},
      {"-numberformat , . -numberformat NONE ,", "", ","},
      {"-textencoding UTF8 -numberformat \xE2\x80\xAF \xC2\xB7", "\xE2\x80\xAF", "\xC2\xB7"},
  };
  for (const auto& c : cases) {
    apptest::Outcome o = interpret(c.text);
    EXPECT_EQ(o.result, 0) << c.text;
    EXPECT_EQ(chartSettings.numberGroup, c.group) << c.text;
    EXPECT_EQ(chartSettings.numberDecimal, c.decimal) << c.text;
  }
  apptest::Outcome o = interpret("-valueprefix \"US$ \" -valuesuffix 12345678901 -axesscale n -axesdivisions 4");
  EXPECT_EQ(o.result, 0);
  EXPECT_STREQ(chartSettings.valuePrefix, "US$ ");
  EXPECT_STREQ(chartSettings.valueSuffix, "12345678901");
  EXPECT_EQ(chartSettings.axesScale, Nice);
  EXPECT_EQ(chartSettings.axesDivisions, 4);
}

TEST(Commands, ChartAxesAndBars) {
  apptest::Outcome o = interpret(
      "-chart bar horz -chartbackground #FFFFFF 0 0 0 -chartheading Bot C "
      "-axesline 0.1 #FF0000 F -axesgridline 100 0.25 0.5 0.75 -axesgridlinestyle 3 0 100 "
      "-axesdivisions 100 -decimalpoints 0 -barborder 0.001 0 0 255 -barlabel AE");
  EXPECT_EQ(o.result, 0);
  const ChartSettings& s = chartSettings;
  EXPECT_EQ(s.chartType, Bar);
  EXPECT_EQ(s.chartStyle, Horizontal);
  EXPECT_EQ(s.chartBackgroundFrom.red, 1.0);
  EXPECT_EQ(s.chartBackgroundTo.red, 0.0);
  EXPECT_EQ(s.headingVerticalAlign, Bottom);
  EXPECT_EQ(s.headingHorizontalAlign, Centre);
  EXPECT_EQ(s.axesLineWidth, 0.1);
  EXPECT_EQ(s.axesLineFull, 1);
  EXPECT_EQ(s.axesLineColor.red, 1.0);
  EXPECT_EQ(s.gridLineWidth, 100.0);
  EXPECT_EQ(s.gridLineColor.blue, 0.75);
  EXPECT_EQ(s.gridLineStyle[0], 3);
  EXPECT_EQ(s.gridLineStyle[2], 100);
  EXPECT_EQ(s.axesDivisions, 100);
  EXPECT_EQ(s.decimalPoints, 0);
  EXPECT_EQ(s.barBorderWidth, 0.001);
  EXPECT_EQ(s.barBorderColor.blue, 1.0);
  EXPECT_EQ(s.barLabelPosition, AxesAndEnd);
  EXPECT_STREQ(s.barLabelFormat, "TTTT (VVVV)");

  // AE reads no format: the next word is taken as the next command.
  o = interpret("-barlabel AE TTTT");
  ASSERT_EQ(o.messages.size(), 1u);
  EXPECT_EQ(o.messages[0], "ERROR: No command character [TTTT]");

  o = interpret("-barlabel Centre \"VVVV units\" -axesline 1 0 0 0 XY");
  EXPECT_EQ(o.result, 0);
  EXPECT_EQ(chartSettings.barLabelPosition, Center);
  EXPECT_STREQ(chartSettings.barLabelFormat, "VVVV units");
  EXPECT_EQ(chartSettings.axesLineFull, 0);

  // A colour that cannot be read keeps the entry's black and passes.
  o = interpret("-barcolor # #FFFFFF");
  EXPECT_EQ(o.result, 0);
  EXPECT_EQ(chartSettings.barColorCount, 1);
  EXPECT_EQ(chartSettings.barColors[0].from.red, 0.0);
  EXPECT_EQ(chartSettings.barColors[0].to.red, 1.0);

  o = interpret("-barsize 40 -barspacing 10");
  EXPECT_EQ(chartSettings.barSize, 0);
  EXPECT_EQ(chartSettings.barSpacing, 10);
  o = interpret("-barspacing 10 -barsize 40");
  EXPECT_EQ(chartSettings.barSize, 40);
  EXPECT_EQ(chartSettings.barSpacing, 10);
}

TEST(Commands, AxesScaleKinds) {
  interpret("-axesscale ULV 25%");
  EXPECT_EQ(chartSettings.axesScale, UnderLowestValue);
  EXPECT_EQ(chartSettings.axesScalePercent, 25);
  interpret("-axesscale ULV 0%x");
  EXPECT_EQ(chartSettings.axesScalePercent, 0);
  interpret("-axesscale range -5.5 100");
  EXPECT_EQ(chartSettings.axesScale, Range);
  EXPECT_EQ(chartSettings.axesScaleFrom, -5.5);
  EXPECT_EQ(chartSettings.axesScaleTo, 100.0);
  apptest::Outcome o = interpret("-axesscale FZ -title t");
  EXPECT_EQ(o.result, 0);
  EXPECT_EQ(chartSettings.axesScale, FromZero);
  EXPECT_STREQ(chartSettings.title, "t");
}

TEST(Commands, DocumentSettings) {
  apptest::Outcome o = interpret(
      "-print -print -copy -hidetoolbar -HIDEWINDOWUI -centerwindow -pagemodeusethumbs "
      "-pagelayouttwocolumnright -creationdate -outline -OpenPDF -ownerpassword own "
      "-userpassword \"us er\" -producer P -creator C -author A -subject S -keywords K "
      "-output \"my chart\" -title " + std::string(256, 'T'));
  EXPECT_EQ(o.result, 0);
  EXPECT_TRUE(o.messages.empty());
  const ChartSettings& s = chartSettings;
  EXPECT_EQ(s.permissions, 4 | 16);
  EXPECT_EQ(s.viewerPreferences, 1 | 4 | 16);
  EXPECT_EQ(s.pageMode, 2);
  EXPECT_EQ(s.pageLayout, 3);
  EXPECT_EQ(s.creationDate, 1);
  EXPECT_EQ(s.outline, 1);
  EXPECT_EQ(s.openPdf, 1);
  EXPECT_STREQ(s.ownerPassword, "own");
  EXPECT_STREQ(s.userPassword, "us er");
  EXPECT_STREQ(s.outputFile, "my chart");
  EXPECT_EQ(std::string(s.title), std::string(256, 'T'));
  EXPECT_STREQ(s.producer, "P");
  EXPECT_STREQ(s.keywords, "K");

  o = interpret("-editextra -edit -hidemenubar -fitwindow -pagemodefullscreen -pagemodeoutlines "
                "-pagelayoutonecolumn -pagelayouttwocolumnleft");
  EXPECT_EQ(chartSettings.permissions, 8 | 32);
  EXPECT_EQ(chartSettings.viewerPreferences, 2 | 8);
  EXPECT_EQ(chartSettings.pageMode, 1);
  EXPECT_EQ(chartSettings.pageLayout, 2);
  interpret("-pagemodefullscreen -pagemodeusenone -pagelayoutsinglepage");
  EXPECT_EQ(chartSettings.pageMode, 0);
  EXPECT_EQ(chartSettings.pageLayout, 0);
}

TEST(Commands, EncryptionMethodAndPasswordLimits) {
  struct MethodCase {
    const char* keyword;
    int method;
  } cases[] = {{"RC4", EncryptRC4},       {"rc4-40", EncryptRC4}, {"AES128", EncryptAES128},
               {"aesv2", EncryptAES128},  {"AES256", EncryptAES256}, {"AesV3", EncryptAES256}};
  for (const MethodCase& c : cases) {
    apptest::Outcome o = interpret(std::string("-encryption ") + c.keyword);
    EXPECT_EQ(o.result, 0) << c.keyword;
    EXPECT_EQ(chartSettings.encryption, c.method) << c.keyword;
  }
  // 127 bytes after AES256, and the method may change while they fit in 32.
  const std::string l127(127, 'p');
  apptest::Outcome o = interpret("-encryption AES256 -ownerpassword " + l127 + " -userpassword u" +
                                 " -encryption AES128");
  EXPECT_EQ(o.result, 1);
  EXPECT_EQ(std::string(chartSettings.ownerPassword), l127);
  EXPECT_EQ(chartSettings.encryption, EncryptAES256);
  o = interpret("-ownerpassword " + std::string(32, 'o') + " -encryption AES256 -encryption AES128");
  EXPECT_EQ(o.result, 0);
  EXPECT_EQ(chartSettings.encryption, EncryptAES128);
}

TEST(Commands, PageColours) {
  struct PageCase {
    const char* args;
    double r, g, b;
  };
  const double k = 1.0 / 255.0;
  const PageCase cases[] = {
      {"800 600 #FFFFFF", 1, 1, 1},
      {"800 600 255 255 255", 1, 1, 1},
      {"800 600 1.0 1.0 1.0", 1, 1, 1},
      {"800 600 0.5 0.5 0.5", 0.5, 0.5, 0.5},
      {"800 600 128 128 128", 128 * k, 128 * k, 128 * k},
      {"100 10000 #00ff80", 0, 1, 128 * k},
  };
  for (const PageCase& c : cases) {
    apptest::Outcome o = interpret(std::string("-page ") + c.args);
    EXPECT_EQ(o.result, 0) << c.args;
    EXPECT_DOUBLE_EQ(chartSettings.pageColor.red, c.r) << c.args;
    EXPECT_DOUBLE_EQ(chartSettings.pageColor.green, c.g) << c.args;
    EXPECT_DOUBLE_EQ(chartSettings.pageColor.blue, c.b) << c.args;
  }
  interpret("-page 100 10000 #FFFFFF");
  EXPECT_EQ(chartSettings.pageWidth, 100);
  EXPECT_EQ(chartSettings.pageHeight, 10000);
}

TEST(Commands, LanguageDetails) {
  // Comments, letter case and white space.
  apptest::Outcome o = interpret("  -openpdf ; -title ignored");
  EXPECT_EQ(o.result, 0);
  EXPECT_EQ(chartSettings.openPdf, 1);
  EXPECT_STREQ(chartSettings.title, "");
  o = interpret("-OUTPUT\tfile -Title x");
  EXPECT_EQ(o.result, 0);
  EXPECT_STREQ(chartSettings.outputFile, "file");
  // A tab after an unquoted word belongs to the word.
  o = interpret("-output a\tb");
  EXPECT_STREQ(chartSettings.outputFile, "a\tb");
  o = interpret(";only a comment");
  EXPECT_EQ(o.result, 0);
  EXPECT_TRUE(o.messages.empty());
  // Unmatched quote runs to the end of the text.
  o = interpret("-title \"never closed");
  EXPECT_EQ(o.result, 0);
  EXPECT_STREQ(chartSettings.title, "never closed");
}

TEST(Commands, Datum) {
  apptest::Outcome o = interpret(kChart + "-datum \"North East\" 12.5 -datum W -3 -datum South");
  EXPECT_EQ(o.result, 0);
  EXPECT_EQ(chartSettings.dataCount, 3);
  EXPECT_STREQ(chartSettings.data[0].label, "North East");
  EXPECT_EQ(chartSettings.data[0].value, 12.5);
  EXPECT_EQ(chartSettings.data[1].value, -3.0);
  EXPECT_STREQ(chartSettings.data[2].label, "South");
  EXPECT_EQ(chartSettings.data[2].value, 0.0);
  EXPECT_EQ(chartSettings.dataHasDecimals, 1);
  o = interpret(kChart + "-datum a 12 -datum b 7");
  EXPECT_EQ(chartSettings.dataHasDecimals, 0);
}

}  // namespace
