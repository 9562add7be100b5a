// Known-answer tests for the two primitives of the security handler.
#include <gtest/gtest.h>

#include "tests/pdf/core_test_util.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "pdf/security/md5.h"
#include "pdf/security/rc4.h"

namespace {

using coretest::FromHex;
using coretest::ToHex;

struct Md5Case {
  const char* message;
  const char* digest;
};

// The test suite of RFC 1321, appendix A.5.
const Md5Case kMd5Suite[] = {
    {"", "d41d8cd98f00b204e9800998ecf8427e"},
    {"a", "0cc175b9c0f1b6a831c399e269772661"},
    {"abc", "900150983cd24fb0d6963f7d28e17f72"},
    {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
    {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
    {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
     "d174ab98d277d9f5a5611c2c9f419d9f"},
    {"1234567890123456789012345678901234567890123456789012345678901234567890123456789"
     "0",
     "57edf4a22be3c955ac49da2e2107b67a"},
};

TEST(Md5Test, Rfc1321TestSuite) {
  for (const Md5Case& c : kMd5Suite) {
    uint8_t digest[16];
    Md5::Digest(c.message, static_cast<int>(strlen(c.message)), digest);
    EXPECT_EQ(ToHex(digest, 16), c.digest) << "message \"" << c.message << "\"";
  }
}

// Feeding the same message in pieces of every size must not change the
// digest: this exercises the partial-block buffer and the padding at block
// boundaries (55, 56, 63, 64 bytes and beyond).
TEST(Md5Test, PiecewiseUpdateMatchesOneShot) {
  std::string message;
  for (int k = 0; k < 200; k++) message += static_cast<char>('A' + k % 53);
  for (int length : {55, 56, 57, 63, 64, 65, 119, 120, 128, 200}) {
    uint8_t whole[16];
    Md5::Digest(message.data(), length, whole);
    for (int piece : {1, 3, 7, 31, 64, 65}) {
      Md5 md5;
      for (int at = 0; at < length; at += piece) {
        md5.Update(message.data() + at, std::min(piece, length - at));
      }
      uint8_t parts[16];
      md5.Final(parts);
      EXPECT_EQ(ToHex(parts, 16), ToHex(whole, 16)) << "length " << length << " piece " << piece;
    }
  }
  // A million 'a's: the long-message value published with the algorithm's
  // common test vectors.
  std::string million(1000000, 'a');
  uint8_t digest[16];
  Md5::Digest(million.data(), static_cast<int>(million.size()), digest);
  EXPECT_EQ(ToHex(digest, 16), "7707d6ae4e027c70eea2a935c2296f21");
}

TEST(Md5Test, InitRestartsTheDigest) {
  Md5 md5;
  md5.Update("garbage", 7);
  md5.Init();
  md5.Update("abc", 3);
  uint8_t digest[16];
  md5.Final(digest);
  EXPECT_EQ(ToHex(digest, 16), "900150983cd24fb0d6963f7d28e17f72");
}

struct Rc4KeystreamCase {
  const char* key;  // hex
  int offset;
  const char* keystream;  // hex, 16 bytes
};

// RFC 6229 test vectors (keystream = encryption of zero bytes).
const Rc4KeystreamCase kRfc6229[] = {
    {"0102030405", 0, "b2396305f03dc027ccc3524a0a1118a8"},
    {"0102030405", 16, "6982944f18fc82d589c403a47a0d0919"},
    {"0102030405", 240, "28cb1132c96ce286421dcaadb8b69eae"},
    {"0102030405", 256, "1cfcf62b03eddb641d77dfcf7f8d8c93"},
    {"0102030405060708090a0b0c0d0e0f10", 0, "9ac7cc9a609d1ef7b2932899cde41b97"},
};

TEST(Rc4Test, Rfc6229Keystreams) {
  for (const Rc4KeystreamCase& c : kRfc6229) {
    std::vector<uint8_t> key = FromHex(c.key);
    Rc4 rc4(key.data(), static_cast<int>(key.size()));
    std::vector<uint8_t> zeros(c.offset + 16, 0), out(c.offset + 16, 0xEE);
    rc4.Crypt(zeros.data(), out.data(), static_cast<int>(zeros.size()));
    EXPECT_EQ(ToHex(out.data() + c.offset, 16), c.keystream)
        << "key " << c.key << " offset " << c.offset;
  }
}

struct Rc4TextCase {
  const char* key;
  const char* plaintext;
  const char* ciphertext;  // hex
};

const Rc4TextCase kRc4Texts[] = {
    {"Key", "Plaintext", "bbf316e8d940af0ad3"},
    {"Wiki", "pedia", "1021bf0420"},
    {"Secret", "Attack at dawn", "45a01f645fc35b383552544b9bf5"},
};

TEST(Rc4Test, ClassicTextVectorsInPlaceAndInPieces) {
  for (const Rc4TextCase& c : kRc4Texts) {
    int keyLength = static_cast<int>(strlen(c.key));
    int length = static_cast<int>(strlen(c.plaintext));
    const uint8_t* key = reinterpret_cast<const uint8_t*>(c.key);

    // In place, in one run.
    std::vector<uint8_t> buffer(c.plaintext, c.plaintext + length);
    Rc4 whole(key, keyLength);
    whole.Crypt(buffer.data(), buffer.data(), length);
    EXPECT_EQ(ToHex(buffer.data(), length), c.ciphertext) << c.key;

    // One byte at a time: the state must carry over between calls.
    std::vector<uint8_t> pieces(length);
    Rc4 bytewise(key, keyLength);
    for (int k = 0; k < length; k++) {
      bytewise.Crypt(reinterpret_cast<const uint8_t*>(c.plaintext) + k, &pieces[k], 1);
    }
    EXPECT_EQ(ToHex(pieces.data(), length), c.ciphertext) << c.key;

    // Decryption is the same operation.
    Rc4 back(key, keyLength);
    back.Crypt(buffer.data(), buffer.data(), length);
    EXPECT_EQ(std::string(buffer.begin(), buffer.end()), c.plaintext);
  }
}

}  // namespace
