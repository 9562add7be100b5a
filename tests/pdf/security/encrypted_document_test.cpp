// Whole documents protected through PdfDoc with RC4, AES-128 and AES-256,
// checked with independent readers: qpdf reports the handler and the
// permissions, decrypts to the same strings and page content as the
// unprotected document, and poppler, mupdf and ghostscript open it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "pdf/pdf_doc.h"
#include "pdf/pdf_exception.h"
#include "pdf/pdf_info.h"
#include "pdf/pdf_stream.h"
#include "pdf/pdf_xref.h"
#include "pdf/security/md5.h"
#include "pdf/security/pdf_encrypt.h"
#include "tests/support/test_support.h"

namespace {

using pvtest::runShell;

std::string Quote(const std::string& text) {
  std::string quoted = "'";
  for (char ch : text) {
    if (ch == '\'') quoted += "'\\''";
    else quoted += ch;
  }
  return quoted + "'";
}

std::string ToHex(const uint8_t* bytes, int length) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  for (int k = 0; k < length; k++) {
    hex += kDigits[bytes[k] >> 4];
    hex += kDigits[bytes[k] & 15];
  }
  return hex;
}

// A content stream that draws something visible, compressed, and a plain one
// spanning several 1024-byte chunks, so both transfers are encrypted.
const char kDrawn[] = "0.2 0.4 0.8 rg\n72 72 300 400 re\nf\n0 g\n2 w\n72 500 m\n400 700 l\nS\n";

std::string PlainContent() {
  std::string text;
  for (int k = 0; text.size() < 3500; k++) {
    text += "0 0 0 RG\n" + std::to_string(100 + k % 300) + " " + std::to_string(80 + k % 500) +
            " m\n" + std::to_string(110 + k % 300) + " 90 l\nS\n";
  }
  return text;
}

// Scattered strokes that compress poorly, so the compressed data spans
// several output chunks and the RC4 run must continue across them.
std::string ScatteredContent() {
  std::string text = "0.5 G\n";
  uint32_t seed = 12345;
  auto next = [&seed](int range) {
    seed = seed * 1103515245u + 12345u;
    return static_cast<int>((seed >> 8) % static_cast<uint32_t>(range));
  };
  while (text.size() < 20000) {
    text += std::to_string(next(596)) + " " + std::to_string(next(842)) + " m " +
            std::to_string(next(596)) + " " + std::to_string(next(842)) + " l S\n";
  }
  return text;
}

void AddContentStream(PdfDoc& doc, PdfArray* contents, const std::string& data, bool flate) {
  PdfStream* stream = new PdfStream(doc.GetXref());
  doc.GetXref()->AddObject(stream);
  if (flate) stream->SetFilter(PDF_FILTER_FLATE);
  stream->GetStream()->Write(data.data(), static_cast<int>(data.size()));
  contents->Add(stream);
}

void BuildDocument(PdfDoc& doc) {
  doc.CreateDocument();
  PdfInfo* info = doc.GetInfo();
  info->SetTitle("Sales (2026) \\ report");
  info->SetAuthor("Plotvane tester");
  info->SetSubject("Strings under RC4");
  info->SetKeywords("alpha beta gamma");
  // Strings inside an array and a nested dictionary: each must start from
  // the object key, or readers decrypt them wrongly.
  PdfArray* list = new PdfArray(doc.GetXref());
  info->AddElement("PvList", list);
  list->Add(new PdfText("first"));
  list->Add(new PdfNumber(2));
  list->Add(new PdfText("second item"));
  PdfDictionary* nested = new PdfDictionary(doc.GetXref());
  info->AddElement("PvNested", nested);
  nested->AddElement("A", new PdfText("nested one"));
  PdfArray* inner = new PdfArray(doc.GetXref());
  nested->AddElement("B", inner);
  inner->Add(new PdfText("inner two"));
  inner->Add(new PdfText("inner three"));

  PdfPage* page = doc.AddPage();
  PdfArray* contents = new PdfArray(doc.GetXref());
  AddContentStream(doc, contents, kDrawn, true);
  AddContentStream(doc, contents, PlainContent(), false);
  AddContentStream(doc, contents, ScatteredContent(), true);
  page->AddElement("Contents", contents);
}

