#include "chart/make_pdf.h"

#include <strings.h>

#include <csignal>
#include <cstring>
#include <ctime>
#include <memory>
#include <new>
#include <string>

#include "app/log.h"
#include "app/settings.h"
#include "app/standard_streams.h"
#include "app/utf8.h"
#include "chart/chart_drawing.h"
#include "chart/chart_frame.h"
#include "chart/chart_layout.h"
#include "chart/chart_legend.h"
#include "chart/chart_text.h"
#include "chart/series_bars.h"
#include "chart/font_codes.h"
#include "chart/viewer.h"
#include "pdf/content/pdf_contents.h"
#include "pdf/font/pdf_encoding.h"
#include "pdf/font/pdf_font_def.h"
#include "pdf/pdf_doc.h"
#include "pdf/source_date.h"
#include "pdf/pdf_exception.h"
#include "pdf/pdf_info.h"
#include "pdf/pdf_outline.h"
#include "pdf/pdf_stream.h"

namespace {

void appendPdfEnding(char* name) {
  size_t n = std::strlen(name);
  if (n > 4 && strcasecmp(name + n - 4, ".pdf") == 0) return;
  std::strcat(name, ".pdf");
}

// The fonts the chart needs: those named by commands, and the fonts of the
// default text formats that will be drawn although no command named them.
void fontsToRegister(bool needed[15]) {
  const ChartSettings& s = chartSettings;
  for (int f = 1; f <= 14; ++f) needed[f] = s.fontUsed[f] != 0;
  auto need = [&](const FontSpec& format) {
    if (format.font >= 1 && format.font <= 14) needed[format.font] = true;
  };
  if (s.title[0]) need(s.headingTitle);
  if (s.subject[0]) need(s.headingSubTitle);
  if (s.axesCaptionXText[0]) need(s.axesCaptionX);
  if (s.axesCaptionYText[0]) need(s.axesCaptionY);
  if (s.axesLabelX.size > 0) need(s.axesLabelX);
  if (s.axesLabelY.size > 0) need(s.axesLabelY);
  if (legendShown()) need(s.legendFont);
}

void setCreationDate(PdfDoc& doc) {
  time_t now;
  struct tm utc, local;
  if (PdfSourceDateEpoch(&now)) {
    // A reproducible date does not depend on where it is made: universal time.
    gmtime_r(&now, &utc);
    doc.GetInfo()->SetCreationDate(utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min,
                                   utc.tm_sec, 'z', 0, 0);
    return;
  }
  now = time(nullptr);
  gmtime_r(&now, &utc);
  localtime_r(&now, &local);
  // Both readings taken as universal time give the zone's offset.
  long diff = static_cast<long>(timegm(&local) - timegm(&utc));
  char sign = diff == 0 ? 'z' : (diff < 0 ? '-' : '+');
  long magnitude = diff < 0 ? -diff : diff;
  doc.GetInfo()->SetCreationDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                                 local.tm_sec, sign, static_cast<int>(magnitude / 3600),
                                 static_cast<int>((magnitude / 60) % 60));
}

// A document information entry or bookmark title. In UTF-8 mode a text
// beyond ASCII becomes a UTF-16BE text string with its byte-order mark,
// which every reader shows as written; ASCII stays a plain string.
PdfObject* infoText(const char* text) {
  const size_t length = std::strlen(text);
  bool ascii = true;
  for (size_t i = 0; i < length && ascii; ++i) ascii = static_cast<unsigned char>(text[i]) < 0x80;
  if (chartSettings.textEncoding != Utf8Text || ascii) return new PdfText(text);
  std::string bytes = "\xFE\xFF";
  const char* p = text;
  const char* end = text + length;
  auto unit = [&bytes](uint32_t u) {
    bytes += static_cast<char>(u >> 8);
    bytes += static_cast<char>(u & 0xFF);
  };
  while (p < end) {
    uint32_t u = static_cast<uint32_t>(utf8Decode(&p, end));  // checked when read
    if (u >= 0x10000) {
      unit(0xD800 + ((u - 0x10000) >> 10));
      unit(0xDC00 + ((u - 0x10000) & 0x3FF));
    } else {
      unit(u);
    }
  }
  return new PdfEncodedText(reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<int>(bytes.size()));
}

// The log holds one line per event, so line breaks inside a message go.
void logFailure(const char* message) {
  std::string text;
  for (const char* p = message; *p; ++p)
    if (*p != '\n' && *p != '\r') text += *p;
  logLine("MakePDF %s", text.c_str());
}

// Standard output gets the file only once it is complete, so that a failed
// run leaves it empty.
void writeToStandardOutput(PdfDoc& doc) {
  PdfMemStream pdf(64 * 1024);
  doc.WriteToStream(&pdf);
  // A reader that went away makes a failed write that is logged, instead of
  // a death by signal that the log would not explain.
  struct PipeSignalIgnored {
    void (*old)(int) = signal(SIGPIPE, SIG_IGN);
    ~PipeSignalIgnored() { signal(SIGPIPE, old); }
  } ignored;
  PdfFileStream out(stdout, false);
  pdf.WriteTo(&out, nullptr);
  out.Close();
}

