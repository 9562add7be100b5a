// The growable array of untyped pointers that every container of the PDF
// layer uses. Capacity grows by 20 entries at a time.
#pragma once

class PdfList {
 public:
  static const int kGrowBy = 20;

  PdfList() = default;
  ~PdfList();
  PdfList(const PdfList&) = delete;
  PdfList& operator=(const PdfList&) = delete;

  // Append and Insert report a failed allocation by returning false.
  bool Add(void* item);
  bool Insert(void* item, int index);  // index 0..Count()
  void* Remove(int index);             // nullptr when out of range
  int Find(const void* item) const;    // -1 when absent
  void* ItemAt(int index) const;       // nullptr when out of range
  void Clear() { count_ = 0; }         // keeps the storage
  int Count() const { return count_; }
  int Capacity() const { return capacity_; }

 private:
  bool Grow();

  void** items_ = nullptr;
  int count_ = 0;
  int capacity_ = 0;
};
