// The real and integer writers of the output stream, through a memory stream
// with a chunk size the input picks, then the plain and the Flate transfer.
// Each value written is read back from its text.
#include <zlib.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzz/fuzz_support.h"
#include "pdf/pdf_exception.h"
#include "pdf/pdf_stream.h"

namespace {

// Collects what a transfer writes.
class StringStream : public PdfStreamBase {
 public:
  int Write(const void* bytes, int len) override {
    if (len > 0) text.append(static_cast<const char*>(bytes), static_cast<size_t>(len));
    size_ += len > 0 ? len : 0;
    return len;
  }
  std::string text;
};

std::string contentOf(const PdfMemStream& ms) {
  std::string text;
  for (int i = 0; i < ms.ChunkCount(); ++i) {
    int len = 0;
    const unsigned char* chunk = ms.GetChunk(i, &len);
    if (!chunk || len <= 0 || len > ms.ChunkSize()) pvfuzz::fail("bad chunk");
    text.append(reinterpret_cast<const char*>(chunk), static_cast<size_t>(len));
  }
  return text;
}

std::string inflate(const std::string& packed) {
  z_stream z;
  std::memset(&z, 0, sizeof z);
  if (inflateInit(&z) != Z_OK) pvfuzz::fail("inflateInit");
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
  z.avail_in = static_cast<uInt>(packed.size());
  std::string out;
  char buf[4096];
  int rc;
  do {
    z.next_out = reinterpret_cast<Bytef*>(buf);
    z.avail_out = sizeof buf;
    rc = ::inflate(&z, Z_NO_FLUSH);
    if (rc != Z_OK && rc != Z_STREAM_END) pvfuzz::fail("deflated data do not inflate");
    out.append(buf, sizeof buf - z.avail_out);
  } while (rc != Z_STREAM_END);
  inflateEnd(&z);
  return out;
}

void checkInteger(const std::string& text, long long expected) {
  if (text.empty()) pvfuzz::fail("integer wrote nothing");
  size_t i = text[0] == '-' ? 1 : 0;
  if (i == text.size()) pvfuzz::fail("integer without digits", text);
  if (text[i] == '0' && text.size() > i + 1) pvfuzz::fail("integer with a leading zero", text);
  for (size_t k = i; k < text.size(); ++k)
    if (text[k] < '0' || text[k] > '9') pvfuzz::fail("integer with a non-digit", text);
  if (std::strtoll(text.c_str(), nullptr, 10) != expected) pvfuzz::fail("integer reads back wrong", text);
}

void checkReal(const std::string& text, double value) {
  if (text.empty() || text.size() > 12) pvfuzz::fail("real of bad length", text);
  size_t i = text[0] == '-' ? 1 : 0;
  size_t point = text.find('.');
  for (size_t k = i; k < text.size(); ++k)
    if (k != point && (text[k] < '0' || text[k] > '9')) pvfuzz::fail("real with a bad character", text);
  if (i == text.size() || (point != std::string::npos && (point == i || point == text.size() - 1)))
    pvfuzz::fail("real without digits around its point", text);
  if (point != std::string::npos) {
    if (text.size() - point - 1 > 5) pvfuzz::fail("real with more than 5 decimals", text);
    if (text.back() == '0') pvfuzz::fail("real with a trailing zero", text);
  }
  double back = std::strtod(text.c_str(), nullptr);
  // %.5f rounds to the nearest 0.00001; allow for the binary representation.
  if (std::fabs(back - value) > 0.000005 + 1e-9) pvfuzz::fail("real reads back wrong", text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  int chunkSize = 1 + data[0] % 64;
  PdfMemStream ms(chunkSize);
  std::string expected;
  size_t pos = 1;
  while (pos < size) {
    uint8_t tag = data[pos++] % 4;
    size_t before = expected.size();
    if (tag == 0 && pos + 4 <= size) {
      int32_t v;
      std::memcpy(&v, data + pos, 4);
      pos += 4;
      ms << static_cast<int>(v);
      std::string text = contentOf(ms).substr(before);
      checkInteger(text, v);
      expected += text;
    } else if (tag == 1 && pos + 4 <= size) {
      uint32_t v;
      std::memcpy(&v, data + pos, 4);
      pos += 4;
      ms << static_cast<unsigned int>(v);
      std::string text = contentOf(ms).substr(before);
      if (!text.empty() && text[0] == '-') pvfuzz::fail("unsigned written with a sign", text);
      checkInteger(text, v);
      expected += text;
    } else if (tag == 2 && pos + 8 <= size) {
      double v;
      std::memcpy(&v, data + pos, 8);
      pos += 8;
      // Values in range are the common case; scale some raw bit patterns
      // into it so that both sides of the check are reached.
      if (data[pos - 1] & 1) v = std::fmod(v, 40000.0);
      bool inRange = v >= -32767.0 && v <= 32767.0;
      try {
        ms << v;
        if (!inRange) pvfuzz::fail("real out of range was written");
      } catch (const PdfException& e) {
        if (inRange) pvfuzz::fail("real in range was refused", e.what());
        if (e.GetCode() != PDF_ERR_RANGE) pvfuzz::fail("real refused with the wrong code");
      }
      std::string text = contentOf(ms).substr(before);
      if (inRange) checkReal(text, v);
      else if (!text.empty()) pvfuzz::fail("refused real left bytes behind", text);
      expected += text;
    } else if (tag == 3) {
      char c = static_cast<char>(data[pos - 1]);
      ms << c;
      expected += c;
    } else {
      break;
    }
    if (contentOf(ms) != expected) pvfuzz::fail("stream content differs from what was written");
  }
  if (ms.Size() != static_cast<int>(expected.size())) pvfuzz::fail("size differs from bytes written");

  StringStream plain, packed;
  ms.WriteTo(&plain, nullptr);
  if (plain.text != expected) pvfuzz::fail("plain transfer differs");
  ms.DeflateTo(&packed, nullptr);
  if (packed.text.empty() ? !expected.empty() : inflate(packed.text) != expected)
    pvfuzz::fail("Flate transfer does not round-trip");
  return 0;
}
