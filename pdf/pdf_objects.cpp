#include "pdf/pdf_objects.h"

#include <cstring>
#include <memory>

#include "pdf/pdf_exception.h"
#include "pdf/pdf_stream.h"
#include "pdf/pdf_xref.h"
#include "pdf/security/pdf_encrypt.h"

namespace {

// The bytes that names and literal strings escape.
bool needsEscape(unsigned char c) {
  if (c < 0x21 || c > 0x7E) return true;
  return std::strchr("\\%#/()<>[]{}", c) != nullptr;
}

const char kHex[] = "0123456789ABCDEF";

void writeHex(PdfStreamBase* out, const unsigned char* data, int length) {
  char buf[256];
  int n = 0;
  out->Write("<", 1);
  for (int i = 0; i < length; ++i) {
    buf[n++] = kHex[data[i] >> 4];
    buf[n++] = kHex[data[i] & 15];
    if (n == sizeof buf) {
      out->Write(buf, n);
      n = 0;
    }
  }
  if (n) out->Write(buf, n);
  out->Write(">", 1);
}

void writeEncryptedHex(PdfStreamBase* out, PdfEncryptor* encryptor, const unsigned char* data, int length) {
  if (length < 0) length = 0;
  std::unique_ptr<unsigned char[]> copy(new unsigned char[length + encryptor->Overhead() + 1]);
  const int written = encryptor->CryptString(data, length, copy.get());
  writeHex(out, copy.get(), written);
}

}  // namespace

char* PdfCopyText(const char* text) {
  if (!text) return nullptr;
  size_t n = std::strlen(text);
  char* copy = new char[n + 1];
  std::memcpy(copy, text, n + 1);
  return copy;
}

void PdfObject::WriteToStream(PdfStreamBase* out, PdfEncryptor* encryptor) {
  if (!IsIndirect()) return;
  *out << objectId_ << " " << static_cast<unsigned int>(generation_) << " obj\r\n";
  WriteValueToStream(out, encryptor);
  *out << "\r\nendobj\r\n";
}

void PdfReference::WriteValueToStream(PdfStreamBase* out, PdfEncryptor*) {
  *out << GetObjectId() << " " << static_cast<unsigned int>(GetGenerationNo()) << " R";
}

void PdfBoolean::WriteValueToStream(PdfStreamBase* out, PdfEncryptor*) {
  *out << (value_ ? "true" : "false");
}

void PdfNumber::WriteValueToStream(PdfStreamBase* out, PdfEncryptor*) { *out << static_cast<int>(value_); }

void PdfReal::WriteValueToStream(PdfStreamBase* out, PdfEncryptor*) { *out << value_; }

PdfName::PdfName(const char* value) { SetValue(value); }

void PdfName::SetValue(const char* value) {
  // The value may be this name's own text.
  char copy[kMaxLength + 1] = {};
  if (value) std::strncpy(copy, value, kMaxLength);
  std::memcpy(value_, copy, sizeof value_);
}

void PdfName::WriteValueToStream(PdfStreamBase* out, PdfEncryptor*) {
  char buf[384];
  int n = 0;
  buf[n++] = '/';
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(value_); *p; ++p) {
    if (needsEscape(*p)) {
      buf[n++] = '#';
      buf[n++] = kHex[*p >> 4];
      buf[n++] = kHex[*p & 15];
    } else {
      buf[n++] = static_cast<char>(*p);
    }
  }
  out->Write(buf, n);
}

PdfText::PdfText(const char* value) { SetValue(value); }

PdfText::~PdfText() { delete[] value_; }

void PdfText::SetValue(const char* value) {
  // Copied before the old text goes: the value may point into it.
  char* copy = nullptr;
  if (value && *value) {
    size_t n = std::strlen(value);
    if (n > static_cast<size_t>(kMaxLength)) n = kMaxLength;
    copy = new char[n + 1];
    std::memcpy(copy, value, n);
    copy[n] = '\0';
  }
  delete[] value_;
  value_ = copy;
}

