// HarfBuzz (shaping and subsetting), FriBidi and fontconfig, loaded only when
// a run embeds a font. The program is linked statically so that a chart run
// starts at the cost of a C program; these libraries exist only as shared
// objects, and linking them would make every run pay for loading them.
// Opening them on first use keeps that cost with the runs that need them.
#pragma once

#include <fontconfig/fontconfig.h>
#include <fribidi.h>
#include <hb-ot.h>
#include <hb-subset.h>
#include <hb.h>

#define PV_HB_FUNCTIONS(X)                     \
  X(hb_blob_create_from_file_or_fail)          \
  X(hb_blob_create_or_fail)                    \
  X(hb_blob_destroy)                           \
  X(hb_blob_get_data)                          \
  X(hb_blob_get_length)                        \
  X(hb_face_count)                             \
  X(hb_face_create)                            \
  X(hb_face_destroy)                           \
  X(hb_face_get_glyph_count)                   \
  X(hb_face_get_upem)                          \
  X(hb_face_reference_blob)                    \
  X(hb_face_reference_table)                   \
  X(hb_font_create)                            \
  X(hb_font_destroy)                           \
  X(hb_font_get_nominal_glyph)                 \
  X(hb_font_get_glyph_h_advance)               \
  X(hb_ot_metrics_get_position)                \
  X(hb_ot_name_get_utf8)                       \
  X(hb_style_get_value)                        \
  X(hb_buffer_create)                          \
  X(hb_buffer_destroy)                         \
  X(hb_buffer_add_utf32)                       \
  X(hb_buffer_set_direction)                   \
  X(hb_buffer_set_cluster_level)               \
  X(hb_buffer_guess_segment_properties)        \
  X(hb_buffer_allocation_successful)           \
  X(hb_buffer_get_glyph_infos)                 \
  X(hb_buffer_get_glyph_positions)             \
  X(hb_shape)                                  \
  X(hb_set_add)

#define PV_HB_SUBSET_FUNCTIONS(X)              \
  X(hb_subset_input_create_or_fail)            \
  X(hb_subset_input_destroy)                   \
  X(hb_subset_input_glyph_set)                 \
  X(hb_subset_input_set)                       \
  X(hb_subset_input_set_flags)                 \
  X(hb_subset_or_fail)

#define PV_FRIBIDI_FUNCTIONS(X)                \
  X(fribidi_get_bidi_types)                    \
  X(fribidi_get_bracket_types)                 \
  X(fribidi_get_par_embedding_levels_ex)

#define PV_FONTCONFIG_FUNCTIONS(X)             \
  X(FcInitLoadConfigAndFonts)                  \
  X(FcConfigDestroy)                           \
  X(FcNameParse)                               \
  X(FcConfigSubstitute)                        \
  X(FcDefaultSubstitute)                       \
  X(FcFontMatch)                               \
  X(FcPatternGetString)                        \
  X(FcPatternGetInteger)                       \
  X(FcPatternDestroy)

struct FontLibraries {
#define PV_DECLARE(name) decltype(&::name) name = nullptr;
  PV_HB_FUNCTIONS(PV_DECLARE)
  PV_HB_SUBSET_FUNCTIONS(PV_DECLARE)
  PV_FRIBIDI_FUNCTIONS(PV_DECLARE)
  PV_FONTCONFIG_FUNCTIONS(PV_DECLARE)
#undef PV_DECLARE

  // The libraries, opened on the first call; throws a PdfException that
  // names the library or function that is missing.
  static const FontLibraries& Get();
};
