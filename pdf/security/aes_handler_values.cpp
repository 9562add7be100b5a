#include "pdf/security/aes_handler_values.h"

#include <cstring>

#include "pdf/security/aes_cbc.h"
#include "pdf/security/md5.h"
#include "pdf/security/password_hash.h"
#include "pdf/security/pdf_encrypt.h"
#include "pdf/security/random_bytes.h"
#include "pdf/security/rc4.h"

namespace {

const uint8_t kZeroIv[AesCbc::kBlockSize] = {};

void putLittleEndian32(uint32_t value, uint8_t out[4]) {
  for (int k = 0; k < 4; k++) out[k] = static_cast<uint8_t>(value >> (8 * k));
}

// Twenty RC4 passes over data in place, the n-th under the key with every
// byte XORed with n.
void rc4TwentyPasses(const uint8_t key[16], uint8_t* data, int length) {
  uint8_t passKey[16];
  for (int pass = 0; pass < 20; pass++) {
    for (int k = 0; k < 16; k++) passKey[k] = static_cast<uint8_t>(key[k] ^ pass);
    Rc4(passKey, 16).Crypt(data, data, length);
  }
}

// The digest fed back into MD5 fifty times more.
void md5FiftyTimes(uint8_t digest[16]) {
  for (int k = 0; k < 50; k++) Md5::Digest(digest, 16, digest);
}

int cut127(const std::string& password) {
  return password.size() > 127 ? 127 : static_cast<int>(password.size());
}

}  // namespace

void ComputeRev4Values(const uint8_t ownerPadded[32], const uint8_t userPadded[32],
                       int32_t permission, const uint8_t fileId[16], uint8_t ownerValue[32],
                       uint8_t key[16], uint8_t userValue[32]) {
  // O: the padded user password under a key from the owner password.
  uint8_t digest[16];
  Md5::Digest(ownerPadded, 32, digest);
  md5FiftyTimes(digest);
  memcpy(ownerValue, userPadded, 32);
  rc4TwentyPasses(digest, ownerValue, 32);

  // File key.
  uint8_t word[4];
  Md5 md5;
  md5.Update(userPadded, 32);
  md5.Update(ownerValue, 32);
  putLittleEndian32(static_cast<uint32_t>(permission), word);
  md5.Update(word, 4);
  md5.Update(fileId, 16);
  md5.Final(key);
  md5FiftyTimes(key);

  // U: the digest of the padding string and the identifier under the file
  // key, then 16 bytes that readers ignore.
  md5.Init();
  md5.Update(PdfEncrypt::kPadding, 32);
  md5.Update(fileId, 16);
  md5.Final(userValue);
  rc4TwentyPasses(key, userValue, 16);
  memset(userValue + 16, 0, 16);
}

void ObjectKeyRev4(const uint8_t fileKey[16], int objectId, int generation, uint8_t key[16]) {
  uint8_t buffer[16 + 5 + 4];
  memcpy(buffer, fileKey, 16);
  buffer[16] = static_cast<uint8_t>(objectId);
  buffer[17] = static_cast<uint8_t>(objectId >> 8);
  buffer[18] = static_cast<uint8_t>(objectId >> 16);
  buffer[19] = static_cast<uint8_t>(generation);
  buffer[20] = static_cast<uint8_t>(generation >> 8);
  memcpy(buffer + 21, "sAlT", 4);
  Md5::Digest(buffer, sizeof buffer, key);
}

void ComputeRev6Values(const std::string& ownerPassword, const std::string& userPassword,
                       int32_t permission, const uint8_t fileKey[32], Rev6Values* values) {
  const uint8_t* user = reinterpret_cast<const uint8_t*>(userPassword.data());
  const uint8_t* owner = reinterpret_cast<const uint8_t*>(ownerPassword.data());
  uint8_t hash[32];

  // U and UE: validation salt and key salt follow the hash in U.
  RandomBytes(values->user + 32, 16);
  HashPasswordRev6(user, cut127(userPassword), values->user + 32, nullptr, values->user);
  HashPasswordRev6(user, cut127(userPassword), values->user + 40, nullptr, hash);
  AesCbc::Encrypt(hash, 32, kZeroIv, false, fileKey, 32, values->userKey);

  // O and OE, hashed together with the whole of U.
  RandomBytes(values->owner + 32, 16);
  HashPasswordRev6(owner, cut127(ownerPassword), values->owner + 32, values->user, values->owner);
  HashPasswordRev6(owner, cut127(ownerPassword), values->owner + 40, values->user, hash);
  AesCbc::Encrypt(hash, 32, kZeroIv, false, fileKey, 32, values->ownerKey);

  // Perms: P widened to 64 bits, "T" (metadata is encrypted), "adb" and four
  // random bytes, as one AES-256 block; one block of CBC under a zero IV is
  // the block cipher itself.
  uint8_t block[16];
  putLittleEndian32(static_cast<uint32_t>(permission), block);
  memset(block + 4, 0xFF, 4);
  memcpy(block + 8, "Tadb", 4);
  RandomBytes(block + 12, 4);
  AesCbc::Encrypt(fileKey, 32, kZeroIv, false, block, 16, values->perms);
  memset(hash, 0, sizeof hash);
}
