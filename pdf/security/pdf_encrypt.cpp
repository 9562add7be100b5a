#include "pdf/security/pdf_encrypt.h"

#include <cstring>
#include <ctime>

#include "pdf/pdf_exception.h"
#include "pdf/pdf_info.h"
#include "pdf/pdf_xref.h"
#include "pdf/source_date.h"
#include "pdf/security/md5.h"
#include "pdf/security/rc4.h"

namespace {

void PutLittleEndian32(uint32_t value, uint8_t out[4]) {
  for (int k = 0; k < 4; k++) out[k] = static_cast<uint8_t>(value >> (8 * k));
}

}  // namespace

const uint8_t PdfEncrypt::kPadding[PdfEncrypt::kPasswordSize] = {
    0x28, 0xBF, 0x4E, 0x5E, 0x4E, 0x75, 0x8A, 0x41, 0x64, 0x00, 0x4E,
    0x56, 0xFF, 0xFA, 0x01, 0x08, 0x2E, 0x2E, 0x00, 0xB6, 0xD0, 0x68,
    0x3E, 0x80, 0x2F, 0x0C, 0xA9, 0xFE, 0x64, 0x53, 0x69, 0x7A};

void PdfEncrypt::PadPassword(const char* password, uint8_t padded[kPasswordSize]) {
  size_t length = password ? strlen(password) : 0;
  if (length > static_cast<size_t>(kPasswordSize)) length = kPasswordSize;
  if (length > 0) memcpy(padded, password, length);
  memcpy(padded + length, kPadding, kPasswordSize - length);
}

PdfEncrypt::PdfEncrypt(PdfXref* xref, PdfInfo* info) : PdfDictionary(xref), info_(info) {
  memcpy(ownerPassword_, kPadding, kPasswordSize);
  memcpy(userPassword_, kPadding, kPasswordSize);
  AddElement("Filter", new PdfName("Standard"));
  AddElement("V", new PdfNumber(1));
  AddElement("R", new PdfNumber(2));
  // Registered last: a refused registration is freed once, by the failing
  // constructor.
  xref->AddObjectUnderConstruction(this);
}

void PdfEncrypt::SetPassword(const char* ownerPassword, const char* userPassword) {
  if (ownerPassword == nullptr) {
    throw PdfException(PDF_ERR_PASSWORD,
                       "ERROR: PdfEncrypt::SetPassword -- owner_passwd cannot be set to NULL");
  }
  if (userPassword == nullptr) {
    throw PdfException(PDF_ERR_PASSWORD,
                       "ERROR: PdfEncrypt::SetPassword -- user_passwd cannot be set to NULL");
  }
  if (strcmp(ownerPassword, userPassword) == 0) {
    throw PdfException(PDF_ERR_PASSWORD,
                       "ERROR: PdfEncrypt::SetPassword -- user and owner password must be "
                       "diiferent.");
  }
  PadPassword(ownerPassword, ownerPassword_);
  PadPassword(userPassword, userPassword_);
}

void PdfEncrypt::SetPermission(int flags) {
  permission_ = static_cast<int32_t>(static_cast<uint32_t>(flags) | 0xFFFFFFC0u);
}

void PdfEncrypt::PrepareEncryption() {
  uint8_t word[4];

  // File identifier: time, some information texts, object count.
  Md5 md5;
  PutLittleEndian32(static_cast<uint32_t>(PdfFileTime()), word);
  md5.Update(word, 4);
  if (info_ != nullptr) {
    static const char* const kInfoKeys[] = {"Author", "Creator", "Subject", "Keywords",
                                            "Producer"};
    for (const char* key : kInfoKeys) {
      const char* text = info_->GetTextValue(key);
      if (text != nullptr) md5.Update(text, static_cast<int>(strlen(text)));
    }
  }
  PdfXref* xref = GetXref();
  PutLittleEndian32(static_cast<uint32_t>(xref ? xref->GetCount() : 0), word);
  md5.Update(word, 4);
  md5.Final(fileId_);

  // O, the document key and U.
  ComputeValues(ownerPassword_, userPassword_, permission_, fileId_, ownerValue_, key_,
                userValue_);
  AddElement("O", new PdfBinary(ownerValue_, kPasswordSize, false));
  AddElement("U", new PdfBinary(userValue_, kPasswordSize, false));

  // P last, so the dictionary reads Filter, V, R, O, U, P.
  AddElement("P", new PdfNumber(permission_));
}

void PdfEncrypt::ComputeValues(const uint8_t ownerPadded[kPasswordSize],
                               const uint8_t userPadded[kPasswordSize], int32_t permission,
                               const uint8_t fileId[16], uint8_t ownerValue[kPasswordSize],
                               uint8_t key[5], uint8_t userValue[kPasswordSize]) {
  // O: the padded user password under a key from the owner password.
  uint8_t digest[Md5::kDigestSize];
  Md5::Digest(ownerPadded, kPasswordSize, digest);
  Rc4(digest, 5).Crypt(userPadded, ownerValue, kPasswordSize);

  // Document key.
  uint8_t word[4];
  Md5 md5;
  md5.Update(userPadded, kPasswordSize);
  md5.Update(ownerValue, kPasswordSize);
  PutLittleEndian32(static_cast<uint32_t>(permission), word);
  md5.Update(word, 4);
  md5.Update(fileId, 16);
  md5.Final(digest);
  memcpy(key, digest, 5);

  // U: the padding string under the document key.
  Rc4(key, 5).Crypt(kPadding, userValue, kPasswordSize);
}

PdfEncryptor::PdfEncryptor(const uint8_t* documentKey) {
  memcpy(keyBuffer_, documentKey, 5);
  // A valid state from the start, so that a Crypt before the first Init
  // never passes bytes through unchanged.
  Init(0, 0);
}

void PdfEncryptor::Init(int objectId, int generation) {
  keyBuffer_[5] = static_cast<uint8_t>(objectId);
  keyBuffer_[6] = static_cast<uint8_t>(objectId >> 8);
  keyBuffer_[7] = static_cast<uint8_t>(objectId >> 16);
  keyBuffer_[8] = static_cast<uint8_t>(generation);
  keyBuffer_[9] = static_cast<uint8_t>(generation >> 8);
  Md5::Digest(keyBuffer_, sizeof(keyBuffer_), objectKey_);
  Reset();
}

void PdfEncryptor::Reset() { Rc4Start(state_, &i_, &j_, objectKey_, 10); }

void PdfEncryptor::Crypt(const uint8_t* src, uint8_t* dst, int length) {
  if (src == nullptr || dst == nullptr || length <= 0) return;
  Rc4Crypt(state_, &i_, &j_, src, dst, length);
}
