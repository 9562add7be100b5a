// The standard security handler (revision 2, 40-bit RC4 keyed through MD5;
// on request revision 4 with AES-128 or revision 6 with AES-256) and the
// per-object encryptor used while a file is written.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "pdf/pdf_objects.h"
#include "pdf/security/aes_handler_values.h"

class PdfInfo;
class AesCbc;

// How strings and streams are encrypted.
enum PdfEncryptMethod {
  emRC4 = 0,     // revision 2: RC4, 40-bit key
  emAES128 = 1,  // revision 4: AES-128-CBC, key derived from the passwords
  emAES256 = 2   // revision 6: AES-256-CBC, random key
};

class PdfEncrypt : public PdfDictionary {
 public:
  static const int kMaxKeySize = 32;
  static const int kPasswordSize = 32;
  // The password padding string of the standard security handler.
  static const uint8_t kPadding[kPasswordSize];
  // The password's bytes up to its terminator, cut to 32 or completed from
  // the padding string.
  static void PadPassword(const char* password, uint8_t padded[kPasswordSize]);
  // O, the 5-byte document key and U from the padded passwords, P and the
  // file identifier (revision 2 of the standard handler).
  static void ComputeValues(const uint8_t ownerPadded[kPasswordSize],
                            const uint8_t userPadded[kPasswordSize], int32_t permission,
                            const uint8_t fileId[16], uint8_t ownerValue[kPasswordSize],
                            uint8_t key[5], uint8_t userValue[kPasswordSize]);

  // Registers itself in the object table and adds Filter, V and R.
  PdfEncrypt(PdfXref* xref, PdfInfo* info);

  // Throws code -13 for a missing password or equal passwords, and for
  // AES-256 for a password that is not valid UTF-8 or holds a character
  // that passwords must not contain.
  void SetPassword(const char* ownerPassword, const char* userPassword);
  // Revision 2: P = flags OR 0xFFFFFFC0. The AES revisions have four more
  // permission bits, each granted with the revision 2 bit that covered it:
  // printing (4) also high-quality printing (2048), changing the contents (8)
  // also assembling the document (1024), copying (16) also extracting for
  // accessibility (512), annotating (32) also filling in forms (256).
  void SetPermission(int flags);
  int GetPermission() const;
  // Switches V, R and the crypt filters to the method's; the passwords are
  // checked again for AES-256 (code -13).
  void SetMethod(int method);
  int GetMethod() const { return method_; }
  // The header's minor version the method needs: 2, 6 or 7.
  int GetMinorVersion() const;
  // Computes the file identifier, the key and the password values, and adds
  // them with P.
  void PrepareEncryption();
  const uint8_t* GetKey() const { return key_; }  // GetKeyLength() bytes
  int GetKeyLength() const;
  const uint8_t* GetFileId() const { return fileId_; }  // 16 bytes
  const uint8_t* GetOwnerValue() const { return ownerValue_; }
  const uint8_t* GetUserValue() const { return userValue_; }
  const uint8_t* GetPaddedOwnerPassword() const { return ownerPassword_; }
  const uint8_t* GetPaddedUserPassword() const { return userPassword_; }

 private:
  uint8_t ownerValue_[32] = {};
  uint8_t userValue_[32] = {};
  uint8_t ownerPassword_[32];
  uint8_t userPassword_[32];
  void PrepareRev6();

  uint8_t key_[kMaxKeySize] = {};
  uint8_t fileId_[16] = {};
  PdfInfo* info_;
  int32_t permission_ = -4;
  int permissionFlags_ = -1;  // -1: never set, every permission granted
  int method_ = emRC4;
  // The passwords as given, for the AES revisions.
  std::string owner_;
  std::string user_;
  // Revision 6 values; they live here because the Encrypt dictionary's
  // binary strings point into them until the file is written.
  Rev6Values rev6_ = {};
};

class PdfEncryptor {
 public:
  // RC4 under the 5-byte document key (revision 2).
  explicit PdfEncryptor(const uint8_t* documentKey);
  // The method's cipher under its file key (5, 16 or 32 bytes).
  PdfEncryptor(int method, const uint8_t* fileKey);
  ~PdfEncryptor();
  PdfEncryptor(const PdfEncryptor&) = delete;
  PdfEncryptor& operator=(const PdfEncryptor&) = delete;

  // Prepares the object key for one indirect object.
  void Init(int objectId, int generation);
  // RC4: restarts from the object key, for the next string of the object.
  // AES gives every string its own IV and needs nothing here.
  void Reset();
  // RC4 keystream XOR, continuing the current state; src and dst may be
  // equal. Refused (code -5) under AES, whose output is longer.
  void Crypt(const uint8_t* src, uint8_t* dst, int length);

  // How many bytes encrypted output may exceed its input by: 0 for RC4;
  // for AES the IV and up to one block of padding.
  int Overhead() const { return method_ == emRC4 ? 0 : 32; }
  // One whole string into dst (room for length + Overhead()); returns the
  // bytes written.
  int CryptString(const uint8_t* src, int length, uint8_t* dst);
  // A stream's data, piece by piece: every piece into a buffer with room for
  // its length + Overhead(), then the end into one with Overhead() bytes.
  void BeginStream();
  int StartStreamOutput(uint8_t* dst);
  int CryptStream(const uint8_t* src, int length, uint8_t* dst);
  int EndStream(uint8_t* dst);

 private:
  int method_ = emRC4;
  uint8_t fileKey_[32] = {};
  uint8_t aesKey_[32] = {};         // the object's AES key
  std::unique_ptr<AesCbc> aes_;     // the stream being written
  uint8_t streamIv_[16] = {};
  bool ivPending_ = false;          // the stream's IV is not written yet
  uint8_t keyBuffer_[10] = {};
  uint8_t objectKey_[16] = {};
  uint8_t state_[256] = {};
  uint8_t i_ = 0;
  uint8_t j_ = 0;
};
