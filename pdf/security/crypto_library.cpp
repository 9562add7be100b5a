#include "pdf/security/crypto_library.h"

#include <openssl/crypto.h>

void PdfCryptoInit() {
  static const bool started = OPENSSL_init_crypto(OPENSSL_INIT_NO_ATEXIT, nullptr) == 1;
  (void)started;
}
