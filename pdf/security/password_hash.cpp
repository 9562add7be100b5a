#include "pdf/security/password_hash.h"

#include <cstring>
#include <vector>

#include "pdf/security/aes_cbc.h"
#include "pdf/security/sha2.h"

void HashPasswordRev6(const uint8_t* password, int passwordLength, const uint8_t salt[8],
                      const uint8_t* userData, uint8_t hash[32]) {
  if (passwordLength > 127) passwordLength = 127;
  if (passwordLength < 0) passwordLength = 0;
  const int userLength = userData ? 48 : 0;

  std::vector<uint8_t> input(passwordLength + 8 + userLength);
  if (passwordLength) memcpy(input.data(), password, passwordLength);
  memcpy(input.data() + passwordLength, salt, 8);
  if (userLength) memcpy(input.data() + passwordLength + 8, userData, userLength);

  uint8_t k[64];
  int kLength = 32;
  Sha2Digest(256, input.data(), input.size(), k);

  std::vector<uint8_t> k1, e;
  for (int round = 0;; round++) {
    // K1: password, K and user data, 64 times over.
    const int part = passwordLength + kLength + userLength;
    k1.resize(static_cast<size_t>(part) * 64);
    for (int r = 0; r < 64; r++) {
      uint8_t* at = k1.data() + static_cast<size_t>(part) * r;
      if (passwordLength) memcpy(at, password, passwordLength);
      memcpy(at + passwordLength, k, kLength);
      if (userLength) memcpy(at + passwordLength + kLength, userData, userLength);
    }
    // E: K1 under AES-128-CBC, key and IV the first two 16-byte halves of K;
    // K1 fills whole blocks, so no padding.
    e.resize(k1.size());
    AesCbc::Encrypt(k, 16, k + 16, false, k1.data(), static_cast<int>(k1.size()), e.data());

    // The first 16 bytes of E as a number modulo 3 choose the next digest;
    // 256 is 1 modulo 3, so the sum of the bytes has the same remainder.
    int sum = 0;
    for (int i = 0; i < 16; i++) sum += e[i];
    const int bits = 256 + 128 * (sum % 3);
    Sha2Digest(bits, e.data(), e.size(), k);
    kLength = bits / 8;

    // At least 64 rounds, then on until the last byte of E is at most the
    // number of rounds done less 32.
    const int done = round + 1;
    if (done >= 64 && e.back() <= done - 32) break;
  }
  memcpy(hash, k, 32);
}
