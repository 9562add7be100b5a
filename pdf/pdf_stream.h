// Output streams: every byte of a PDF file passes through them. The memory
// stream collects stream-object data in fixed chunks and hands it on plain
// or Flate-compressed.
#pragma once

#include <cstdio>

#include "pdf/pdf_list.h"

class PdfEncryptor;

class PdfStreamBase {
 public:
  PdfStreamBase() = default;
  PdfStreamBase(const PdfStreamBase&) = delete;
  PdfStreamBase& operator=(const PdfStreamBase&) = delete;
  virtual ~PdfStreamBase() = default;

  // Writes len bytes; returns the number written. Throws on failure.
  virtual int Write(const void* bytes, int len) = 0;

  PdfStreamBase& operator<<(const char* text);
  PdfStreamBase& operator<<(char c);
  PdfStreamBase& operator<<(int value);
  PdfStreamBase& operator<<(unsigned int value);
  // At most 5 decimals, trailing zeros cut, range -32767..32767.
  PdfStreamBase& operator<<(double value);

  // Total bytes accepted so far (the file offset while a file is written).
  int GetSize() const { return size_; }

 protected:
  int size_ = 0;
};

class PdfFileStream : public PdfStreamBase {
 public:
  // Opens the file with "wb"; a failed open is reported at the first write.
  explicit PdfFileStream(const char* fileName);
  PdfFileStream(FILE* file, bool ownsFile);
  // Flushes, and closes the file when this stream opened it.
  ~PdfFileStream() override;

  int Write(const void* bytes, int len) override;
  // Flushes and closes an owned file, throwing when either fails, so that a
  // caller knows the bytes reached the disk.
  void Close();
  int GetError() const { return error_; }

 private:
  FILE* file_ = nullptr;
  bool ownsFile_ = false;
  int error_ = 0;
};

class PdfMemStream : public PdfStreamBase {
 public:
  static const int kDefaultChunkSize = 1024;

  explicit PdfMemStream(int chunkSize = kDefaultChunkSize);
  ~PdfMemStream() override;

  int Write(const void* bytes, int len) override;
  // Data size: used + (chunks - 1) x chunk size.
  int Size() const;
  int ChunkCount() const { return chunks_ ? chunks_->Count() : 0; }
  int ChunkSize() const { return chunkSize_; }
  // The chunk's address and length; nullptr for an empty stream or a bad index.
  const unsigned char* GetChunk(int index, int* length) const;
  PdfMemStream* Copy() const;
  // The plain transfer; returns bytes written.
  int WriteTo(PdfStreamBase* out, PdfEncryptor* encryptor) const;
  // The Flate transfer; returns bytes written.
  int DeflateTo(PdfStreamBase* out, PdfEncryptor* encryptor) const;
  void Clear();

 private:
  void AppendChunk();

  PdfList* chunks_ = nullptr;
  int chunkSize_;
  int used_ = 0;
  unsigned char* writePos_ = nullptr;
};