struct Protection {
  const char* name;
  int method;
  const char* owner;  // nullptr: SetPassword is not called
  const char* user;
  int permission;  // -1: SetPermission is not called
  int32_t expectedP;
  // qpdf's wording for print, modify other, extract, modify annotations
  bool print, modify, extract, annotate;
};

// Under AES each permission command also grants the newer bit it covered in
// revision 2: print 2048, change 1024, copy 512, annotate 256.
const Protection kProtections[] = {
    {"user password", emRC4, "", "user secret", -1, -4, true, true, true, true},
    {"owner password", emRC4, "owner secret", "", -1, -4, true, true, true, true},
    {"both passwords", emRC4, "owner secret", "user secret", 4 | 16, -44, true, false, true, false},
    {"permissions only", emRC4, nullptr, nullptr, 4, -60, true, false, false, false},
    {"AES128 user password", emAES128, "", "user secret", -1, -4, true, true, true, true},
    {"AES128 both passwords", emAES128, "owner secret", "user secret", 4 | 16, -3884 + 2560, true,
     false, true, false},
    {"AES128 permissions only", emAES128, nullptr, nullptr, 8 | 32, -3864 + 1280, false, true,
     false, true},
    {"AES256 user password", emAES256, "", "user secret", -1, -4, true, true, true, true},
    {"AES256 owner password", emAES256, "owner secret", "", 0, -3904, false, false, false, false},
    {"AES256 both passwords", emAES256, "owner secret", "user secret", 4 | 8 | 16 | 32, -4, true,
     true, true, true},
    {"AES256 UTF-8 passwords", emAES256, "D\xc3\xbcsseldorf \xe2\x82\xac", "\xce\xb1\xce\xb2\xce\xb3", 4, -3904 + 2052,
     true, false, false, false},
};

void PrintTo(const Protection& p, std::ostream* os) { *os << p.name; }

void Protect(PdfDoc& doc, const Protection& p) {
  if (p.method != emRC4) doc.SetEncryptionMethod(p.method);
  if (p.permission >= 0) doc.SetPermission(p.permission);
  if (p.owner) doc.SetPassword(p.owner, p.user);
}

// The password that opens the file with full access: under AES a missing
// owner password is made from the user password.
std::string OpeningPassword(const Protection& p) {
  return p.owner && *p.owner ? p.owner : (p.user ? p.user : "");
}

std::string Qpdf(const std::string& args, const std::string& password, const std::string& file,
                 int* rc = nullptr, const std::string& outputFile = "") {
  std::string out;
  std::string command = "qpdf ";
  if (!password.empty()) command += "--password=" + Quote(password) + " ";
  command += args + " " + Quote(file);
  if (!outputFile.empty()) command += " " + Quote(outputFile);
  int status = runShell(command, &out);
  if (rc) *rc = status;
  return out;
}

// The Info dictionary as qpdf prints it (strings decrypted) and the
// concatenated, decoded page content.
struct Readable {
  std::string info;
  std::string content;
};

Readable ReadWithQpdf(const std::string& file, const std::string& password) {
  Readable result;
  std::string trailer = Qpdf("--show-object=trailer", password, file);
  size_t at = trailer.find("/Info ");
  if (at == std::string::npos) {
    ADD_FAILURE() << "no Info in trailer of " << file << ": " << trailer;
    return result;
  }
  int infoId = atoi(trailer.c_str() + at + 6);
  result.info = Qpdf("--show-object=" + std::to_string(infoId), password, file);

  std::string pages = Qpdf("--show-pages", password, file);
  size_t content = pages.find("content:");
  if (content == std::string::npos) {
    ADD_FAILURE() << "no content in " << file << ": " << pages;
    return result;
  }
  const char* p = pages.c_str() + content + 8;
  while (true) {
    while (*p == ' ' || *p == '\n') p++;
    if (!isdigit(static_cast<unsigned char>(*p))) break;
    int id = atoi(p);
    result.content += Qpdf("--show-object=" + std::to_string(id) + " --filtered-stream-data",
                           password, file);
    while (*p && *p != '\n') p++;
  }
  return result;
}

class EncryptedDocumentTest : public ::testing::TestWithParam<Protection> {};

