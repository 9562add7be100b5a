// The AES handlers' own pieces: the revision 6 password hash against files
// that qpdf encrypted, the Perms block, password preparation and the
// password checks under AES-256.
#include <gtest/gtest.h>
#include <openssl/evp.h>

#include <regex>
#include <string>
#include <vector>

#include "pdf/pdf_doc.h"
#include "pdf/pdf_exception.h"
#include "pdf/security/aes_cbc.h"
#include "pdf/security/password_hash.h"
#include "pdf/security/pdf_encrypt.h"
#include "pdf/security/saslprep.h"
#include "tests/pdf/core_test_util.h"
#include "tests/support/test_support.h"

namespace {

using coretest::CatchPdf;
using coretest::FromHex;
using coretest::ToHex;

std::string Quote(const std::string& text) {
  std::string quoted = "'";
  for (char ch : text) quoted += ch == '\'' ? std::string("'\\''") : std::string(1, ch);
  return quoted + "'";
}

// The hexadecimal string of key in qpdf's display of a dictionary.
std::vector<uint8_t> HexEntry(const std::string& dict, const std::string& key) {
  std::smatch m;
  if (!std::regex_search(dict, m, std::regex("/" + key + " <([0-9a-f]*)>"))) return {};
  return FromHex(m[1]);
}

std::vector<uint8_t> Hash(const std::string& password, const uint8_t* salt, const uint8_t* u) {
  std::vector<uint8_t> hash(32);
  HashPasswordRev6(reinterpret_cast<const uint8_t*>(password.data()),
                   static_cast<int>(password.size()), salt, u, hash.data());
  return hash;
}

std::vector<uint8_t> Wrap(const std::vector<uint8_t>& key, const std::vector<uint8_t>& data) {
  static const uint8_t kZero[16] = {};
  std::vector<uint8_t> out(data.size() + 16);
  out.resize(AesCbc::Encrypt(key.data(), 32, kZero, false, data.data(),
                             static_cast<int>(data.size()), out.data()));
  return out;
}

// qpdf encrypts a plain file with AES-256 under many passwords; the hash
// must reproduce its U and O, and the keys it wraps in UE and OE. The round
// count of the hash depends on the data, so only many salts exercise its
// ending condition.
TEST(PasswordHashRev6, AgreesWithFilesEncryptedByQpdf) {
  const std::string dir = pvtest::makeTempDir();
  const std::string plain = dir + "/plain.pdf", encrypted = dir + "/aes256.pdf";
  PdfDoc doc;
  doc.CreateDocument();
  doc.AddPage();
  doc.WriteToFile(plain.c_str());

  for (int n = 0; n < 40; n++) {
    std::string user = "user " + std::to_string(n), owner = "owner " + std::to_string(n);
    if (n % 4 == 1) user = "\xce\xb1\xce\xb2\xce\xb3 " + std::to_string(n);  // Greek letters
    if (n % 4 == 2) owner = std::string(125, 'o') + std::to_string(10 + n);  // the longest, 127
    SCOPED_TRACE(user + " / " + owner);
    std::string out;
    ASSERT_EQ(pvtest::runShell("qpdf --encrypt " + Quote(user) + " " + Quote(owner) + " 256 -- " +
                                   Quote(plain) + " " + Quote(encrypted),
                               &out),
              0)
        << out;
    const std::string qpdf = "qpdf --password=" + Quote(user) + " ";
    std::string trailer, dict, shown;
    pvtest::runShell(qpdf + "--show-object=trailer " + Quote(encrypted), &trailer);
    std::smatch m;
    ASSERT_TRUE(std::regex_search(trailer, m, std::regex("/Encrypt ([0-9]+) 0 R"))) << trailer;
    pvtest::runShell(qpdf + "--show-object=" + m[1].str() + " " + Quote(encrypted), &dict);
    pvtest::runShell(qpdf + "--show-encryption-key --show-encryption " + Quote(encrypted), &shown);
    ASSERT_TRUE(std::regex_search(shown, m, std::regex("Encryption key = ([0-9a-f]{64})"))) << shown;
    const std::vector<uint8_t> key = FromHex(m[1]);
    const std::vector<uint8_t> u = HexEntry(dict, "U"), o = HexEntry(dict, "O");
    ASSERT_EQ(u.size(), 48u) << dict;
    ASSERT_EQ(o.size(), 48u) << dict;

    EXPECT_EQ(ToHex(Hash(user, &u[32], nullptr).data(), 32), ToHex(u.data(), 32));
    EXPECT_EQ(ToHex(Hash(owner, &o[32], u.data()).data(), 32), ToHex(o.data(), 32));
    EXPECT_EQ(Wrap(Hash(user, &u[40], nullptr), key), HexEntry(dict, "UE"));
    EXPECT_EQ(Wrap(Hash(owner, &o[40], u.data()), key), HexEntry(dict, "OE"));
  }
}

// Perms holds P, four bytes of ones, "T" and "adb" under the file key; a
// reader that checks it (Acrobat does) refuses a file whose P was altered.
TEST(PdfEncryptRev6, PermsBlockDecryptsToPAndItsCheckBytes) {
  PdfDoc doc;
  doc.CreateDocument();
  doc.SetEncryptionMethod(emAES256);
  doc.SetPermission(4 | 16);
  doc.SetPassword("owner", "user");
  PdfEncrypt* encrypt = doc.GetEncrypt();
  encrypt->PrepareEncryption();
  const PdfBinary* perms = dynamic_cast<PdfBinary*>(encrypt->GetValue("Perms"));
  ASSERT_NE(perms, nullptr);

  uint8_t block[32];
  int n = 0, last = 0;
  EVP_CIPHER_CTX* ctx = EVP_CIPHER_CTX_new();
  ASSERT_EQ(EVP_DecryptInit_ex(ctx, EVP_aes_256_ecb(), nullptr, encrypt->GetKey(), nullptr), 1);
  EVP_CIPHER_CTX_set_padding(ctx, 0);
  ASSERT_EQ(EVP_DecryptUpdate(ctx, block, &n, perms->GetData(), 16), 1);
  ASSERT_EQ(EVP_DecryptFinal_ex(ctx, block + n, &last), 1);
  EVP_CIPHER_CTX_free(ctx);
  ASSERT_EQ(n + last, 16);
  const int32_t p = encrypt->GetPermission();
  EXPECT_EQ(p, static_cast<int32_t>(0xFFFFF0C0u | 4 | 16 | 2048 | 512));
  for (int k = 0; k < 4; k++) EXPECT_EQ(block[k], static_cast<uint8_t>(p >> (8 * k)));
  EXPECT_EQ(ToHex(block + 4, 8), "ffffffff54616462");  // ones, "Tadb"
}

TEST(SaslPrep, MapsRefusesAndKeeps) {
  struct Case {
    std::string given;
    std::string prepared;  // "" with problem set
    const char* problem;   // nullptr when accepted
  } cases[] = {
      {"plain ASCII 123", "plain ASCII 123", nullptr},
      {"D\xc3\xbcsseldorf \xe2\x82\xac", "D\xc3\xbcsseldorf \xe2\x82\xac", nullptr},
      {"\xf0\x9f\x94\x91 key", "\xf0\x9f\x94\x91 key", nullptr},       // beyond the BMP
      {"a\xc2\xa0" "b\xe3\x80\x80" "c", "a b c", nullptr},              // non-ASCII spaces
      {"pass\xc2\xad" "wo\xe2\x80\x8brd\xef\xbb\xbf", "password", nullptr},  // mapped to nothing
      {"", "", nullptr},
      {"caf\xe9", "", "password is not valid UTF-8"},                    // Latin-1
      {"\xc0\xaf", "", "password is not valid UTF-8"},                   // overlong
      {"\xed\xa0\x80", "", "password is not valid UTF-8"},               // surrogate
      {"ab\xe2\x82", "", "password is not valid UTF-8"},                 // cut short
      {"\xf4\x90\x80\x80", "", "password is not valid UTF-8"},           // beyond U+10FFFF
      {"tab\there", "", "password holds a character that passwords must not contain"},
      {"\xc2\x85", "", "password holds a character that passwords must not contain"},  // NEL
      {"\xee\x80\x80", "", "password holds a character that passwords must not contain"},  // U+E000
      {"\xef\xbf\xbf", "", "password holds a character that passwords must not contain"},  // U+FFFF
      {"\xe2\x80\xae" "abc", "", "password holds a character that passwords must not contain"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ToHex(reinterpret_cast<const uint8_t*>(c.given.data()), static_cast<int>(c.given.size())));
    std::string prepared = "untouched";
    const char* problem = SaslPrep(c.given, &prepared);
    if (c.problem) {
      EXPECT_STREQ(problem, c.problem);
      EXPECT_EQ(prepared, "untouched");
    } else {
      EXPECT_EQ(problem, nullptr) << problem;
      EXPECT_EQ(prepared, c.prepared);
    }
  }
}

// Under AES-256 a password that cannot be prepared is refused when it is set
// and when the method is chosen after it, and the handler stays as it was.
TEST(PdfEncryptRev6, PasswordsThatCannotBePreparedAreRefused) {
  PdfDoc doc;
  doc.CreateDocument();
  doc.SetPassword("caf\xe9", "user");
  PdfEncrypt* encrypt = doc.GetEncrypt();
  coretest::Caught c = CatchPdf([&] { doc.SetEncryptionMethod(emAES256); });
  EXPECT_EQ(c.code, -13);
  EXPECT_EQ(c.message, "ERROR: PdfEncrypt::SetPassword -- password is not valid UTF-8.");
  EXPECT_EQ(encrypt->GetMethod(), emRC4);

  doc.SetPassword("owner", "user");
  doc.SetEncryptionMethod(emAES256);
  c = CatchPdf([&] { doc.SetPassword("owner", "new\x01line"); });
  EXPECT_EQ(c.code, -13);
  EXPECT_EQ(c.message,
            "ERROR: PdfEncrypt::SetPassword -- password holds a character that passwords must not "
            "contain.");
  // Equal passwords fail as under RC4.
  c = CatchPdf([&] { doc.SetPassword("same", "same"); });
  EXPECT_EQ(c.code, -13);
}

}  // namespace
