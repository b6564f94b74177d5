// Font files (60 bytes each): a font description in the 8-bit-character LOGFONT form.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace lx {

constexpr std::size_t kFontDescSize = 60;

// Values of the Windows constants used by the default fonts.
constexpr std::uint8_t kDefaultCharset = 1;         // DEFAULT_CHARSET
constexpr std::uint8_t kOutStrokePrecision = 3;     // OUT_STROKE_PRECIS
constexpr std::uint8_t kClipCharacterPrecision = 1; // CLIP_CHARACTER_PRECIS
constexpr std::uint8_t kDefaultQuality = 0;         // DEFAULT_QUALITY
constexpr std::uint8_t kDefaultPitch = 0;           // DEFAULT_PITCH | FF_DONTCARE

// Field for field the same as LOGFONTA, so the shell can copy it into one.
struct FontDesc {
    std::int32_t height = 0;
    std::int32_t width = 0;
    std::int32_t escapement = 0;
    std::int32_t orientation = 0;
    std::int32_t weight = 0;
    std::uint8_t italic = 0;
    std::uint8_t underline = 0;
    std::uint8_t strikeOut = 0;
    std::uint8_t charSet = 0;
    std::uint8_t outPrecision = 0;
    std::uint8_t clipPrecision = 0;
    std::uint8_t quality = 0;
    std::uint8_t pitchAndFamily = 0;
    char faceName[32] = {};
};

bool operator==(const FontDesc& a, const FontDesc& b);
inline bool operator!=(const FontDesc& a, const FontDesc& b) { return !(a == b); }

// image must hold kFontDescSize bytes.
void EncodeFont(const FontDesc& f, std::uint8_t* image);
FontDesc DecodeFont(const std::uint8_t* image);

// The message font set (printing and the viewer's page) and their files.
enum class MessageFont { Head, Tags, Text, Foot };
constexpr int kMessageFontCount = 4;
const char* MessageFontFile(MessageFont which);
FontDesc DefaultMessageFont(MessageFont which);

// Pane font files; they default to DefaultPaneFont() when missing.
constexpr char kFolderPaneFontFile[] = "FLDERFNT.INK";
constexpr char kMessageListFontFile[] = "MESSGFNT.INK";
constexpr char kComposerFontFile[] = "PREPMSG.INK";
constexpr char kSimpleViewFontFile[] = "SimpleVw.Ink";
FontDesc DefaultPaneFont();

// Height of a font of this many points at the fixed scale of 100 pixels per inch.
std::int32_t FontHeightForPoints(int points);

// Clears the description, then reads what the file holds; false when the file does not exist.
bool ReadFontFile(const std::string& folder, const char* name, FontDesc& f);
// Creates or replaces the file.
bool WriteFontFile(const std::string& folder, const char* name, const FontDesc& f);

// The description in the file, or else the default, written to a new file of that name.
FontDesc ReadOrCreateFontFile(const std::string& folder, const char* name,
                              const FontDesc& fallback);

} // namespace lx