TEST_P(EncryptedDocumentTest, ReadersAgree) {
  const Protection& p = GetParam();
  const std::string dir = pvtest::makeTempDir();
  const std::string plainFile = dir + "/plain.pdf";
  const std::string protectedFile = dir + "/protected.pdf";
  const std::string decryptedFile = dir + "/decrypted.pdf";

  PdfDoc plain;
  BuildDocument(plain);
  plain.WriteToFile(plainFile.c_str());

  PdfDoc doc;
  BuildDocument(doc);
  Protect(doc, p);
  doc.WriteToFile(protectedFile.c_str());
  PdfEncrypt* encrypt = doc.GetEncrypt();
  ASSERT_NE(encrypt, nullptr);
  const std::string password = OpeningPassword(p);

  // The handler as qpdf sees it.
  std::string shown = Qpdf("--show-encryption --show-encryption-key", password, protectedFile);
  static const char* const kRevision[] = {"R = 2\n", "R = 4\n", "R = 6\n"};
  EXPECT_NE(shown.find(kRevision[p.method]), std::string::npos) << shown;
  EXPECT_NE(shown.find("P = " + std::to_string(p.expectedP) + "\n"), std::string::npos) << shown;
  if (p.method != emRC4) {
    const std::string aes = p.method == emAES128 ? "AESv2" : "AESv3";
    EXPECT_NE(shown.find("stream encryption method: " + aes), std::string::npos) << shown;
    EXPECT_NE(shown.find("string encryption method: " + aes), std::string::npos) << shown;
  }
  std::string key = ToHex(encrypt->GetKey(), encrypt->GetKeyLength());
  for (char& ch : key) ch = static_cast<char>(tolower(static_cast<unsigned char>(ch)));
  EXPECT_NE(shown.find("Encryption key = " + key + "\n"), std::string::npos) << shown;
  auto allowed = [](bool yes) { return yes ? std::string(": allowed") : ": not allowed"; };
  EXPECT_NE(shown.find("print low resolution" + allowed(p.print)), std::string::npos) << shown;
  EXPECT_NE(shown.find("modify other" + allowed(p.modify)), std::string::npos) << shown;
  EXPECT_NE(shown.find("extract for any purpose" + allowed(p.extract)), std::string::npos)
      << shown;
  EXPECT_NE(shown.find("modify annotations" + allowed(p.annotate)), std::string::npos) << shown;
  if (p.method != emRC4) {
    EXPECT_NE(shown.find("print high resolution" + allowed(p.print)), std::string::npos) << shown;
    EXPECT_NE(shown.find("modify document assembly" + allowed(p.modify)), std::string::npos)
        << shown;
    EXPECT_NE(shown.find("extract for accessibility" + allowed(p.extract)), std::string::npos)
        << shown;
    EXPECT_NE(shown.find("modify forms" + allowed(p.annotate)), std::string::npos) << shown;
  }

  // Each password is recognised for what it is.
  if (p.owner && *p.owner) {
    std::string asOwner = Qpdf("--show-encryption", p.owner, protectedFile);
    EXPECT_NE(asOwner.find("Supplied password is owner password"), std::string::npos) << asOwner;
  }
  if (p.user && *p.user && p.owner && *p.owner) {
    std::string asUser = Qpdf("--show-encryption", p.user, protectedFile);
    EXPECT_NE(asUser.find("Supplied password is user password"), std::string::npos) << asUser;
  }
  // A user password alone: RC4 keeps the empty owner password, which opens
  // the file; AES makes the owner key from the user password, so nothing
  // opens without it.
  if (p.user && *p.user && p.owner && !*p.owner) {
    int rc = 0;
    std::string out = Qpdf("--check", "", protectedFile, &rc);
    EXPECT_EQ(rc != 0, p.method != emRC4) << out;
  }

  // Nothing readable is left in the file's bytes, and every string is hex.
  std::string bytes = pvtest::readFile(protectedFile);
  for (const char* secret : {"Plotvane tester", "second item", "inner three", "0 0 0 RG"}) {
    EXPECT_EQ(bytes.find(secret), std::string::npos) << secret;
  }
  // The identifier is written in the clear, twice.
  std::string id = "<" + ToHex(encrypt->GetFileId(), 16) + ">";
  EXPECT_NE(bytes.find("/ID [" + id + " " + id + " ]"), std::string::npos);
  static const char* const kHeader[] = {"%PDF-1.2\n", "%PDF-1.6\n", "%PDF-1.7\n"};
  EXPECT_EQ(bytes.rfind(kHeader[p.method], 0), 0u);
  EXPECT_EQ(bytes.find("/Extensions <<\r\n/ADBE <<\r\n/BaseVersion /1.7\r\n/ExtensionLevel 8\r\n>>\r\n>>") !=
                std::string::npos,
            p.method == emAES256);
  if (p.method != emRC4) {
    // Every string and stream starts with its own IV: the information
    // strings' first 16 bytes all differ.
    std::string info = bytes.substr(bytes.find("3 0 obj"));
    info = info.substr(0, info.find("endobj"));
    std::vector<std::string> ivs;
    for (size_t at = 0; (at = info.find('<', at)) != std::string::npos; at++) {
      if (info.compare(at, 2, "<<") == 0) {
        at++;
        continue;
      }
      ivs.push_back(info.substr(at + 1, 32));
    }
    EXPECT_GE(ivs.size(), 10u) << info;
    std::sort(ivs.begin(), ivs.end());
    EXPECT_EQ(std::unique(ivs.begin(), ivs.end()), ivs.end()) << info;
  }

  // Decrypted by qpdf, the file says what the unprotected one says.
  int rc = -1;
  std::string decryptOut = Qpdf("--decrypt", password, protectedFile, &rc, decryptedFile);
  ASSERT_EQ(rc, 0) << decryptOut;
  Readable expected = ReadWithQpdf(plainFile, "");
  Readable actual = ReadWithQpdf(decryptedFile, "");
  EXPECT_NE(expected.info.find("(Plotvane tester)"), std::string::npos) << expected.info;
  EXPECT_NE(expected.info.find("(inner three)"), std::string::npos) << expected.info;
  EXPECT_EQ(actual.info, expected.info);
  EXPECT_EQ(expected.content, std::string(kDrawn) + PlainContent() + ScatteredContent());
  EXPECT_EQ(actual.content, expected.content);

  // poppler renders it with the password given either way, and the readers
  // accept it.
  for (const char* option : {"-upw", "-opw"}) {
    const char* given = strcmp(option, "-upw") == 0 ? p.user : p.owner;
    const std::string opening = OpeningPassword(p);
    if (p.method != emRC4 && strcmp(option, "-opw") == 0) given = opening.c_str();
    std::string args = "pdftoppm -r 10 -gray -singlefile ";
    if (given && *given) args += std::string(option) + " " + Quote(given) + " ";
    std::string out;
    int status = runShell(args + Quote(protectedFile) + " " + Quote(dir + "/page"), &out);
    EXPECT_EQ(status, 0) << option << ": " << out;
    EXPECT_TRUE(pvtest::fileExists(dir + "/page.pgm")) << option;
    std::remove((dir + "/page.pgm").c_str());
  }
  // The other readers accept it with the password too. (The shared reader
  // check counts mutool's "ICC support is not available" notice, printed for
  // every file on this machine, as a failure, so they are run here.)
  std::string out;
  int status = runShell("qpdf --check --password=" + Quote(password) + " " + Quote(protectedFile),
                        &out);
  EXPECT_EQ(status, 0) << out;
  status = runShell("mutool draw -q -o /dev/null -p " + Quote(password) + " " +
                        Quote(protectedFile),
                    &out);
  EXPECT_EQ(status, 0) << out;
  EXPECT_EQ(out.find("error"), std::string::npos) << out;
  status = runShell("gs -q -dNOPAUSE -dBATCH -dSAFER -sDEVICE=nullpage -sPDFPassword=" +
                        Quote(password) + " " + Quote(protectedFile),
                    &out);
  EXPECT_EQ(status, 0) << out;
  EXPECT_EQ(out, "");
}

