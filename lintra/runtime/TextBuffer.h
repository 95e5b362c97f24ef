#pragma once
// A fixed-capacity character buffer that never allocates: appends past the capacity are
// dropped and remembered, so a caller can tell a record was cut.
#include <cstddef>
#include <string_view>

namespace lintra {

template <size_t Capacity>
class TextBuffer {
public:
    void push_back(char c) {
        if (size_ < Capacity) data_[size_++] = c;
        else overflow_ = true;
    }
    void append(std::string_view text) {
        size_t room = Capacity - size_;
        size_t n = text.size() <= room ? text.size() : room;
        for (size_t i = 0; i < n; ++i) data_[size_ + i] = text[i];
        size_ += n;
        if (n < text.size()) overflow_ = true;
    }
    // Appends value in decimal with at least minDigits digits (zero-padded).
    void appendDecimal(long long value, int minDigits = 1) {
        char digits[24];
        int n = 0;
        unsigned long long v = value < 0 ? 0ULL - static_cast<unsigned long long>(value) : value;
        do {
            digits[n++] = static_cast<char>('0' + v % 10);
            v /= 10;
        } while (v != 0);
        while (n < minDigits) digits[n++] = '0';
        if (value < 0) push_back('-');
        while (n > 0) push_back(digits[--n]);
    }
    // Appends value in hex (lower or upper case), right-aligned in width columns with pad.
    void appendHex(unsigned long long value, int width, char pad, bool upper) {
        const char *set = upper ? "0123456789ABCDEF" : "0123456789abcdef";
        char digits[20];
        int n = 0;
        do {
            digits[n++] = set[value & 0x0F];
            value >>= 4;
        } while (value != 0);
        for (int i = n; i < width; ++i) push_back(pad);
        while (n > 0) push_back(digits[--n]);
    }
    void resize(size_t size) { size_ = size < Capacity ? size : Capacity; }
    void clear() {
        size_ = 0;
        overflow_ = false;
    }
    size_t size() const { return size_; }
    char *data() { return data_; }
    bool overflow() const { return overflow_; }
    std::string_view view() const { return {data_, size_}; }
    static constexpr size_t capacity() { return Capacity; }

private:
    char data_[Capacity];
    size_t size_ = 0;
    bool overflow_ = false;
};

}  // namespace lintra
