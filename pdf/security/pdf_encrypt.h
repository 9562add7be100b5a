// The standard security handler (revision 2, 40-bit RC4 keyed through MD5)
// and the per-object encryptor used while a file is written.
#pragma once

#include <cstdint>

#include "pdf/pdf_objects.h"

class PdfInfo;

class PdfEncrypt : public PdfDictionary {
 public:
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

  // Throws code -13 for a missing password or equal passwords.
  void SetPassword(const char* ownerPassword, const char* userPassword);
  // P = flags OR 0xFFFFFFC0.
  void SetPermission(int flags);
  int GetPermission() const { return permission_; }
  // Computes the file identifier, O, the key and U, and adds O, U and P.
  void PrepareEncryption();
  const uint8_t* GetKey() const { return key_; }        // 5 bytes
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
  uint8_t key_[5] = {};
  uint8_t fileId_[16] = {};
  PdfInfo* info_;
  int32_t permission_ = -4;
};

class PdfEncryptor {
 public:
  explicit PdfEncryptor(const uint8_t* documentKey);
  // Prepares the RC4 state for one indirect object.
  void Init(int objectId, int generation);
  // Restarts RC4 from the object key, for the next string of the object.
  void Reset();
  // RC4 keystream XOR, continuing the current state; src and dst may be equal.
  void Crypt(const uint8_t* src, uint8_t* dst, int length);

 private:
  uint8_t keyBuffer_[10] = {};
  uint8_t objectKey_[16] = {};
  uint8_t state_[256] = {};
  uint8_t i_ = 0;
  uint8_t j_ = 0;
};
