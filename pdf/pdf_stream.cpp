#include "pdf/pdf_stream.h"

#include <zlib.h>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <memory>

#include "pdf/pdf_exception.h"
#include "pdf/security/pdf_encrypt.h"

PdfStreamBase& PdfStreamBase::operator<<(const char* text) {
  Write(text, static_cast<int>(std::strlen(text)));
  return *this;
}

PdfStreamBase& PdfStreamBase::operator<<(char c) {
  Write(&c, 1);
  return *this;
}

namespace {

// Decimal digits of v, written backwards ending at end; returns the first.
char* DigitsBackwards(unsigned long long v, char* end) {
  do {
    *--end = static_cast<char>('0' + v % 10);
    v /= 10;
  } while (v != 0);
  return end;
}

// round(|value| x 10^5) as printf's "%.5f" computes it: from the exact binary
// value, ties to even. Every real of a page passes through here, and printf's
// general machinery cost more than all the rest of a chart together.
// |value| is at most 32767, so the result fits easily into 64 bits.
unsigned long long ScaledMagnitude(double value) {
  unsigned long long bits;
  std::memcpy(&bits, &value, sizeof bits);
  int biased = static_cast<int>((bits >> 52) & 0x7FF);
  unsigned long long mantissa = bits & ((1ull << 52) - 1);
  if (biased != 0)
    mantissa |= 1ull << 52;
  else
    biased = 1;  // subnormal
  int exponent = biased - 1075;  // |value| = mantissa x 2^exponent
  if (exponent >= 0) return (mantissa << exponent) * 100000u;
  int shift = -exponent;
  // mantissa x 10^5 < 2^70: beyond that shift it is below one half.
  if (shift > 70) return 0;
  unsigned __int128 n = static_cast<unsigned __int128>(mantissa) * 100000u;
  unsigned __int128 q = n >> shift;
  unsigned __int128 rest = n - (q << shift);
  unsigned __int128 half = static_cast<unsigned __int128>(1) << (shift - 1);
  if (rest > half || (rest == half && (q & 1) != 0)) ++q;
  return static_cast<unsigned long long>(q);
}

}  // namespace

PdfStreamBase& PdfStreamBase::operator<<(int value) {
  char buf[12];
  char* end = buf + sizeof buf;
  unsigned long long magnitude =
      value < 0 ? 0ull - static_cast<unsigned long long>(static_cast<long long>(value))
                : static_cast<unsigned long long>(value);
  char* p = DigitsBackwards(magnitude, end);
  if (value < 0) *--p = '-';
  Write(p, static_cast<int>(end - p));
  return *this;
}

PdfStreamBase& PdfStreamBase::operator<<(unsigned int value) {
  char buf[11];
  char* end = buf + sizeof buf;
  char* p = DigitsBackwards(value, end);
  Write(p, static_cast<int>(end - p));
  return *this;
}

PdfStreamBase& PdfStreamBase::operator<<(double value) {
  // The negated comparison also refuses NaN.
  if (!(value >= -32767.0 && value <= 32767.0))
    throw PdfException(PDF_ERR_RANGE, "error: operator<<(const double d)[%f]\n.", value);
  // "%.5f" with its trailing zeros and then a bare point cut off, always with
  // "." whatever the locale's decimal character; a negative value that rounds
  // to zero keeps its sign ("-0"), as printf writes it.
  unsigned long long scaled = ScaledMagnitude(value);
  char buf[16];
  char* end = buf + sizeof buf;
  char* p = end;
  unsigned long long fraction = scaled % 100000u;
  if (fraction != 0) {
    int digits = 5;
    while (fraction % 10 == 0) {
      fraction /= 10;
      --digits;
    }
    for (int i = 0; i < digits; ++i) {
      *--p = static_cast<char>('0' + fraction % 10);
      fraction /= 10;
    }
    *--p = '.';
  }
  p = DigitsBackwards(scaled / 100000u, p);
  if (std::signbit(value)) *--p = '-';
  Write(p, static_cast<int>(end - p));
  return *this;
}

