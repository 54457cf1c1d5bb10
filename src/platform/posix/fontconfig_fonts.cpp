#include "platform/posix/fontconfig_fonts.h"

#include <dlfcn.h>
#include <fontconfig/fontconfig.h>

#include <memory>
#include <optional>

namespace quelo {
namespace {

// The library is loaded when the font list is first read: linked in, it and the font engine and
// image libraries it pulls in would load at the start of every run, a report's too.
#define QUELO_FONTCONFIG_FUNCTIONS(X)                                                             \
  X(FcConfigDestroy) X(FcFontList) X(FcFontSetDestroy) X(FcInitLoadConfigAndFonts)               \
  X(FcObjectSetBuild) X(FcObjectSetDestroy) X(FcPatternCreate) X(FcPatternDestroy)               \
  X(FcPatternGetString)

struct Fontconfig {
#define QUELO_FONTCONFIG_MEMBER(name) decltype(&::name) name = nullptr;
  QUELO_FONTCONFIG_FUNCTIONS(QUELO_FONTCONFIG_MEMBER)
#undef QUELO_FONTCONFIG_MEMBER
};

std::optional<Fontconfig> load() {
  void* library = ::dlopen("libfontconfig.so.1", RTLD_NOW | RTLD_LOCAL);
  if (!library) return std::nullopt;
  Fontconfig fc;
  // The library stays loaded for the rest of the process.
#define QUELO_FONTCONFIG_LOAD(name)                                                              \
  fc.name = reinterpret_cast<decltype(fc.name)>(::dlsym(library, #name));                        \
  if (!fc.name) return std::nullopt;
  QUELO_FONTCONFIG_FUNCTIONS(QUELO_FONTCONFIG_LOAD)
#undef QUELO_FONTCONFIG_LOAD
  return fc;
}

// The library, loaded once per process; null when it cannot be loaded.
const Fontconfig* fontconfig() {
  static const std::optional<Fontconfig> loaded = load();
  return loaded ? &*loaded : nullptr;
}

}  // namespace

std::vector<std::string> FontconfigFonts::families() {
  const Fontconfig* fc = fontconfig();
  if (!fc) return {};
  // A configuration of its own, so the font list is read afresh and nothing global is kept.
  std::unique_ptr<FcConfig, decltype(fc->FcConfigDestroy)> config(fc->FcInitLoadConfigAndFonts(),
                                                                  fc->FcConfigDestroy);
  if (!config) return {};
  std::unique_ptr<FcPattern, decltype(fc->FcPatternDestroy)> all(fc->FcPatternCreate(),
                                                                 fc->FcPatternDestroy);
  std::unique_ptr<FcObjectSet, decltype(fc->FcObjectSetDestroy)> wanted(
      fc->FcObjectSetBuild(FC_FAMILY, nullptr), fc->FcObjectSetDestroy);
  if (!all || !wanted) return {};
  std::unique_ptr<FcFontSet, decltype(fc->FcFontSetDestroy)> fonts(
      fc->FcFontList(config.get(), all.get(), wanted.get()), fc->FcFontSetDestroy);
  std::vector<std::string> names;
  if (!fonts) return names;
  for (int i = 0; i < fonts->nfont; ++i) {
    FcChar8* family = nullptr;
    if (fc->FcPatternGetString(fonts->fonts[i], FC_FAMILY, 0, &family) == FcResultMatch && family)
      names.emplace_back(reinterpret_cast<const char*>(family));
  }
  return names;
}

}  // namespace quelo
