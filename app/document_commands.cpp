// Commands that concern the document as a whole: files, information entries,
// passwords, permissions, viewer settings and the page.
#include <unistd.h>

#include <cstring>

#include "app/commands.h"
#include "app/interpreter.h"
#include "app/log.h"
#include "app/settings.h"
#include "app/standard_streams.h"
#include "app/utf8.h"
#include "pdf/font/pdf_unicode_codes.h"

namespace {

ChartSettings& cs = chartSettings;

const char* setInfo(const char* a, char* field, const char* display) {
  return readRequiredText(a, field, kMaxInfoText, display, "no string", "too long");
}

}  // namespace

const char* cmdLog(const char* a) {
  // Read aside first: the too-long marker must not become the name of the
  // file that the error line is appended to.
  char path[kMaxPath + 1];
  const char* p = readRequiredWord(a, path, kMaxPath, "Log", "no filename", "filename too long");
  if (!p) return nullptr;
  strcpy(cs.logFile, path);
  logLine("Plotvane %s Started", "v1.00");
  return p;
}

const char* cmdOutput(const char* a) {
  const char* p =
      readRequiredWord(a, cs.outputFile, kMaxPath, "Output", "no filename", "filename too long");
  // A PDF on a terminal would only garble the screen.
  if (p && isStandardStreamName(cs.outputFile) && isatty(STDOUT_FILENO)) {
    logLine("ERROR: Output - standard output is a terminal");
    return nullptr;
  }
  return p;
}

const char* cmdProducer(const char* a) { return setInfo(a, cs.producer, "Producer"); }
const char* cmdCreator(const char* a) { return setInfo(a, cs.creator, "Creator"); }
const char* cmdAuthor(const char* a) { return setInfo(a, cs.author, "Author"); }
const char* cmdTitle(const char* a) { return setInfo(a, cs.title, "Title"); }
const char* cmdSubject(const char* a) { return setInfo(a, cs.subject, "Subject"); }
const char* cmdKeywords(const char* a) { return setInfo(a, cs.keywords, "Keywords"); }

const char* cmdTextEncoding(const char* a) {
  int encoding;
  const char* p = readRequiredKeyword(a, textEncodingKeywords, 20, &encoding, "TextEncoding",
                                      "encoding not specified", "encoding too long", "unknown encoding");
  if (!p) return nullptr;
  // Texts already read were read in the other encoding.
  if (cs.textGiven) {
    logLine("ERROR: TextEncoding - must come before every text command");
    return nullptr;
  }
  cs.textEncoding = encoding;
  return p;
}

namespace {

// The other methods use at most 32 bytes of a password; a longer one would
// be cut short without notice.
int passwordLimit() { return cs.encryption == EncryptAES256 ? kMaxPasswordAes256 : kMaxPassword; }

// In UTF-8 mode a password is kept as its PDFDocEncoding bytes, which is
// what readers make of the password typed into their own field; AES-256
// alone takes UTF-8 itself.
const char* setPassword(const char* a, char* field, const char* display) {
  if (cs.textEncoding != Utf8Text)
    return readRequiredText(a, field, passwordLimit(), display, "no string", "too long");
  if (cs.encryption == EncryptAES256) {
    // AES-256 takes the password as UTF-8 bytes, at most 127 of them.
    cs.textGiven = 1;
    const char* p = readRequiredWord(a, field, kMaxPasswordAes256, display, "no string", "too long");
    if (p && !utf8IsValid(field, strlen(field))) {
      logLine("ERROR: %s - not valid UTF-8", display);
      return nullptr;
    }
    return p;
  }
  char text[textBytes(kMaxPassword)];
  const char* p = readRequiredText(a, text, kMaxPassword, display, "no string", "too long");
  if (!p) return nullptr;
  const char* q = text;
  const char* end = text + strlen(text);
  size_t n = 0;
  while (q < end) {
    int32_t u = utf8Decode(&q, end);
    int code = PdfDocEncodingCodeOf(static_cast<uint32_t>(u));
    if (code < 0) {
      logLine("ERROR: %s - character U+%04X is not in PDFDocEncoding", display, static_cast<unsigned>(u));
      return nullptr;
    }
    field[n++] = static_cast<char>(code);
  }
  field[n] = '\0';
  return p;
}

}  // namespace

const char* cmdOwnerPassword(const char* a) { return setPassword(a, cs.ownerPassword, "OwnerPassword"); }
const char* cmdUserPassword(const char* a) { return setPassword(a, cs.userPassword, "UserPassword"); }

const char* cmdEncryption(const char* a) {
  int method;
  const char* p = readRequiredKeyword(a, encryptionKeywords, 20, &method, "Encryption", "method not specified",
                                      "method too long", "unknown method");
  if (!p) return nullptr;
  if (method != EncryptAES256 &&
      (strlen(cs.ownerPassword) > kMaxPassword || strlen(cs.userPassword) > kMaxPassword)) {
    logLine("ERROR: Encryption - passwords of more than 32 characters need AES256");
    return nullptr;
  }
  // In UTF-8 mode a password is stored in the form its method takes.
  if (cs.textEncoding == Utf8Text && method != cs.encryption && (cs.ownerPassword[0] || cs.userPassword[0])) {
    logLine("ERROR: Encryption - must come before the passwords in UTF-8 mode");
    return nullptr;
  }
  cs.encryption = method;
  return p;
}

const char* cmdPage(const char* a) {
  // -1 everywhere first, so that a colour that cannot be read is reported.
  cs.pageWidth = -1;
  cs.pageHeight = -1;
  cs.pageColor = RgbColor{-1.0, -1.0, -1.0};
  const char* p = readInteger(a, &cs.pageWidth);
  if (cs.pageWidth < 100 || cs.pageWidth > 10000) {
    logLine("ERROR: Page - width must be between 100 and 10000 inclusive");
    return nullptr;
  }
  p = readInteger(p, &cs.pageHeight);
  if (cs.pageHeight < 100 || cs.pageHeight > 10000) {
    logLine("ERROR: Page - height must be between 100 and 10000 inclusive");
    return nullptr;
  }
  p = readColor(p, &cs.pageColor);
  if (!colorIsValid(cs.pageColor)) {
    logLine("ERROR: Page - color is not valid");
    return nullptr;
  }
  return p;
}