INSTANTIATE_TEST_SUITE_P(Protections, EncryptedDocumentTest, ::testing::ValuesIn(kProtections),
                         [](const ::testing::TestParamInfo<Protection>& info) {
                           std::string name = info.param.name;
                           for (char& ch : name) {
                             if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
                           }
                           return name;
                         });

TEST(EncryptedDocument, WrongUserPasswordIsRefused) {
  const std::string dir = pvtest::makeTempDir();
  const std::string file = dir + "/protected.pdf";
  PdfDoc doc;
  BuildDocument(doc);
  doc.SetPassword("owner secret", "user secret");
  doc.WriteToFile(file.c_str());
  int rc = 0;
  std::string out = Qpdf("--check", "wrong", file, &rc);
  EXPECT_NE(rc, 0) << out;
  EXPECT_NE(out.find("invalid password"), std::string::npos) << out;
}

TEST(EncryptedDocument, HandlerIsCreatedOnceAndLinkedToTheTrailer) {
  PdfDoc doc;
  doc.CreateDocument();
  int before = doc.GetXref()->GetCount();
  doc.SetPermission(4);
  PdfEncrypt* encrypt = doc.GetEncrypt();
  ASSERT_NE(encrypt, nullptr);
  EXPECT_EQ(encrypt->GetObjectId(), before);  // registered at once
  EXPECT_EQ(doc.GetXref()->GetCount(), before + 1);
  doc.SetPassword("a", "b");
  doc.SetPermission(8);
  EXPECT_EQ(doc.GetEncrypt(), encrypt);
  EXPECT_EQ(doc.GetXref()->GetCount(), before + 1);
  EXPECT_EQ(encrypt->GetPermission(), -56);  // the last value wins
  EXPECT_EQ(doc.GetTrailer()->GetDictionary()->GetValue("Encrypt"), encrypt);

  // Equal passwords are refused and leave the handler as it was.
  try {
    doc.SetPassword("", "");
    ADD_FAILURE() << "two empty passwords accepted";
  } catch (const PdfException& e) {
    EXPECT_EQ(e.GetCode(), -13);
    EXPECT_STREQ(e.what(),
                 "ERROR: PdfEncrypt::SetPassword -- user and owner password must be diiferent.");
  }
  uint8_t owner[32];
  PdfEncrypt::PadPassword("a", owner);
  EXPECT_EQ(memcmp(encrypt->GetPaddedOwnerPassword(), owner, 32), 0);
}

