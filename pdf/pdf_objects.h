// The PDF object model: every piece of a generated file is held as a tree of
// typed objects until it is written.
#pragma once

#include <cstdint>

#include "pdf/pdf_list.h"

class PdfStreamBase;
class PdfMemStream;
class PdfEncryptor;
class PdfXref;
class PdfEncodingDef;

enum PdfObjectType {
  otReference = 0,
  otBoolean = 1,
  otNumber = 2,
  otReal = 3,
  otText = 4,
  otBinary = 5,
  otName = 6,
  otArray = 7,
  otDictionary = 8,
  otStream = 9,
  otEncodedText = 10
};

enum PdfObjectClass { ocDirect = 0, ocIndirect = 1, ocReference = 2 };

// An owned heap copy of a zero-terminated text (delete[] it); nullptr for nullptr.
char* PdfCopyText(const char* text);

class PdfObject {
 public:
  PdfObject() = default;
  explicit PdfObject(int objectId) : objectId_(objectId) {}
  PdfObject(const PdfObject&) = delete;
  PdfObject& operator=(const PdfObject&) = delete;
  virtual ~PdfObject() = default;

  virtual int GetObjectClass() const { return objectId_ > 0 ? ocIndirect : ocDirect; }
  virtual int GetType() const { return 0; }
  virtual bool IsOwned() const { return objectId_ < 0; }
  virtual void WriteValueToStream(PdfStreamBase* out, PdfEncryptor* encryptor) = 0;

  // The indirect form "id gen obj ... endobj"; writes nothing for a direct object.
  void WriteToStream(PdfStreamBase* out, PdfEncryptor* encryptor);

  int GetObjectId() const { return objectId_; }
  void SetObjectId(int id) { objectId_ = id; }
  int GetGenerationNo() const { return generation_; }
  bool IsIndirect() const { return objectId_ > 0; }

 private:
  int objectId_ = 0;  // 0 unowned direct, -1 owned direct, > 0 indirect
  int generation_ = 0;
};

class PdfReference : public PdfObject {
 public:
  explicit PdfReference(const PdfObject* target) : PdfObject(target->GetObjectId()) {}
  int GetObjectClass() const override { return ocReference; }
  int GetType() const override { return otReference; }
  bool IsOwned() const override { return true; }
  void WriteValueToStream(PdfStreamBase* out, PdfEncryptor* encryptor) override;
};

class PdfBoolean : public PdfObject {
 public:
  explicit PdfBoolean(bool value) : value_(value ? 1 : 0) {}
  int GetType() const override { return otBoolean; }
  void WriteValueToStream(PdfStreamBase* out, PdfEncryptor* encryptor) override;
  bool GetValue() const { return value_ != 0; }
  void SetValue(bool value) { value_ = value ? 1 : 0; }

 private:
  int32_t value_;
};

class PdfNumber : public PdfObject {
 public:
  explicit PdfNumber(int value) : value_(value) {}
  int GetType() const override { return otNumber; }
  void WriteValueToStream(PdfStreamBase* out, PdfEncryptor* encryptor) override;
  int GetValue() const { return value_; }
  void SetValue(int value) { value_ = value; }

 private:
  int32_t value_;
};

class PdfReal : public PdfObject {
 public:
  explicit PdfReal(double value) : value_(value) {}
  int GetType() const override { return otReal; }
  void WriteValueToStream(PdfStreamBase* out, PdfEncryptor* encryptor) override;
  double GetValue() const { return value_; }
  void SetValue(double value) { value_ = value; }

 private:
  double value_;
};

class PdfName : public PdfObject {
 public:
  static const int kMaxLength = 127;
  explicit PdfName(const char* value);
  int GetType() const override { return otName; }
  void WriteValueToStream(PdfStreamBase* out, PdfEncryptor* encryptor) override;
  const char* GetValue() const { return value_; }
  void SetValue(const char* value);

 private:
  char value_[kMaxLength + 1];
};

class PdfText : public PdfObject {
 public:
  static const int kMaxLength = 65535;
  explicit PdfText(const char* value);
  ~PdfText() override;
  int GetType() const override { return otText; }
  void WriteValueToStream(PdfStreamBase* out, PdfEncryptor* encryptor) override;
  // nullptr when the text is empty.
  const char* GetValue() const { return value_; }
  void SetValue(const char* value);

 private:
  char* value_ = nullptr;
};