void PdfText::WriteValueToStream(PdfStreamBase* out, PdfEncryptor* encryptor) {
  if (encryptor) {
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(value_ ? value_ : "");
    writeEncryptedHex(out, encryptor, bytes, static_cast<int>(std::strlen(value_ ? value_ : "")));
    return;
  }
  char buf[256];
  int n = 0;
  buf[n++] = '(';
  if (value_) {
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(value_); *p; ++p) {
      if (needsEscape(*p)) {
        buf[n++] = '\\';
        buf[n++] = static_cast<char>('0' + ((*p >> 6) & 3));
        buf[n++] = static_cast<char>('0' + ((*p >> 3) & 7));
        buf[n++] = static_cast<char>('0' + (*p & 7));
      } else {
        buf[n++] = static_cast<char>(*p);
      }
      if (n > 252) {
        out->Write(buf, n);
        n = 0;
      }
    }
  }
  buf[n++] = ')';
  out->Write(buf, n);
}

PdfBinary::PdfBinary(const void* data, int length, bool encrypt)
    : data_(static_cast<const unsigned char*>(data)), length_(length), encrypt_(encrypt) {}

void PdfBinary::WriteValueToStream(PdfStreamBase* out, PdfEncryptor* encryptor) {
  if (encrypt_ && encryptor)
    writeEncryptedHex(out, encryptor, data_, length_);
  else
    writeHex(out, data_, length_);
}

PdfEncodedText::~PdfEncodedText() { delete[] data_; }

void PdfEncodedText::WriteValueToStream(PdfStreamBase* out, PdfEncryptor* encryptor) {
  if (encryptor)
    writeEncryptedHex(out, encryptor, data_, length_);
  else
    writeHex(out, data_, length_);
}

// --- PdfArray ---

PdfArray::~PdfArray() {
  Clear();
  delete items_;
}

void PdfArray::Clear() {
  if (!items_) return;
  for (int i = items_->Count() - 1; i >= 0; --i) delete static_cast<PdfObject*>(items_->ItemAt(i));
  items_->Clear();
}

void PdfArray::Add(PdfObject* object) {
  if (!object) return;
  Insert(object, GetCount());
}

void PdfArray::Insert(PdfObject* object, int index) {
  if (!object) return;
  if (!items_) items_ = new PdfList();
  if (items_->Count() >= kMaxItems || index < 0 || index > items_->Count()) {
    // An object some container owns is not ours to delete.
    if (!object->IsIndirect() && !object->IsOwned()) delete object;
    throw PdfException(PDF_ERR_INVALID, "ERROR: PdfArray::Add --number of items is over [%d].\n", kMaxItems);
  }
  PdfObject* item = object;
  if (object->IsIndirect()) item = new PdfReference(object);
  if (!items_->Insert(item, index)) {
    delete item;
    throw PdfException(PDF_ERR_LIST, "ERROR: PdfArray::Add");
  }
  if (item == object) object->SetObjectId(-1);
}

PdfObject* PdfArray::GetItem(int index) const {
  if (!items_) return nullptr;
  PdfObject* item = static_cast<PdfObject*>(items_->ItemAt(index));
  if (!item) return nullptr;
  switch (item->GetObjectClass()) {
    case ocDirect:
      return item;
    case ocReference:
      return xref_ ? xref_->GetObject(item->GetObjectId()) : nullptr;
    default:
      throw PdfException(PDF_ERR_RANGE, "ERROR: PdfArray::GetItem[%d] unknown object at[%X]", index,
                         static_cast<unsigned int>(reinterpret_cast<uintptr_t>(item)));
  }
}

bool PdfArray::GetItemAsInteger(int index, int* value) const {
  PdfObject* item = GetItem(index);
  if (!item) return false;
  if (item->GetType() == otNumber) {
    *value = static_cast<PdfNumber*>(item)->GetValue();
    return true;
  }
  if (item->GetType() == otReal) {
    *value = static_cast<int>(static_cast<PdfReal*>(item)->GetValue());
    return true;
  }
  return false;
}

