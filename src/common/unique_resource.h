// One owner per resource: a move-only holder that releases what it holds on
// every path, exceptions included. Each kind of resource is a one-line alias
// over this template (see win32_resource.h).
#pragma once

#include <utility>

namespace tuvex {

// The value that holds nothing, for resources whose functions give null on
// failure. A kind whose functions give another value has its own such type
// with a static `value()` (see win32_resource.h): that value cannot always
// be a template argument itself.
template <typename T>
struct NullIsInvalid {
    static constexpr T value() noexcept { return T{}; }
};

template <typename T, auto Release, typename Invalid = NullIsInvalid<T>>
class UniqueResource {
public:
    UniqueResource() noexcept = default;
    explicit UniqueResource(T value) noexcept : value_(value) {}
    UniqueResource(UniqueResource&& other) noexcept : value_(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept
    {
        reset(other.release());
        return *this;
    }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    ~UniqueResource() { reset(); }

    T get() const noexcept { return value_; }
    explicit operator bool() const noexcept { return value_ != Invalid::value(); }

    // Gives up ownership without releasing.
    T release() noexcept { return std::exchange(value_, Invalid::value()); }

    void reset(T value = Invalid::value()) noexcept
    {
        T old = std::exchange(value_, value);
        if (old != Invalid::value()) {
            Release(old);
        }
    }

    // For out-parameters of the platform's functions: releases what is held
    // and hands out the address to be filled.
    T* put() noexcept
    {
        reset();
        return &value_;
    }

private:
    T value_ = Invalid::value();
};

}  // namespace tuvex

#include <cstdio>

namespace tuvex {

using UniqueFile = UniqueResource<std::FILE*, &std::fclose>;

}  // namespace tuvex
