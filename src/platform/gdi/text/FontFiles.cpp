#include "platform/gdi/text/FontFiles.h"

#include <fontconfig/fontconfig.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <memory>
#include <tuple>

#include "platform/gdi/text/FontTypes.h"
#include "platform/kernel/Codepage.h"

namespace platform::text {
namespace {

struct StandIn {
  const char* face;      // the name the program asks for
  const char* family;    // the stand-in's family, asked of fontconfig when its files are missing
  const char* files[4];  // regular, bold, italic, bold italic
  FaceFamily kind;
};

// Liberation 2 has the metrics of the three classic faces. Fixedsys, a bitmap face of fixed size on the
// original system, is served by an outline monospaced face that scales with the size asked for.
constexpr StandIn kStandIns[] = {
    {"Arial", "Liberation Sans",
     {"/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf",
      "/usr/share/fonts/truetype/liberation2/LiberationSans-Bold.ttf",
      "/usr/share/fonts/truetype/liberation2/LiberationSans-Italic.ttf",
      "/usr/share/fonts/truetype/liberation2/LiberationSans-BoldItalic.ttf"},
     FaceFamily::Swiss},
    {"Courier New", "Liberation Mono",
     {"/usr/share/fonts/truetype/liberation2/LiberationMono-Regular.ttf",
      "/usr/share/fonts/truetype/liberation2/LiberationMono-Bold.ttf",
      "/usr/share/fonts/truetype/liberation2/LiberationMono-Italic.ttf",
      "/usr/share/fonts/truetype/liberation2/LiberationMono-BoldItalic.ttf"},
     FaceFamily::Modern},
    {"Fixedsys", "DejaVu Sans Mono",
     {"/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf",
      "/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf",
      "/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Oblique.ttf",
      "/usr/share/fonts/truetype/dejavu/DejaVuSansMono-BoldOblique.ttf"},
     FaceFamily::Modern},
    {"Times New Roman", "Liberation Serif",
     {"/usr/share/fonts/truetype/liberation2/LiberationSerif-Regular.ttf",
      "/usr/share/fonts/truetype/liberation2/LiberationSerif-Bold.ttf",
      "/usr/share/fonts/truetype/liberation2/LiberationSerif-Italic.ttf",
      "/usr/share/fonts/truetype/liberation2/LiberationSerif-BoldItalic.ttf"},
     FaceFamily::Roman},
};
// What an unknown or empty name gets when fontconfig has nothing either: the default text face.
constexpr const StandIn& kDefaultStandIn = kStandIns[3];

bool SameName(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
  });
}

const StandIn* FindStandIn(std::string_view face) {
  for (const StandIn& s : kStandIns)
    if (SameName(face, s.face)) return &s;
  return nullptr;
}

bool Readable(const char* path) { return access(path, R_OK) == 0; }

// Given back at exit, so that leak checks see only the program's own leaks.
FcConfig* Config() {
  static const std::unique_ptr<FcConfig, decltype(&FcConfigDestroy)> config(FcInitLoadConfigAndFonts(),
                                                                            &FcConfigDestroy);
  return config.get();
}

// fontconfig's best match for a family (UTF-8) in a weight and slant; empty path when it has none.
FaceSource MatchFamily(const std::string& family, bool bold, bool italic) {
  FaceSource source;
  FcConfig* config = Config();
  if (!config) return source;
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(config, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(config, pattern, &result);
  FcPatternDestroy(pattern);
  if (!match) return source;
  FcChar8* file = nullptr;
  int index = 0, weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN, spacing = FC_PROPORTIONAL;
  // fontconfig always answers something; a family it does not have gets the default face (the caller's
  // fallback) rather than whatever it ranks first, as the system's font mapper would.
  bool sameFamily = false;
  FcChar8* matched = nullptr;
  for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &matched) == FcResultMatch; ++i)
    if (matched && SameName(reinterpret_cast<const char*>(matched), family)) sameFamily = true;
  if (sameFamily && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file) {
    source.path = reinterpret_cast<const char*>(file);
    FcPatternGetInteger(match, FC_INDEX, 0, &index);
    FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
    FcPatternGetInteger(match, FC_SLANT, 0, &slant);
    FcPatternGetInteger(match, FC_SPACING, 0, &spacing);
    source.index = index;
    source.emboldenAsked = bold && weight < FC_WEIGHT_DEMIBOLD;
    source.slantAsked = italic && slant == FC_SLANT_ROMAN;
    source.family = spacing == FC_MONO ? FaceFamily::Modern : FaceFamily::DontCare;
  }
  FcPatternDestroy(match);
  return source;
}

FaceSource StandInFace(const StandIn& s, bool bold, bool italic) {
  const char* path = s.files[(bold ? 1 : 0) + (italic ? 2 : 0)];
  if (Readable(path)) return {path, 0, false, false, s.kind};
  FaceSource source = MatchFamily(s.family, bold, italic);
  if (!source.path.empty()) source.family = s.kind;
  return source;
}

}  // namespace

FaceSource FindFace(std::string_view faceName, bool bold, bool italic) {
  // fontconfig answers slowly compared with drawing, and styles rebuild their fonts on every change.
  static std::map<std::tuple<std::string, bool, bool>, FaceSource> cache;
  std::string lowered(faceName);
  for (char& c : lowered) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const auto key = std::make_tuple(lowered, bold, italic);
  if (auto it = cache.find(key); it != cache.end()) return it->second;

  FaceSource source;
  if (const StandIn* s = FindStandIn(faceName)) source = StandInFace(*s, bold, italic);
  if (source.path.empty() && !faceName.empty()) {
    source = MatchFamily(Cp1252ToUtf8(faceName), bold, italic);
  }
  if (source.path.empty()) source = StandInFace(kDefaultStandIn, bold, italic);
  cache.emplace(key, source);
  return source;
}

std::vector<std::string> FontFamilies() {
  std::vector<std::string> names;
  for (const StandIn& s : kStandIns) names.emplace_back(s.face);
  FcConfig* config = Config();
  if (!config) return names;
  FcPattern* pattern = FcPatternBuild(nullptr, FC_SCALABLE, FcTypeBool, FcTrue, nullptr);
  FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, FC_CHARSET, nullptr);
  FcFontSet* set = FcFontList(config, pattern, objects);
  FcObjectSetDestroy(objects);
  FcPatternDestroy(pattern);
  if (!set) return names;
  for (int i = 0; i < set->nfont; ++i) {
    FcChar8* family = nullptr;
    FcCharSet* charset = nullptr;
    if (FcPatternGetString(set->fonts[i], FC_FAMILY, 0, &family) != FcResultMatch || !family) continue;
    if (FcPatternGetCharSet(set->fonts[i], FC_CHARSET, 0, &charset) != FcResultMatch ||
        !FcCharSetHasChar(charset, 0xE9) || !FcCharSetHasChar(charset, 0xE0))
      continue;
    const std::string utf8 = reinterpret_cast<const char*>(family);
    const std::string name = Utf8ToCp1252(utf8);
    if (Cp1252ToUtf8(name) != utf8 || name.size() > static_cast<std::size_t>(LF_FACESIZE - 1)) continue;
    if (std::none_of(names.begin(), names.end(), [&](const std::string& n) { return SameName(n, name); }))
      names.push_back(name);
  }
  FcFontSetDestroy(set);
  return names;
}

}  // namespace platform::text
