#include "common/settings/font_desc.h"

#include <cstring>

#include "common/settings/file_io.h"
#include "common/settings/fixed_text.h"
#include "common/settings/install_path.h"
#include "common/settings/le_codec.h"

namespace lx {

bool operator==(const FontDesc& a, const FontDesc& b) {
  std::uint8_t ia[kFontDescSize], ib[kFontDescSize];
  EncodeFont(a, ia);
  EncodeFont(b, ib);
  return std::memcmp(ia, ib, kFontDescSize) == 0;
}

void EncodeFont(const FontDesc& f, std::uint8_t* image) {
  LeWriter w(image, kFontDescSize);
  w.I32(f.height);
  w.I32(f.width);
  w.I32(f.escapement);
  w.I32(f.orientation);
  w.I32(f.weight);
  w.U8(f.italic);
  w.U8(f.underline);
  w.U8(f.strikeOut);
  w.U8(f.charSet);
  w.U8(f.outPrecision);
  w.U8(f.clipPrecision);
  w.U8(f.quality);
  w.U8(f.pitchAndFamily);
  w.Text(f.faceName, sizeof f.faceName);
}

FontDesc DecodeFont(const std::uint8_t* image) {
  FontDesc f;
  LeReader r(image, kFontDescSize);
  f.height = r.I32();
  f.width = r.I32();
  f.escapement = r.I32();
  f.orientation = r.I32();
  f.weight = r.I32();
  f.italic = r.U8();
  f.underline = r.U8();
  f.strikeOut = r.U8();
  f.charSet = r.U8();
  f.outPrecision = r.U8();
  f.clipPrecision = r.U8();
  f.quality = r.U8();
  f.pitchAndFamily = r.U8();
  r.Text(f.faceName, sizeof f.faceName);
  return f;
}

std::int32_t FontHeightForPoints(int points) {
  // Round half away from zero in integers: points * 100 / 72.
  return -static_cast<std::int32_t>((points * 100 + 36) / 72);
}

namespace {

struct MessageFontDefaults {
  const char* file;
  int points;
  std::int32_t weight;
  bool underline;
};

const MessageFontDefaults& DefaultsOf(MessageFont which) {
  static const MessageFontDefaults kDefaults[kMessageFontCount] = {
      {"HeadFont.Ink", 14, 700, true},
      {"TagsFont.Ink", 12, 700, true},
      {"TextFont.Ink", 10, 400, false},
      {"FootFont.Ink", 8, 700, false},
  };
  int i = static_cast<int>(which);
  if (i < 0 || i >= kMessageFontCount) i = static_cast<int>(MessageFont::Text);
  return kDefaults[i];
}

}  // namespace

const char* MessageFontFile(MessageFont which) { return DefaultsOf(which).file; }

FontDesc DefaultMessageFont(MessageFont which) {
  const MessageFontDefaults& d = DefaultsOf(which);
  FontDesc f;
  f.height = FontHeightForPoints(d.points);
  f.weight = d.weight;
  f.underline = d.underline ? 1 : 0;
  f.charSet = kDefaultCharset;
  f.outPrecision = kOutStrokePrecision;
  f.clipPrecision = kClipCharacterPrecision;
  f.quality = kDefaultQuality;
  f.pitchAndFamily = kDefaultPitch;
  CopyText(f.faceName, "Times New Roman");
  return f;
}

FontDesc DefaultPaneFont() {
  FontDesc f;
  f.height = -14;
  f.weight = 400;
  f.charSet = kDefaultCharset;
  CopyText(f.faceName, "Arial");
  return f;
}

bool ReadFontFile(const std::string& folder, const char* name, FontDesc& f) {
  std::uint8_t image[kFontDescSize] = {};
  long got = ReadFilePrefix(InstallFile(folder, name), image, sizeof image);
  f = DecodeFont(image);
  return got >= 0;
}

bool WriteFontFile(const std::string& folder, const char* name, const FontDesc& f) {
  std::uint8_t image[kFontDescSize];
  EncodeFont(f, image);
  return WriteFileBytes(InstallFile(folder, name), image, sizeof image);
}

FontDesc ReadOrCreateFontFile(const std::string& folder, const char* name, const FontDesc& fallback) {
  FontDesc f;
  if (ReadFontFile(folder, name, f)) return f;
  WriteFontFile(folder, name, fallback);
  return fallback;
}

}  // namespace lx