void drawChart(PdfDoc& doc, PdfPage* page, PdfContents* canvas) {
  ChartSettings& s = chartSettings;
  ChartFrame frame;
  frame.canvas = canvas;
  const PdfBox box = page->GetMediaBox();
  frame.pageTop = box.top;
  frame.pageRight = box.right;
  frame.left = 0;
  frame.top = s.pageHeight;
  frame.right = s.pageWidth;
  frame.bottom = 0;
  frame.borderInset = s.barBorderWidth > 1.0 ? (s.barBorderWidth - 1.0) * 0.5 : 0;
  (void)doc;

  drawPageBackground(frame);
  drawHeadings(frame);
  drawLegend(frame);
  layoutAxisLabelRoom(frame);
  drawCaptions(frame);
  drawChartBackground(frame);
  drawGridAndValueLabels(frame);
  if (hasSeries())
    drawSeriesBars(frame);
  else
    drawBars(frame);
  drawAxesLines(frame);
}

}  // namespace

int MakePDF() {
  ChartSettings& s = chartSettings;
  const bool toStandardOutput = isStandardStreamName(s.outputFile);
  if (!toStandardOutput) appendPdfEnding(s.outputFile);

  std::unique_ptr<PdfDoc> doc(new PdfDoc());
  logLine("Creating PDF structure in memory...");
  try {
    doc->CreateDocument();

    bool needed[15];
    fontsToRegister(needed);
    // In UTF-8 mode the text fonts draw WinAnsiEncoding codes; Symbol and
    // ZapfDingbats keep their own encodings.
    const bool utf8 = s.textEncoding == Utf8Text;
    for (int f = 1; f <= 14; ++f) {
      if (!needed[f]) continue;
      PdfEncodingDef* encoding = utf8 && f < Symbol ? new PdfWinAnsiEncoding() : nullptr;
      doc->AddType1Font(CreateStandardFontDef(standardFontName(f)), nullptr, encoding);
    }

    if (s.creationDate) setCreationDate(*doc);
    // The method first, so that AES-256 passwords are checked as UTF-8.
    const bool isProtected = s.permissions || s.ownerPassword[0] || s.userPassword[0];
    if (isProtected && s.encryption != EncryptRC4) doc->SetEncryptionMethod(s.encryption);
    if (s.permissions) doc->SetPermission(s.permissions);

    PdfCatalog* catalog = doc->GetCatalog();
    if (s.viewerPreferences) catalog->SetViewerPreference(s.viewerPreferences);
    if (s.pageMode) catalog->SetPageMode(s.pageMode);
    if (s.pageLayout) catalog->SetPageLayout(s.pageLayout);

    PdfInfo* info = doc->GetInfo();
    if (!utf8) {
      if (s.producer[0]) info->SetProducer(s.producer);
      if (s.creator[0]) info->SetCreator(s.creator);
      if (s.author[0]) info->SetAuthor(s.author);
      if (s.title[0]) info->SetTitle(s.title);
      if (s.subject[0]) info->SetSubject(s.subject);
      if (s.keywords[0]) info->SetKeywords(s.keywords);
    } else {
      if (s.producer[0]) info->AddElement("Producer", infoText(s.producer));
      if (s.creator[0]) info->AddElement("Creator", infoText(s.creator));
      if (s.author[0]) info->AddElement("Author", infoText(s.author));
      if (s.title[0]) info->AddElement("Title", infoText(s.title));
      if (s.subject[0]) info->AddElement("Subject", infoText(s.subject));
      if (s.keywords[0]) info->AddElement("Keywords", infoText(s.keywords));
    }

    if (s.ownerPassword[0] || s.userPassword[0]) doc->SetPassword(s.ownerPassword, s.userPassword);

    PdfOutlineRoot* outlines = nullptr;
    if (s.outline) {
      catalog->SetPageMode(pmUseOutlines);
      outlines = catalog->GetOutlines();
    }

    PdfPage* page = doc->AddPage();
    page->SetSize(s.pageWidth, s.pageHeight);
    PdfContents* canvas = page->GetContents();
    canvas->SetFilter(PDF_FILTER_FLATE);

    PdfOutlineItem* bookmark = nullptr;
    // Nothing owns the destination until its first Set registers it in the
    // object table, so a failure while drawing must free it here.
    std::unique_ptr<PdfDestination> destination;
    if (s.outline) {
      bookmark = new PdfOutlineItem(outlines);
      if (utf8)
        bookmark->AddElement("Title", infoText(s.title));
      else
        bookmark->SetTitle(s.title);
      bookmark->SetOpened(true);
      destination.reset(new PdfDestination(page, true));
    }

    drawChart(*doc, page, canvas);

    if (s.outline) {
      // From here the object table owns it, and frees it itself when it
      // refuses to number it.
      PdfDestination* registered = destination.release();
      registered->SetXYZ(0, page->GetMediaBox().top, 1.0);
      bookmark->SetDestination(registered);
    }

    logLine("Saving PDF to [%s]...", toStandardOutput ? "standard output" : s.outputFile);
    if (toStandardOutput)
      writeToStandardOutput(*doc);
    else
      doc->WriteToFile(s.outputFile);
    logLine("...success");

    if (s.openPdf && toStandardOutput) {
      logLine("Not opening the PDF in a viewer: it went to standard output");
    } else if (s.openPdf) {
      logLine("Opening PDF in default PDF viewer...");
      int error = openInDefaultViewer(s.outputFile);
      if (error != 0)
        logLine("failed, error=%d", error);
      else
        logLine("...success");
    }
  } catch (const UnshowableCharacter& e) {
    logLine("%s", e.what());
    doc->FreeDocument();
    return 1;
  } catch (PdfException& e) {
    logFailure(e.what());
    doc->FreeDocument();
    return 1;
  } catch (PdfException* e) {
    // The ownership registry throws its failures by pointer.
    logFailure(e->what());
    delete e;
    doc->FreeDocument();
    return 1;
  } catch (const std::bad_alloc&) {
    logFailure("out of memory");
    doc->FreeDocument();
    return 1;
  }
  doc->FreeDocument();
  return 0;
}
