#include "pdf/security/aes_cbc.h"

#include <openssl/evp.h>

#include "pdf/pdf_exception.h"
#include "pdf/security/crypto_library.h"

namespace {

[[noreturn]] void fail(const char* what) {
  throw PdfException(PDF_ERR_CRYPTO, "ERROR: AesCbc::%s failed.", what);
}

}  // namespace

AesCbc::AesCbc(const uint8_t* key, int keyLength, const uint8_t iv[kBlockSize], bool padding)
    : ctx_((PdfCryptoInit(), EVP_CIPHER_CTX_new())) {
  if (!ctx_) fail("Create");
  const EVP_CIPHER* cipher = keyLength == 32 ? EVP_aes_256_cbc() : EVP_aes_128_cbc();
  if ((keyLength != 16 && keyLength != 32) ||
      EVP_EncryptInit_ex(ctx_, cipher, nullptr, key, iv) != 1 ||
      EVP_CIPHER_CTX_set_padding(ctx_, padding ? 1 : 0) != 1) {
    EVP_CIPHER_CTX_free(ctx_);
    fail("Init");
  }
}

AesCbc::~AesCbc() { EVP_CIPHER_CTX_free(ctx_); }

int AesCbc::Update(const uint8_t* src, int length, uint8_t* dst) {
  if (length <= 0) return 0;
  int written = 0;
  if (EVP_EncryptUpdate(ctx_, dst, &written, src, length) != 1) fail("Update");
  return written;
}

int AesCbc::Final(uint8_t* dst) {
  int written = 0;
  if (EVP_EncryptFinal_ex(ctx_, dst, &written) != 1) fail("Final");
  return written;
}

int AesCbc::Encrypt(const uint8_t* key, int keyLength, const uint8_t iv[kBlockSize], bool padding,
                    const uint8_t* src, int length, uint8_t* dst) {
  AesCbc aes(key, keyLength, iv, padding);
  int written = aes.Update(src, length, dst);
  return written + aes.Final(dst + written);
}
