#include "platform/posix/fontconfig_fonts.h"

#include <fontconfig/fontconfig.h>

#include <memory>

namespace quelo {
namespace {

struct ConfigDestroyer {
  void operator()(FcConfig* c) const { FcConfigDestroy(c); }
};
struct PatternDestroyer {
  void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
struct ObjectSetDestroyer {
  void operator()(FcObjectSet* o) const { FcObjectSetDestroy(o); }
};
struct FontSetDestroyer {
  void operator()(FcFontSet* f) const { FcFontSetDestroy(f); }
};

}  // namespace

std::vector<std::string> FontconfigFonts::families() {
  // A configuration of its own, so the font list is read afresh and nothing global is kept.
  std::unique_ptr<FcConfig, ConfigDestroyer> config(FcInitLoadConfigAndFonts());
  if (!config) return {};
  std::unique_ptr<FcPattern, PatternDestroyer> all(FcPatternCreate());
  std::unique_ptr<FcObjectSet, ObjectSetDestroyer> wanted(FcObjectSetBuild(FC_FAMILY, nullptr));
  if (!all || !wanted) return {};
  std::unique_ptr<FcFontSet, FontSetDestroyer> fonts(FcFontList(config.get(), all.get(), wanted.get()));
  std::vector<std::string> names;
  if (!fonts) return names;
  for (int i = 0; i < fonts->nfont; ++i) {
    FcChar8* family = nullptr;
    if (FcPatternGetString(fonts->fonts[i], FC_FAMILY, 0, &family) == FcResultMatch && family)
      names.emplace_back(reinterpret_cast<const char*>(family));
  }
  return names;
}

}  // namespace quelo
