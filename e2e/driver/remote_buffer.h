// A block of memory inside another process, for the messages whose pointers user32 does not carry across
// processes (the common controls' messages): the pointer is valid in the target, which fills the block, and
// the driver reads it back.
#pragma once

#include <windows.h>

#include <cstddef>

#include "unique.h"

namespace e2e {

class RemoteBuffer {
public:
    // A block of `size` bytes in the process that owns `window`.
    RemoteBuffer(HWND window, std::size_t size);
    ~RemoteBuffer();
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    explicit operator bool() const { return address_ != nullptr; }
    // The block's address in the target process (meaningless here).
    void* Address() const { return address_; }
    // `offset` bytes into the block, as the target sees it.
    void* At(std::size_t offset) const { return static_cast<char*>(address_) + offset; }

    bool Write(std::size_t offset, const void* bytes, std::size_t count) const;
    bool Read(std::size_t offset, void* bytes, std::size_t count) const;

private:
    UniqueFile process_;
    void* address_ = nullptr;
    std::size_t size_ = 0;
};

}  // namespace e2e
