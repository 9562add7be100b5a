#include "pdf/security/sha2.h"

#include <openssl/evp.h>

#include "pdf/pdf_exception.h"
#include "pdf/security/crypto_library.h"

void Sha2Digest(int bits, const void* data, size_t length, uint8_t* digest) {
  PdfCryptoInit();
  const EVP_MD* md = bits == 512 ? EVP_sha512() : bits == 384 ? EVP_sha384() : EVP_sha256();
  if ((bits != 256 && bits != 384 && bits != 512) ||
      EVP_Digest(data, length, digest, nullptr, md, nullptr) != 1) {
    throw PdfException(PDF_ERR_CRYPTO, "ERROR: Sha2Digest(%d) failed.", bits);
  }
}
