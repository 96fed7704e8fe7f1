#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

// A byte per place of a list, for the marks a pass writes and only later passes of the same
// search read: a copy takes the room but not the bytes, which nobody would read.
class ScratchBytes {
   public:
    ScratchBytes() = default;
    ScratchBytes(const ScratchBytes& other) : bytes_(fresh(other.size_)), size_(other.size_) {}
    ScratchBytes& operator=(const ScratchBytes& other) {
        if (this != &other) *this = ScratchBytes(other);
        return *this;
    }
    ScratchBytes(ScratchBytes&&) noexcept = default;
    ScratchBytes& operator=(ScratchBytes&&) noexcept = default;

    // Room for size bytes, all 0; throws std::bad_alloc.
    void assign(std::size_t size) {
        bytes_.reset(new std::uint8_t[size]());
        size_ = size;
    }
    void release() {
        bytes_.reset();
        size_ = 0;
    }
    std::uint8_t* data() { return bytes_.get(); }
    const std::uint8_t* data() const { return bytes_.get(); }
    std::uint8_t& operator[](std::size_t place) { return bytes_[place]; }
    std::uint8_t operator[](std::size_t place) const { return bytes_[place]; }

   private:
    static std::unique_ptr<std::uint8_t[]> fresh(std::size_t size) {
        return size == 0 ? nullptr : std::unique_ptr<std::uint8_t[]>(new std::uint8_t[size]);
    }

    std::unique_ptr<std::uint8_t[]> bytes_;
    std::size_t size_ = 0;
};