PdfFileStream::PdfFileStream(const char* fileName) : ownsFile_(true) {
  file_ = fopen(fileName, "wb");
  if (!file_) error_ = errno;
}

PdfFileStream::PdfFileStream(FILE* file, bool ownsFile) : file_(file), ownsFile_(ownsFile) {}

PdfFileStream::~PdfFileStream() {
  if (!file_) return;
  fflush(file_);
  if (ownsFile_) fclose(file_);
}

int PdfFileStream::Write(const void* bytes, int len) {
  if (!file_) throw PdfException(PDF_ERR_WRITE, "ERROR: cannot write to stream(%d).", error_);
  if (len <= 0) return 0;
  if (fwrite(bytes, len, 1, file_) != 1) {
    error_ = errno;
    throw PdfException(PDF_ERR_WRITE, "ERROR: cannot write to stream(%d).", error_);
  }
  size_ += len;
  return len;
}

void PdfFileStream::Close() {
  if (!file_) throw PdfException(PDF_ERR_WRITE, "ERROR: cannot write to stream(%d).", error_);
  FILE* f = file_;
  file_ = nullptr;
  bool ok = fflush(f) == 0;
  if (!ok) error_ = errno;
  if (ownsFile_ && fclose(f) != 0 && ok) {
    ok = false;
    error_ = errno;
  }
  if (!ok) throw PdfException(PDF_ERR_WRITE, "ERROR: cannot write to stream(%d).", error_);
}

PdfMemStream::PdfMemStream(int chunkSize) : chunkSize_(chunkSize > 0 ? chunkSize : kDefaultChunkSize) {}

PdfMemStream::~PdfMemStream() { Clear(); }

void PdfMemStream::Clear() {
  if (!chunks_) return;
  for (int i = 0; i < chunks_->Count(); ++i) delete[] static_cast<unsigned char*>(chunks_->ItemAt(i));
  delete chunks_;
  chunks_ = nullptr;
  used_ = 0;
  writePos_ = nullptr;
}

void PdfMemStream::AppendChunk() {
  unsigned char* chunk = new unsigned char[chunkSize_];
  if (!chunks_->Add(chunk)) {
    delete[] chunk;
    throw PdfException(PDF_ERR_LIST, "ERROR: PdfMemStream::Write");
  }
  used_ = 0;
  writePos_ = chunk;
}

int PdfMemStream::Write(const void* bytes, int len) {
  if (len <= 0) return 0;
  if (!chunks_) {
    chunks_ = new PdfList();
    AppendChunk();
  }
  const unsigned char* src = static_cast<const unsigned char*>(bytes);
  int remaining = len;
  while (remaining > 0) {
    int free = chunkSize_ - used_;
    if (free < remaining) {
      if (free > 0) {
        std::memcpy(writePos_, src, free);
        src += free;
        remaining -= free;
      }
      AppendChunk();
    } else {
      std::memcpy(writePos_, src, remaining);
      writePos_ += remaining;
      used_ += remaining;
      remaining = 0;
    }
  }
  size_ += len;
  return len;
}

int PdfMemStream::Size() const {
  if (!chunks_ || chunks_->Count() == 0) return 0;
  return used_ + (chunks_->Count() - 1) * chunkSize_;
}

const unsigned char* PdfMemStream::GetChunk(int index, int* length) const {
  if (!chunks_ || index < 0 || index >= chunks_->Count()) {
    if (length) *length = 0;
    return nullptr;
  }
  if (length) *length = (index == chunks_->Count() - 1) ? used_ : chunkSize_;
  return static_cast<const unsigned char*>(chunks_->ItemAt(index));
}

PdfMemStream* PdfMemStream::Copy() const {
  std::unique_ptr<PdfMemStream> copy(new PdfMemStream(chunkSize_));
  for (int i = 0; i < ChunkCount(); ++i) {
    int n;
    const unsigned char* chunk = GetChunk(i, &n);
    copy->Write(chunk, n);
  }
  return copy.release();
}

