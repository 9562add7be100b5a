// Objects that register themselves while being constructed: a refused
// registration must free the half-made object exactly once (a double free
// aborts this binary, and the sanitizer build names it).
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <new>

#include "pdf/pdf_doc.h"
#include "pdf/pdf_exception.h"
#include "pdf/pdf_info.h"
#include "pdf/pdf_objects.h"
#include "pdf/pdf_outline.h"
#include "pdf/pdf_xref.h"
#include "pdf/security/pdf_encrypt.h"

namespace {

// The object table's list grows by 20 pointers; with 20 entries the next
// registration asks for room for 40, and this size is refused while armed.
std::size_t refusedArraySize = 0;

void* allocateArray(std::size_t size) {
  if (refusedArraySize != 0 && size == refusedArraySize) {
    refusedArraySize = 0;
    return nullptr;
  }
  return std::malloc(size ? size : 1);
}

}  // namespace

// Array allocations of this binary go through malloc so that one can be
// refused on purpose; the four forms are replaced together to stay paired.
void* operator new[](std::size_t size) {
  void* p = allocateArray(size);
  if (!p) throw std::bad_alloc();
  return p;
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return allocateArray(size); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace {

TEST(SelfRegistration, RefusedRegistrationFreesTheObjectOnce) {
  const int full = PdfList::kGrowBy;
  struct Case {
    const char* name;
    std::function<void(PdfXref*, PdfOutlineRoot*)> construct;
  } cases[] = {
      {"catalog", [](PdfXref* x, PdfOutlineRoot*) { new PdfCatalog(x); }},
      {"information", [](PdfXref* x, PdfOutlineRoot*) { new PdfInfo(x); }},
      {"outline root", [](PdfXref* x, PdfOutlineRoot*) { new PdfOutlineRoot(x); }},
      {"outline item", [](PdfXref*, PdfOutlineRoot* root) { new PdfOutlineItem(root); }},
      {"encryption", [](PdfXref* x, PdfOutlineRoot*) { new PdfEncrypt(x, nullptr); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PdfXref xref(nullptr);
    PdfOutlineRoot* root = new PdfOutlineRoot(&xref);
    while (xref.GetCount() < full) xref.AddObject(new PdfNumber(0));
    refusedArraySize = 2 * full * sizeof(void*);
    int code = 0;
    try {
      c.construct(&xref, root);
    } catch (const PdfException& e) {
      code = e.GetCode();
    }
    refusedArraySize = 0;
    EXPECT_EQ(code, -1);
    EXPECT_EQ(xref.GetCount(), full);
    EXPECT_EQ(root->GetFirst(), nullptr);
    // The table still takes objects afterwards.
    EXPECT_EQ(xref.AddObject(new PdfNumber(1)), full);
  }
}

}  // namespace
