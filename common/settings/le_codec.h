// Sequential little-endian codecs over a fixed-size byte image. Every settings record is read and
// written field by field through these, so the layout never depends on the compiler's struct packing.
#pragma once

#include <cstddef>
#include <cstdint>

namespace lx {

class LeReader {
public:
    LeReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::int16_t I16();
    std::int32_t I32();
    std::uint8_t U8();
    // Copies an n-byte text field into out (n bytes) and forces a NUL into its last byte.
    void Text(char* out, std::size_t n);
    // Copies n raw bytes.
    void Bytes(std::uint8_t* out, std::size_t n);
    void Skip(std::size_t n);
    // Field-by-field forms matching LeWriter's, so one field list serves reading and writing.
    void Field(std::int32_t& v) { v = I32(); }
    void Field(std::uint8_t& v) { v = U8(); }
    template <std::size_t N>
    void Field(char (&text)[N]) {
        Text(text, N);
    }
    template <std::size_t N>
    void Field(std::uint8_t (&bytes)[N]) {
        Bytes(bytes, N);
    }
    template <std::size_t N, std::size_t M>
    void Field(char (&texts)[N][M]) {
        for (auto& text : texts) Field(text);
    }
    // Reserved bytes: passed over when reading, zeros when writing.
    void Pad(std::size_t n) { Skip(n); }

    std::size_t Offset() const { return pos_; }

private:
    const std::uint8_t* Take(std::size_t n);

    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

class LeWriter {
public:
    LeWriter(std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    void I16(std::int16_t v);
    void I32(std::int32_t v);
    void U8(std::uint8_t v);
    // Writes an n-byte text field: the text up to its NUL (at most n-1 characters), then zeros.
    void Text(const char* field, std::size_t n);
    void Bytes(const std::uint8_t* in, std::size_t n);
    void Zeros(std::size_t n);
    void Field(std::int32_t v) { I32(v); }
    void Field(std::uint8_t v) { U8(v); }
    template <std::size_t N>
    void Field(const char (&text)[N]) {
        Text(text, N);
    }
    template <std::size_t N>
    void Field(const std::uint8_t (&bytes)[N]) {
        Bytes(bytes, N);
    }
    template <std::size_t N, std::size_t M>
    void Field(const char (&texts)[N][M]) {
        for (const auto& text : texts) Field(text);
    }
    void Pad(std::size_t n) { Zeros(n); }

    std::size_t Offset() const { return pos_; }

private:
    std::uint8_t* Take(std::size_t n);

    std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

// A record's image of `size` bytes through its one field list: `Fields` is a type with
// `template <class Codec, class Rec> static void Each(Codec&, Rec&)` naming the fields in order
// (Rec is const when writing), so reading and writing can never disagree on the layout.
template <class Fields, class Rec>
void EncodeFields(const Rec& rec, std::uint8_t* image, std::size_t size) {
    LeWriter w(image, size);
    Fields::Each(w, rec);
}
template <class Fields, class Rec>
Rec DecodeFields(const std::uint8_t* image, std::size_t size) {
    Rec rec;
    LeReader r(image, size);
    Fields::Each(r, rec);
    return rec;
}

// Single-value helpers for code that patches one field of an image.
std::int16_t GetI16(const std::uint8_t* p);
std::int32_t GetI32(const std::uint8_t* p);
void PutI16(std::uint8_t* p, std::int16_t v);
void PutI32(std::uint8_t* p, std::int32_t v);

} // namespace lx
