#include "pdf/pdf_list.h"

#include <cstring>
#include <new>

PdfList::~PdfList() { delete[] items_; }

bool PdfList::Grow() {
  void** bigger = new (std::nothrow) void*[capacity_ + kGrowBy];
  if (!bigger) return false;
  if (count_ > 0) std::memcpy(bigger, items_, sizeof(void*) * count_);
  delete[] items_;
  items_ = bigger;
  capacity_ += kGrowBy;
  return true;
}

bool PdfList::Add(void* item) { return Insert(item, count_); }

bool PdfList::Insert(void* item, int index) {
  if (index < 0 || index > count_) return false;
  if (count_ == capacity_ && !Grow()) return false;
  if (index < count_) std::memmove(items_ + index + 1, items_ + index, sizeof(void*) * (count_ - index));
  items_[index] = item;
  ++count_;
  return true;
}

void* PdfList::Remove(int index) {
  if (index < 0 || index >= count_) return nullptr;
  void* item = items_[index];
  if (index < count_ - 1) std::memmove(items_ + index, items_ + index + 1, sizeof(void*) * (count_ - index - 1));
  --count_;
  return item;
}

int PdfList::Find(const void* item) const {
  for (int i = 0; i < count_; ++i)
    if (items_[i] == item) return i;
  return -1;
}

void* PdfList::ItemAt(int index) const {
  if (index < 0 || index >= count_) return nullptr;
  return items_[index];
}
