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

namespace {

// The 60-byte image in field order.
struct FontFields {
    template <class Codec, class Font>
    static void Each(Codec& c, Font& f) {
        c.Field(f.height);
        c.Field(f.width);
        c.Field(f.escapement);
        c.Field(f.orientation);
        c.Field(f.weight);
        c.Field(f.italic);
        c.Field(f.underline);
        c.Field(f.strikeOut);
        c.Field(f.charSet);
        c.Field(f.outPrecision);
        c.Field(f.clipPrecision);
        c.Field(f.quality);
        c.Field(f.pitchAndFamily);
        c.Field(f.faceName);
    }
};

} // namespace

void EncodeFont(const FontDesc& f, std::uint8_t* image) {
    EncodeFields<FontFields>(f, image, kFontDescSize);
}

FontDesc DecodeFont(const std::uint8_t* image) {
    return DecodeFields<FontFields, FontDesc>(image, kFontDescSize);
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

} // namespace

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

FontDesc ReadOrCreateFontFile(const std::string& folder, const char* name,
                              const FontDesc& fallback) {
    FontDesc f;
    if (ReadFontFile(folder, name, f)) return f;
    WriteFontFile(folder, name, fallback);
    return fallback;
}

} // namespace lx