double PdfArray::GetItemAsReal(int index) const {
  PdfObject* item = GetItem(index);
  if (!item) return 0;
  if (item->GetType() == otReal) return static_cast<PdfReal*>(item)->GetValue();
  if (item->GetType() == otNumber) return static_cast<PdfNumber*>(item)->GetValue();
  return 0;
}

void PdfArray::AddNumbers(int a, int b, int c, int d) {
  Add(new PdfNumber(a));
  Add(new PdfNumber(b));
  Add(new PdfNumber(c));
  Add(new PdfNumber(d));
}

void PdfArray::AddReals(double a, double b, double c, double d) {
  Add(new PdfReal(a));
  Add(new PdfReal(b));
  Add(new PdfReal(c));
  Add(new PdfReal(d));
}

void PdfArray::WriteValueToStream(PdfStreamBase* out, PdfEncryptor* encryptor) {
  *out << "[";
  for (int i = 0; i < GetCount(); ++i) {
    static_cast<PdfObject*>(items_->ItemAt(i))->WriteValueToStream(out, encryptor);
    if (encryptor) encryptor->Reset();
    *out << " ";
  }
  *out << "]";
}

// --- PdfDictionary ---

PdfDictionary::~PdfDictionary() {
  if (!elements_) return;
  for (int i = elements_->Count() - 1; i >= 0; --i) DeleteElement(static_cast<PdfDictElement*>(elements_->ItemAt(i)));
  delete elements_;
}

void PdfDictionary::DeleteElement(PdfDictElement* element) {
  delete element->key;
  delete element->value;
  delete element;
}

int PdfDictionary::FindElement(const char* key) const {
  if (!elements_ || !key) return -1;
  for (int i = 0; i < elements_->Count(); ++i) {
    PdfDictElement* e = static_cast<PdfDictElement*>(elements_->ItemAt(i));
    // Keys are stored cut to a name's length; a longer key is that name.
    if (std::strncmp(e->key->GetValue(), key, PdfName::kMaxLength) == 0) return i;
  }
  return -1;
}

void PdfDictionary::AddElement(const char* key, PdfObject* value) {
  if (!value) return;
  if (!elements_) elements_ = new PdfList();
  int existing = FindElement(key);
  // The very value already stored under this key: replacing it would delete
  // the object the caller still holds.
  if (existing >= 0 && static_cast<PdfDictElement*>(elements_->ItemAt(existing))->value == value) return;
  if (elements_->Count() >= kMaxElements) {
    // An object some container owns is not ours to delete.
    if (!value->IsIndirect() && !value->IsOwned()) delete value;
    throw PdfException(PDF_ERR_INVALID, "ERROR: PdfDictionary::AddElement --number of items is over [%d].\n",
                       kMaxElements);
  }
  // Asked before the old element goes, since the value may live inside it.
  const bool indirect = value->IsIndirect();
  const bool ownedElsewhere = !indirect && value->IsOwned();
  if (existing >= 0) DeleteElement(static_cast<PdfDictElement*>(elements_->Remove(existing)));

  PdfObject* stored;
  if (indirect) {
    stored = new PdfReference(value);
  } else {
    if (ownedElsewhere)
      throw PdfException(PDF_ERR_INVALID, "this object(id=%d) is owned by another object.", GetObjectId());
    stored = value;
  }
  PdfDictElement* element = new PdfDictElement{new PdfName(key), stored};
  if (!elements_->Add(element)) {
    DeleteElement(element);
    throw PdfException(PDF_ERR_DICT_GROW, "ERROR: PdfDictionary::AddElement");
  }
  if (stored == value) value->SetObjectId(-1);
}

PdfObject* PdfDictionary::GetRawValue(const char* key) const {
  int i = FindElement(key);
  return i < 0 ? nullptr : static_cast<PdfDictElement*>(elements_->ItemAt(i))->value;
}

