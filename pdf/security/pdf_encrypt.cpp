#include "pdf/security/pdf_encrypt.h"

#include <cstring>
#include <ctime>

#include "pdf/pdf_exception.h"
#include "pdf/pdf_info.h"
#include "pdf/pdf_xref.h"
#include "pdf/security/aes_cbc.h"
#include "pdf/source_date.h"
#include "pdf/security/md5.h"
#include "pdf/security/random_bytes.h"
#include "pdf/security/rc4.h"
#include "pdf/security/saslprep.h"

namespace {

void PutLittleEndian32(uint32_t value, uint8_t out[4]) {
  for (int k = 0; k < 4; k++) out[k] = static_cast<uint8_t>(value >> (8 * k));
}

// AES-256 passwords are UTF-8 text prepared for comparison.
std::string PreparePassword(const std::string& password) {
  std::string prepared;
  const char* problem = SaslPrep(password, &prepared);
  if (problem) throw PdfException(PDF_ERR_PASSWORD, "ERROR: PdfEncrypt::SetPassword -- %s.", problem);
  return prepared;
}

int KeyLength(int method) { return method == emAES256 ? 32 : method == emAES128 ? 16 : 5; }

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
  if (method_ == emAES256) {
    PreparePassword(ownerPassword);
    PreparePassword(userPassword);
  }
  PadPassword(ownerPassword, ownerPassword_);
  PadPassword(userPassword, userPassword_);
  owner_ = ownerPassword;
  user_ = userPassword;
}

void PdfEncrypt::SetPermission(int flags) {
  permissionFlags_ = flags;
  permission_ = static_cast<int32_t>(static_cast<uint32_t>(flags) | 0xFFFFFFC0u);
}

int PdfEncrypt::GetPermission() const {
  if (method_ == emRC4 || permissionFlags_ < 0) return permission_;
  // Bits 1 and 2 must be clear here, and bits 9 to 12 exist.
  uint32_t p = (static_cast<uint32_t>(permissionFlags_) & 0xF3Cu) | 0xFFFFF0C0u;
  if (permissionFlags_ & 4) p |= 2048;
  if (permissionFlags_ & 8) p |= 1024;
  if (permissionFlags_ & 16) p |= 512;
  if (permissionFlags_ & 32) p |= 256;
  return static_cast<int32_t>(p);
}

void PdfEncrypt::SetMethod(int method) {
  if (method != emAES128 && method != emAES256) method = emRC4;
  if (method == emAES256) {
    PreparePassword(owner_);
    PreparePassword(user_);
  }
  method_ = method;
  // Replacing V and then R keeps the order Filter, V, R.
  static const int kVersion[] = {1, 4, 5};
  static const int kRevision[] = {2, 4, 6};
  AddElement("V", new PdfNumber(kVersion[method]));
  AddElement("R", new PdfNumber(kRevision[method]));
  static const char* const kKeys[] = {"Length", "CF", "StmF", "StrF", "O", "U", "OE", "UE", "P", "Perms"};
  for (const char* key : kKeys) RemoveElement(key);
  if (method == emRC4) return;

  // One crypt filter for strings and streams alike.
  AddElement("Length", new PdfNumber(KeyLength(method) * 8));
  PdfDictionary* filters = new PdfDictionary(GetXref());
  AddElement("CF", filters);
  PdfDictionary* standard = new PdfDictionary(GetXref());
  filters->AddElement("StdCF", standard);
  standard->AddElement("AuthEvent", new PdfName("DocOpen"));
  standard->AddElement("CFM", new PdfName(method == emAES256 ? "AESV3" : "AESV2"));
  standard->AddElement("Length", new PdfNumber(KeyLength(method)));
  AddElement("StmF", new PdfName("StdCF"));
  AddElement("StrF", new PdfName("StdCF"));
}

int PdfEncrypt::GetMinorVersion() const { return method_ == emAES256 ? 7 : method_ == emAES128 ? 6 : 2; }

int PdfEncrypt::GetKeyLength() const { return KeyLength(method_); }

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

  if (method_ == emAES256) {
    PrepareRev6();
    return;
  }

  // O, the document key and U. Under AES-128 a missing owner password is
  // made from the user password, so that the empty password does not open
  // the file with full rights.
  if (method_ == emAES128) {
    ComputeRev4Values(owner_.empty() ? userPassword_ : ownerPassword_, userPassword_,
                      GetPermission(), fileId_, ownerValue_, key_, userValue_);
  } else {
    ComputeValues(ownerPassword_, userPassword_, permission_, fileId_, ownerValue_, key_,
                  userValue_);
  }
  AddElement("O", new PdfBinary(ownerValue_, kPasswordSize, false));
  AddElement("U", new PdfBinary(userValue_, kPasswordSize, false));

  // P last, so the dictionary reads Filter, V, R, O, U, P.
  AddElement("P", new PdfNumber(GetPermission()));
}

