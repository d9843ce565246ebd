// An invariant check for the fuzz targets: a violated one aborts with what
// was found, so libFuzzer keeps the input that broke it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#define FUZZ_CHECK(condition)                                                          \
    do {                                                                               \
        if (!(condition)) {                                                            \
            std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, \
                         #condition);                                                  \
            std::abort();                                                              \
        }                                                                              \
    } while (false)

// An input of three fields separated by NUL bytes (the last one may hold
// more); none when it has fewer than two NUL bytes.
inline std::optional<std::array<std::string, 3>> ThreeFields(const std::uint8_t* data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t first = input.find('\0');
    const std::size_t second = first == std::string::npos ? first : input.find('\0', first + 1);
    if (second == std::string::npos) {
        return std::nullopt;
    }
    return std::array<std::string, 3>{input.substr(0, first), input.substr(first + 1, second - first - 1),
                                      input.substr(second + 1)};
}
