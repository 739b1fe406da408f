#pragma once
// SlotTable: the array behind the record's field table and each field's
// subfield table. It reads like a std::vector of its entries (size, index,
// resize, iteration), but an entry that a shrink or a clear takes out of use
// is kept with its allocations, and made new (the entry's Recycle, which
// leaves it as a default-made entry with its string capacity kept) when a
// later growth takes it into use again. So a table emptied by a load and
// filled by the next reuses the memory of the last one, and the storage grows
// geometrically behind the slot counts that the record keeps.

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

template <class Entry>
class SlotTable {
public:
    SlotTable() = default;
    explicit SlotTable(size_t n) : items_(n), size_(n) {}
    SlotTable(const SlotTable& other) : items_(other.begin(), other.end()), size_(other.size_) {}
    SlotTable& operator=(const SlotTable& other) {
        if (this != &other) {
            resize(other.size_);
            std::copy(other.begin(), other.end(), begin());
        }
        return *this;
    }
    SlotTable(SlotTable&& other) noexcept : items_(std::move(other.items_)), size_(other.size_) { other.size_ = 0; }
    SlotTable& operator=(SlotTable&& other) noexcept {
        items_ = std::move(other.items_);
        size_ = other.size_;
        other.size_ = 0;
        return *this;
    }

    size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    Entry& operator[](size_t i) { return items_[i]; }
    const Entry& operator[](size_t i) const { return items_[i]; }
    Entry* begin() { return items_.data(); }
    Entry* end() { return items_.data() + size_; }
    const Entry* begin() const { return items_.data(); }
    const Entry* end() const { return items_.data() + size_; }

    // Entries taken into use are default entries; entries taken out of use
    // keep their memory for later.
    void resize(size_t n) {
        const size_t kept = std::min(n, items_.size());
        for (size_t i = size_; i < kept; ++i) items_[i].Recycle();
        if (n > items_.size()) items_.resize(std::max(n, items_.size() * 2));
        size_ = n;
    }
    void clear() { size_ = 0; }
    // Takes entries into use as they are: for a caller that makes every one
    // of them new itself before it is read.
    void resize_as_they_are(size_t n) {
        if (n > items_.size()) items_.resize(std::max(n, items_.size() * 2));
        size_ = n;
    }

private:
    std::vector<Entry> items_;
    size_t size_ = 0;
};
