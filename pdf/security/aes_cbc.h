// AES in CBC mode, through libcrypto: with PKCS#5 padding for the strings and
// streams of a document, without padding for wrapping the file key.
#pragma once

#include <cstdint>

struct evp_cipher_ctx_st;

class AesCbc {
 public:
  static const int kBlockSize = 16;

  // keyLength is 16 (AES-128) or 32 (AES-256). Throws code -14 when the
  // library fails.
  AesCbc(const uint8_t* key, int keyLength, const uint8_t iv[kBlockSize], bool padding);
  ~AesCbc();
  AesCbc(const AesCbc&) = delete;
  AesCbc& operator=(const AesCbc&) = delete;

  // Encrypts length bytes into dst, which has room for length + 15 bytes;
  // returns the bytes written. Input that does not fill a block is held back.
  int Update(const uint8_t* src, int length, uint8_t* dst);
  // Writes the last block (at most 16 bytes, the padding included) and
  // returns its size. Without padding the input must have filled whole blocks.
  int Final(uint8_t* dst);

  // One call for a whole buffer; dst has room for length + 16 bytes.
  static int Encrypt(const uint8_t* key, int keyLength, const uint8_t iv[kBlockSize],
                     bool padding, const uint8_t* src, int length, uint8_t* dst);

 private:
  evp_cipher_ctx_st* ctx_;
};
