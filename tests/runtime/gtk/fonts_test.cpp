#include <gtest/gtest.h>
#include <pango/pangocairo.h>

#include "runtime/gtk/drawing.h"

namespace kesto::gtk {
namespace {

// The font the controls would be drawn with: the first of the families that is installed.
bool FirstFaceHasChinese(const ui::Font& font) {
  PangoFontMap* fonts = pango_cairo_font_map_get_default();
  PangoContext* context = pango_font_map_create_context(fonts);
  PangoFontDescription* wanted = pango_font_description_new();
  pango_font_description_set_family(wanted, FontFamilies(font).c_str());
  pango_font_description_set_absolute_size(wanted, FontPixels(font) * PANGO_SCALE);
  PangoFont* chosen = pango_font_map_load_font(fonts, context, wanted);
  bool covered = false;
  if (chosen) {
    PangoCoverage* coverage = pango_font_get_coverage(chosen, pango_language_from_string("zh-cn"));
    covered = pango_coverage_get(coverage, 0x52A0 /* 加 */) == PANGO_COVERAGE_EXACT;
    g_object_unref(coverage);
    g_object_unref(chosen);
  }
  pango_font_description_free(wanted);
  g_object_unref(context);
  return covered;
}

TEST(Fonts, MissingDesignedFaceGivesWayToAChineseFace) {
  EXPECT_TRUE(FirstFaceHasChinese({"微软雅黑", 14, true, false}));
  EXPECT_TRUE(FirstFaceHasChinese({"", 12, true, false})) << "the default face";
  EXPECT_EQ(FontPixels({"", 0, false, false}), 12) << "controls without a font of their own";
  EXPECT_EQ(FontPixels({"微软雅黑", 19, false, false}), 19);
}

}  // namespace
}  // namespace kesto::gtk
