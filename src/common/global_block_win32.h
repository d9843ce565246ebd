// A movable global memory block written from its start: a filter's result
// is put together in place, in the block that the host receives.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "common/messages.h"
#include "common/tuvex_types.h"
#include "common/win32_resource.h"

namespace tuvex {

// Has the shape of ByteBuffer where bytes are appended (size, capacity, resize, data),
// so the exchange reads into it as into any buffer. The block stays locked
// while it is written and is unlocked whenever it may move.
class GrowingGlobalBlock {
public:
    std::size_t size() const noexcept { return size_; }
    std::size_t capacity() const noexcept { return capacity_; }
    char* data() noexcept { return data_; }
    const char* data() const noexcept { return data_; }

    // Sets the size; the bytes kept keep their values, new ones are not
    // initialised. Room grows geometrically, so appending n bytes costs O(n)
    // in all, and always a little beyond the size: growing moves the block (a
    // copy of it, with both copies in memory for a moment), so a last few
    // bytes must not. data() may change.
    void resize(std::size_t size)
    {
        if (size > capacity_) {
            Grow(size);
        }
        size_ = size;
    }

    // Makes room for `capacity` bytes in all, if there is room to be had: a
    // hint that spares moves later, never a failure.
    void reserve(std::size_t capacity)
    {
        if (capacity > capacity_) {
            Relocate(capacity);
        }
    }

    // The block trimmed to its size and unlocked, for the host; null when
    // nothing was written.
    UniqueGlobal Release()
    {
        if (size_ == 0) {
            return UniqueGlobal();
        }
        // A block trimmed in place may keep its room for as long as the host
        // keeps the block; content much smaller than its room moves to a
        // block of its own size instead, which costs little since it is small.
        if (size_ <= capacity_ / 4) {
            GrowingGlobalBlock fitting;
            fitting.reserve(size_);
            fitting.resize(size_);
            std::memcpy(fitting.data(), data_, size_);
            return fitting.Release();
        }
        if (size_ < capacity_ && !Relocate(size_)) {
            RaiseMemoryFailure();
        }
        lock_.reset();
        data_ = nullptr;
        size_ = capacity_ = 0;
        return std::move(block_);
    }

private:
    static constexpr std::size_t kMinRoom = 64 * 1024;

    [[noreturn]] static void RaiseMemoryFailure()
    {
        throw MemoryFailure(MessageWithCode(messages::kMemoryFailed, static_cast<std::uint32_t>(GetLastError())));
    }

    // Room for `size` bytes: the block grows by its own size or, where that
    // much cannot be had, by a half, a quarter or an eighth of it, and never
    // by less. A block that grew by only what each read needs would be
    // copied whole for each read: a flood of output would take minutes to
    // fail instead of seconds.
    void Grow(std::size_t size)
    {
        const std::size_t roomy = size > SIZE_MAX - kMinRoom ? size : size + kMinRoom;
        for (std::size_t step = capacity_;; step /= 2) {
            const std::size_t grown = capacity_ > SIZE_MAX - step ? SIZE_MAX : capacity_ + step;
            if (Relocate(std::max(roomy, grown))) {
                return;
            }
            if (step <= capacity_ / 8) {
                RaiseMemoryFailure();
            }
        }
    }

    // Gives the block room for `capacity` bytes, keeping its bytes; false when
    // there is no such room (the block is then as it was).
    bool Relocate(std::size_t capacity)
    {
        lock_.reset();  // an unlocked block may move
        data_ = nullptr;
        HGLOBAL moved = block_ ? GlobalReAlloc(block_.get(), capacity, GMEM_MOVEABLE)
                               : GlobalAlloc(GMEM_MOVEABLE, capacity);
        const DWORD error = GetLastError();
        if (moved != nullptr) {
            block_.release();
            block_.reset(moved);
            capacity_ = capacity;
        }
        if (block_) {
            data_ = static_cast<char*>(GlobalLock(block_.get()));
            if (data_ == nullptr) {
                RaiseMemoryFailure();
            }
            lock_.reset(block_.get());
        }
        SetLastError(error);
        return moved != nullptr;
    }

    UniqueGlobal block_;
    UniqueGlobalLock lock_;  // declared after the block: unlocked before it is freed
    char* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

}  // namespace tuvex
