#pragma once
// The fuzz targets' reader of their input from the front: single octets and
// texts ended by octet 0x00, in which "$" stands for the subfield delimiter.
#include <cstddef>
#include <cstdint>
#include <string>

class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool More() const { return pos_ < size_; }
    uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    // A text of at most `most` octets, up to and past the next octet 0x00.
    std::string Text(size_t most = 512) {
        std::string text;
        while (pos_ < size_ && data_[pos_] != 0 && text.size() < most) {
            const char c = static_cast<char>(data_[pos_++]);
            text += c == '$' ? '\x1F' : c;
        }
        if (pos_ < size_ && data_[pos_] == 0) ++pos_;
        return text;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};
