// The MD5 message digest (RFC 1321), used by the security handler to derive
// the file identifier and every key.
#pragma once

#include <cstdint>

class Md5 {
 public:
  static const int kDigestSize = 16;

  Md5() { Init(); }
  void Init();
  void Update(const void* data, int length);
  // Writes the 16-byte digest; the object must be re-initialised before reuse.
  void Final(uint8_t digest[kDigestSize]);

  // One-shot digest of a buffer.
  static void Digest(const void* data, int length, uint8_t digest[kDigestSize]);

 private:
  void Transform(const uint8_t block[64]);

  uint32_t state_[4];
  uint64_t bitCount_;
  uint8_t buffer_[64];
};