PdfObject* PdfDictionary::GetValue(const char* key) const {
  PdfObject* value = GetRawValue(key);
  if (value && value->GetObjectClass() == ocReference) return xref_ ? xref_->GetObject(value->GetObjectId()) : nullptr;
  return value;
}

const char* PdfDictionary::GetNameValue(const char* key) const {
  PdfObject* value = GetValue(key);
  return (value && value->GetType() == otName) ? static_cast<PdfName*>(value)->GetValue() : nullptr;
}

const char* PdfDictionary::GetTextValue(const char* key) const {
  PdfObject* value = GetValue(key);
  return (value && value->GetType() == otText) ? static_cast<PdfText*>(value)->GetValue() : nullptr;
}

bool PdfDictionary::CheckTypeName(const char* typeName) const {
  const char* name = GetNameValue("Type");
  return name && typeName && std::strcmp(name, typeName) == 0;
}

void PdfDictionary::RemoveElement(const char* key) {
  int i = FindElement(key);
  if (i >= 0) RemoveElementAt(i);
}

void PdfDictionary::RemoveElementAt(int index) {
  if (!elements_) return;
  PdfDictElement* e = static_cast<PdfDictElement*>(elements_->Remove(index));
  if (e) DeleteElement(e);
}

const char* PdfDictionary::GetKeyAt(int index) const {
  PdfDictElement* e = GetElementAt(index);
  return e ? e->key->GetValue() : nullptr;
}

PdfDictElement* PdfDictionary::GetElementAt(int index) const {
  return elements_ ? static_cast<PdfDictElement*>(elements_->ItemAt(index)) : nullptr;
}

void PdfDictionary::WriteDictionary(PdfStreamBase* out, PdfEncryptor* encryptor) {
  *out << "<<\r\n";
  for (int i = 0; i < GetCount(); ++i) {
    PdfDictElement* e = static_cast<PdfDictElement*>(elements_->ItemAt(i));
    e->key->WriteValueToStream(out, nullptr);
    *out << " ";
    e->value->WriteValueToStream(out, encryptor);
    if (encryptor) encryptor->Reset();
    *out << "\r\n";
  }
  *out << ">>";
}

void PdfDictionary::WriteValueToStream(PdfStreamBase* out, PdfEncryptor* encryptor) {
  WriteDictionary(out, encryptor);
}

// --- PdfStream ---

PdfStream::~PdfStream() { delete stream_; }

PdfMemStream* PdfStream::GetStream() {
  if (!stream_) stream_ = new PdfMemStream(PdfMemStream::kDefaultChunkSize);
  return stream_;
}

void PdfStream::WriteValueToStream(PdfStreamBase* out, PdfEncryptor* encryptor) {
  if (!stream_ || stream_->Size() == 0) {
    RemoveElement("Length");
    RemoveElement("Filter");
    WriteDictionary(out, encryptor);
    return;
  }

  // The Length object must be numbered after the stream, so it is written
  // after the data whose size it records.
  PdfObject* length = GetValue("Length");
  PdfNumber* lengthNumber = nullptr;
  if (length && length->IsIndirect() && length->GetObjectId() > GetObjectId() && length->GetType() == otNumber) {
    lengthNumber = static_cast<PdfNumber*>(length);
  } else {
    RemoveElement("Length");
    lengthNumber = new PdfNumber(0);
    GetXref()->AddObject(lengthNumber);
    AddElement("Length", lengthNumber);
  }

  if (filter_) {
    PdfArray* filters = new PdfArray(GetXref());
    AddElement("Filter", filters);
    if (filter_ & PDF_FILTER_FLATE) filters->Add(new PdfName("FlateDecode"));
    if (filter_ & PDF_FILTER_DCT) filters->Add(new PdfName("DCTDecode"));
  } else {
    RemoveElement("Filter");
  }

  WriteDictionary(out, encryptor);
  *out << "\r\nstream\r\n";
  int written = (filter_ & PDF_FILTER_FLATE) ? stream_->DeflateTo(out, encryptor) : stream_->WriteTo(out, encryptor);
  *out << "endstream";
  lengthNumber->SetValue(written);
}