void PdfEncrypt::PrepareRev6() {
  const std::string user = PreparePassword(user_);
  const std::string owner = owner_.empty() ? user : PreparePassword(owner_);
  RandomBytes(key_, 32);
  ComputeRev6Values(owner, user, GetPermission(), key_, &rev6_);
  AddElement("O", new PdfBinary(rev6_.owner, 48, false));
  AddElement("U", new PdfBinary(rev6_.user, 48, false));
  AddElement("OE", new PdfBinary(rev6_.ownerKey, 32, false));
  AddElement("UE", new PdfBinary(rev6_.userKey, 32, false));
  AddElement("P", new PdfNumber(GetPermission()));
  AddElement("Perms", new PdfBinary(rev6_.perms, 16, false));
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

PdfEncryptor::PdfEncryptor(const uint8_t* documentKey) : PdfEncryptor(emRC4, documentKey) {}

PdfEncryptor::PdfEncryptor(int method, const uint8_t* fileKey)
    : method_(method == emAES128 || method == emAES256 ? method : emRC4) {
  memcpy(fileKey_, fileKey, KeyLength(method_));
  memcpy(keyBuffer_, fileKey, 5);
  // A valid state from the start, so that a Crypt before the first Init
  // never passes bytes through unchanged.
  Init(0, 0);
}

PdfEncryptor::~PdfEncryptor() = default;

void PdfEncryptor::Init(int objectId, int generation) {
  if (method_ == emAES256) {
    memcpy(aesKey_, fileKey_, 32);  // one key for every object
    return;
  }
  if (method_ == emAES128) {
    ObjectKeyRev4(fileKey_, objectId, generation, aesKey_);
    return;
  }
  keyBuffer_[5] = static_cast<uint8_t>(objectId);
  keyBuffer_[6] = static_cast<uint8_t>(objectId >> 8);
  keyBuffer_[7] = static_cast<uint8_t>(objectId >> 16);
  keyBuffer_[8] = static_cast<uint8_t>(generation);
  keyBuffer_[9] = static_cast<uint8_t>(generation >> 8);
  Md5::Digest(keyBuffer_, sizeof(keyBuffer_), objectKey_);
  Reset();
}

void PdfEncryptor::Reset() {
  if (method_ == emRC4) Rc4Start(state_, &i_, &j_, objectKey_, 10);
}

void PdfEncryptor::Crypt(const uint8_t* src, uint8_t* dst, int length) {
  if (method_ != emRC4)
    throw PdfException(PDF_ERR_INVALID, "ERROR: PdfEncryptor::Crypt -- AES output needs CryptString.");
  if (src == nullptr || dst == nullptr || length <= 0) return;
  Rc4Crypt(state_, &i_, &j_, src, dst, length);
}

int PdfEncryptor::CryptString(const uint8_t* src, int length, uint8_t* dst) {
  if (method_ == emRC4) {
    Crypt(src, dst, length);
    return length > 0 ? length : 0;
  }
  // A fresh IV for every string, written in front of it.
  RandomBytes(dst, AesCbc::kBlockSize);
  return AesCbc::kBlockSize + AesCbc::Encrypt(aesKey_, KeyLength(method_), dst, true, src,
                                              length > 0 ? length : 0, dst + AesCbc::kBlockSize);
}

void PdfEncryptor::BeginStream() {
  if (method_ == emRC4) return;
  RandomBytes(streamIv_, AesCbc::kBlockSize);
  aes_.reset(new AesCbc(aesKey_, KeyLength(method_), streamIv_, true));
  ivPending_ = true;
}

// The stream's IV leads its data: written before the first encrypted bytes,
// or alone before the final block when the stream is empty.
int PdfEncryptor::StartStreamOutput(uint8_t* dst) {
  if (!aes_) BeginStream();
  if (!ivPending_) return 0;
  memcpy(dst, streamIv_, AesCbc::kBlockSize);
  ivPending_ = false;
  return AesCbc::kBlockSize;
}

int PdfEncryptor::CryptStream(const uint8_t* src, int length, uint8_t* dst) {
  if (method_ == emRC4) {
    Crypt(src, dst, length);
    return length > 0 ? length : 0;
  }
  int written = StartStreamOutput(dst);
  return written + aes_->Update(src, length, dst + written);
}

int PdfEncryptor::EndStream(uint8_t* dst) {
  if (method_ == emRC4) return 0;
  int written = StartStreamOutput(dst);
  written += aes_->Final(dst + written);
  aes_.reset();
  return written;
}