class PdfBinary : public PdfObject {
 public:
  // The bytes stay the caller's; they must live until the file is written.
  PdfBinary(const void* data, int length, bool encrypt);
  int GetType() const override { return otBinary; }
  void WriteValueToStream(PdfStreamBase* out, PdfEncryptor* encryptor) override;
  void SetData(const void* data, int length) { data_ = static_cast<const unsigned char*>(data); length_ = length; }
  const unsigned char* GetData() const { return data_; }
  int GetLength() const { return length_; }
  bool GetEncryptFlag() const { return encrypt_; }
  void SetEncryptFlag(bool encrypt) { encrypt_ = encrypt; }

 private:
  const unsigned char* data_;
  int length_;
  bool encrypt_;
};

// Text converted through a font encoding into bytes; written as a hex string.
class PdfEncodedText : public PdfObject {
 public:
  PdfEncodedText(const char* text, PdfEncodingDef* encoding);
  // Bytes already encoded (a copy is kept), such as UTF-16BE text.
  PdfEncodedText(const unsigned char* bytes, int length);
  ~PdfEncodedText() override;
  int GetType() const override { return otEncodedText; }
  void WriteValueToStream(PdfStreamBase* out, PdfEncryptor* encryptor) override;
  const unsigned char* GetData() const { return data_; }
  int GetLength() const { return length_; }

 private:
  unsigned char* data_ = nullptr;
  int length_ = 0;
};

class PdfArray : public PdfObject {
 public:
  static const int kMaxItems = 8191;
  explicit PdfArray(PdfXref* xref) : xref_(xref) {}
  ~PdfArray() override;
  int GetType() const override { return otArray; }
  void WriteValueToStream(PdfStreamBase* out, PdfEncryptor* encryptor) override;

  void Add(PdfObject* object);
  void Insert(PdfObject* object, int index);
  // References are resolved through the object table.
  PdfObject* GetItem(int index) const;
  // true for number items (and reals, truncated); false otherwise.
  bool GetItemAsInteger(int index, int* value) const;
  // Reals as they are, numbers converted, anything else 0.
  double GetItemAsReal(int index) const;
  int GetCount() const { return items_ ? items_->Count() : 0; }
  void Clear();
  void AddNumbers(int a, int b, int c, int d);
  void AddReals(double a, double b, double c, double d);
  PdfXref* GetXref() const { return xref_; }

 private:
  PdfList* items_ = nullptr;
  PdfXref* xref_;
};

struct PdfDictElement {
  PdfName* key;
  PdfObject* value;
};

class PdfDictionary : public PdfObject {
 public:
  static const int kMaxElements = 4095;
  explicit PdfDictionary(PdfXref* xref) : xref_(xref) {}
  ~PdfDictionary() override;
  int GetType() const override { return otDictionary; }
  void WriteValueToStream(PdfStreamBase* out, PdfEncryptor* encryptor) override;

  void AddElement(const char* key, PdfObject* value);
  // The value with references resolved; nullptr when absent.
  PdfObject* GetValue(const char* key) const;
  // The stored object itself (a PdfReference for indirect values).
  PdfObject* GetRawValue(const char* key) const;
  const char* GetNameValue(const char* key) const;
  const char* GetTextValue(const char* key) const;
  bool CheckTypeName(const char* typeName) const;
  void RemoveElement(const char* key);
  void RemoveElementAt(int index);
  int GetCount() const { return elements_ ? elements_->Count() : 0; }
  const char* GetKeyAt(int index) const;
  PdfDictElement* GetElementAt(int index) const;
  PdfXref* GetXref() const { return xref_; }

 protected:
  // Writes the dictionary part: "<<", the elements, ">>".
  void WriteDictionary(PdfStreamBase* out, PdfEncryptor* encryptor);

 private:
  int FindElement(const char* key) const;
  void DeleteElement(PdfDictElement* element);

  PdfList* elements_ = nullptr;
  PdfXref* xref_;
};

enum PdfFilterFlags { PDF_FILTER_FLATE = 2, PDF_FILTER_DCT = 8 };

class PdfStream : public PdfDictionary {
 public:
  explicit PdfStream(PdfXref* xref) : PdfDictionary(xref) {}
  ~PdfStream() override;
  int GetType() const override { return otStream; }
  void WriteValueToStream(PdfStreamBase* out, PdfEncryptor* encryptor) override;

  // The data, created on the first request.
  PdfMemStream* GetStream();
  bool HasStream() const { return stream_ != nullptr; }
  void SetFilter(int flags) { filter_ |= flags & (PDF_FILTER_FLATE | PDF_FILTER_DCT); }
  void RemoveFilter(int flags) { filter_ &= ~flags; }
  int GetFilter() const { return filter_; }

 private:
  PdfMemStream* stream_ = nullptr;
  int filter_ = 0;
};
