#include "pdf/security/random_bytes.h"

#include <openssl/rand.h>

#include "pdf/pdf_exception.h"
#include "pdf/security/crypto_library.h"

void RandomBytes(uint8_t* dst, int length) {
  if (length <= 0) return;
  PdfCryptoInit();
  // A predictable IV or key would weaken every file written with it, so a
  // failing generator fails the save instead of falling back to anything.
  if (RAND_bytes(dst, length) != 1)
    throw PdfException(PDF_ERR_CRYPTO, "ERROR: RandomBytes cannot get %d random bytes.", length);
}
