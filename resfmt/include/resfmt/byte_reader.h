// Bounded little-endian reading of binary resource data (.res files, dialog
// templates). Every read checks the bounds first; a read past the end throws
// ParseError naming the field and the offset, so no caller can overrun.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>

namespace resfmt {

struct ParseError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// UTF-16 (as Windows resources store text) to UTF-8; a lone surrogate becomes U+FFFD.
inline std::string utf8_from_utf16(const std::u16string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::uint32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000)
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        else if (c >= 0xD800 && c < 0xE000)
            c = 0xFFFD;
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | c >> 6);
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | c >> 12);
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | c >> 18);
            out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

class ByteReader {
public:
    // Reads [data, data + size), which must outlive the reader. `what` names
    // the data in error messages ("Mervex.res", "dialog template").
    ByteReader(const std::uint8_t* data, std::size_t size, std::string what)
        : data_(data), size_(size), what_(std::move(what)) {}

    std::size_t offset() const { return offset_; }
    std::size_t remaining() const { return size_ - offset_; }
    bool at_end() const { return offset_ == size_; }

    std::uint16_t u16(const char* field)
    {
        const std::uint8_t* p = take(2, field);
        return static_cast<std::uint16_t>(p[0] | p[1] << 8);
    }
    std::uint32_t u32(const char* field)
    {
        const std::uint8_t* p = take(4, field);
        return p[0] | p[1] << 8 | p[2] << 16 | std::uint32_t(p[3]) << 24;
    }
    std::int16_t i16(const char* field) { return static_cast<std::int16_t>(u16(field)); }

    // A zero-terminated UTF-16 string, the terminator consumed.
    std::u16string text(const char* field)
    {
        std::u16string out;
        while (char16_t c = u16(field)) out.push_back(c);
        return out;
    }

    // `n` bytes, or ParseError when fewer remain.
    const std::uint8_t* take(std::size_t n, const char* field)
    {
        if (n > remaining())
            fail(std::string(field) + " needs " + std::to_string(n) + " bytes, " + std::to_string(remaining()) +
                 " left");
        const std::uint8_t* p = data_ + offset_;
        offset_ += n;
        return p;
    }

    // Skips padding to the next multiple of `n` from the start; padding cut
    // off by the end of the data is accepted, as compilers may omit it there.
    void align(std::size_t n)
    {
        const std::size_t target = (offset_ + n - 1) / n * n;
        offset_ = target < size_ ? target : size_;
    }

    [[noreturn]] void fail(const std::string& message) const
    {
        throw ParseError(what_ + ", offset " + std::to_string(offset_) + ": " + message);
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t offset_ = 0;
    std::string what_;
};

}  // namespace resfmt