// The identifier: time, then Author, Creator, Subject, Keywords and Producer
// when present, then the object count (the Encrypt dictionary included).
TEST(EncryptedDocument, IdentifierInputs) {
  PdfDoc doc;
  doc.CreateDocument();
  PdfInfo* info = doc.GetInfo();
  info->SetAuthor("An Author");
  info->SetKeywords("Some Keywords");
  info->SetTitle("Not Included");
  doc.SetPermission(4);
  PdfEncrypt* encrypt = doc.GetEncrypt();
  for (int attempt = 0; attempt < 3; attempt++) {
    uint32_t now = static_cast<uint32_t>(time(nullptr));
    encrypt->PrepareEncryption();
    std::string first = ToHex(encrypt->GetFileId(), 16);
    info->SetTitle("Still Not Included");
    encrypt->PrepareEncryption();
    std::string afterTitle = ToHex(encrypt->GetFileId(), 16);
    info->SetCreator("A Creator");
    encrypt->PrepareEncryption();
    std::string afterCreator = ToHex(encrypt->GetFileId(), 16);
    if (static_cast<uint32_t>(time(nullptr)) != now) continue;

    EXPECT_EQ(afterTitle, first);
    EXPECT_NE(afterCreator, first);
    Md5 md5;
    uint8_t word[4];
    for (int k = 0; k < 4; k++) word[k] = static_cast<uint8_t>(now >> (8 * k));
    md5.Update(word, 4);
    for (const char* text : {"An Author", "A Creator", "Some Keywords",
                             "Plotvane PDF Library Version 1.00"}) {
      md5.Update(text, static_cast<int>(strlen(text)));
    }
    uint32_t count = static_cast<uint32_t>(doc.GetXref()->GetCount());
    EXPECT_EQ(count, 5u);  // catalog, pages, information, Encrypt, plus entry 0
    for (int k = 0; k < 4; k++) word[k] = static_cast<uint8_t>(count >> (8 * k));
    md5.Update(word, 4);
    uint8_t digest[16];
    md5.Final(digest);
    EXPECT_EQ(afterCreator, ToHex(digest, 16));
    return;
  }
  ADD_FAILURE() << "could not complete within one second";
}

}  // namespace
