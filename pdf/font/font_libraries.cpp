#include "pdf/font/font_libraries.h"

#include <dlfcn.h>

#include <string>

#include "pdf/pdf_exception.h"

namespace {

void* openLibrary(const char* soname) {
  void* handle = dlopen(soname, RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char* why = dlerror();
    throw PdfException(PDF_ERR_INVALID, "ERROR: cannot load %s (%s)", soname, why ? why : "not found");
  }
  return handle;
}

template <typename F>
void bind(void* handle, const char* soname, const char* name, F* slot) {
  void* symbol = dlsym(handle, name);
  if (!symbol) throw PdfException(PDF_ERR_INVALID, "ERROR: %s lacks %s", soname, name);
  *slot = reinterpret_cast<F>(symbol);
}

struct Loaded {
  FontLibraries libs;
  std::string error;  // set when loading failed; reported on every call
  Loaded() {
    try {
      const char* hb = "libharfbuzz.so.0";
      const char* subset = "libharfbuzz-subset.so.0";
      const char* bidi = "libfribidi.so.0";
      const char* fc = "libfontconfig.so.1";
      void* h = openLibrary(hb);
#define PV_BIND(name) bind(h, hb, #name, &libs.name);
      PV_HB_FUNCTIONS(PV_BIND)
#undef PV_BIND
      h = openLibrary(subset);
#define PV_BIND(name) bind(h, subset, #name, &libs.name);
      PV_HB_SUBSET_FUNCTIONS(PV_BIND)
#undef PV_BIND
      h = openLibrary(bidi);
#define PV_BIND(name) bind(h, bidi, #name, &libs.name);
      PV_FRIBIDI_FUNCTIONS(PV_BIND)
#undef PV_BIND
      h = openLibrary(fc);
#define PV_BIND(name) bind(h, fc, #name, &libs.name);
      PV_FONTCONFIG_FUNCTIONS(PV_BIND)
#undef PV_BIND
    } catch (const PdfException& e) {
      error = e.what();
    }
  }
};

}  // namespace

const FontLibraries& FontLibraries::Get() {
  // The handles stay open for the life of the process: the fonts made with
  // them live as long as the settings that name them.
  static Loaded loaded;
  if (!loaded.error.empty()) throw PdfException(PDF_ERR_INVALID, "%s", loaded.error.c_str());
  return loaded.libs;
}