int PdfMemStream::WriteTo(PdfStreamBase* out, PdfEncryptor* encryptor) const {
  int total = 0;
  std::unique_ptr<unsigned char[]> scratch;
  if (encryptor) {
    scratch.reset(new unsigned char[chunkSize_ + encryptor->Overhead()]);
    encryptor->BeginStream();
  }
  for (int i = 0; i < ChunkCount(); ++i) {
    int n;
    const unsigned char* chunk = GetChunk(i, &n);
    if (n <= 0) continue;
    if (encryptor) {
      const int crypted = encryptor->CryptStream(chunk, n, scratch.get());
      if (crypted > 0) total += out->Write(scratch.get(), crypted);
    } else {
      total += out->Write(chunk, n);
    }
  }
  if (encryptor) {
    const int last = encryptor->EndStream(scratch.get());
    if (last > 0) total += out->Write(scratch.get(), last);
  }
  return total;
}

int PdfMemStream::DeflateTo(PdfStreamBase* out, PdfEncryptor* encryptor) const {
  if (!out) throw PdfException(PDF_ERR_MISSING, "ERROR: write to stream. Output stream is NULL.");
  z_stream z;
  std::memset(&z, 0, sizeof z);
  const int bufSize = encryptor ? chunkSize_ * 2 + encryptor->Overhead() : chunkSize_;
  std::unique_ptr<unsigned char[]> buf(new unsigned char[bufSize]);
  unsigned char* const crypted = buf.get() + chunkSize_;

  int rc = deflateInit_(&z, Z_DEFAULT_COMPRESSION, zlibVersion(), static_cast<int>(sizeof(z_stream)));
  if (rc != Z_OK) throw PdfException(PDF_ERR_DEFLATE, "ERROR: PdfMemStream --deflateInit_ returns %d.", rc);

  int total = 0;
  auto handOn = [&](int n) {
    if (n <= 0) return;
    if (encryptor) {
      const int m = encryptor->CryptStream(buf.get(), n, crypted);
      if (m > 0) total += out->Write(crypted, m);
    } else {
      total += out->Write(buf.get(), n);
    }
  };
  auto resetOutput = [&]() {
    z.next_out = buf.get();
    z.avail_out = static_cast<uInt>(chunkSize_);
  };
  resetOutput();
  if (encryptor) encryptor->BeginStream();

  try {
    const int chunks = ChunkCount();
    for (int i = 0; i + 1 < chunks; ++i) {
      int n;
      const unsigned char* chunk = GetChunk(i, &n);
      z.next_in = const_cast<Bytef*>(chunk);
      z.avail_in = static_cast<uInt>(n);
      while (z.avail_in > 0) {
        rc = deflate(&z, Z_NO_FLUSH);
        if (rc != Z_OK && rc != Z_STREAM_END)
          throw PdfException(PDF_ERR_DEFLATE, "ERROR: PdfMemStream --deflate returns %d.", rc);
        if (z.avail_out == 0) {
          handOn(chunkSize_);
          resetOutput();
        }
      }
    }
    int n = 0;
    const unsigned char* last = chunks > 0 ? GetChunk(chunks - 1, &n) : nullptr;
    z.next_in = const_cast<Bytef*>(last);
    z.avail_in = static_cast<uInt>(n);
    while (true) {
      rc = deflate(&z, Z_FINISH);
      if (rc == Z_STREAM_END) break;
      if (rc != Z_OK) throw PdfException(PDF_ERR_DEFLATE, "ERROR: PdfMemStream --deflate returns %d.", rc);
      if (z.avail_out == 0) {
        handOn(chunkSize_);
        resetOutput();
      }
    }
    if (z.avail_out < static_cast<uInt>(chunkSize_)) handOn(chunkSize_ - static_cast<int>(z.avail_out));
    if (encryptor) {
      const int m = encryptor->EndStream(crypted);
      if (m > 0) total += out->Write(crypted, m);
    }
  } catch (...) {
    deflateEnd(&z);
    throw;
  }
  deflateEnd(&z);
  return total;
}
