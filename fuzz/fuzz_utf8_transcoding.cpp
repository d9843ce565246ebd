// The UTF-8 transcoder against a plain reference written from the rules of
// UTF-8: the same units and the same stopping place for any bytes, and the
// units encoded again give back the bytes that were read.
#include <cstdint>
#include <string>

#include "common/transcoding.h"
#include "fuzz_check.h"

namespace {

struct Reference {
    std::u32string characters;
    std::size_t read = 0;
};

// Decodes well-formed characters from the start of `bytes` until the first
// that is not: a character is the shortest form of a scalar value.
Reference ReferenceDecode(const std::string& bytes)
{
    Reference result;
    while (result.read < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[result.read]);
        const std::size_t length = lead < 0x80 ? 1 : lead >> 5 == 0x6 ? 2 : lead >> 4 == 0xE ? 3 : lead >> 3 == 0x1E ? 4 : 0;
        if (length == 0 || bytes.size() - result.read < length) {
            return result;
        }
        std::uint32_t value = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[result.read + k]);
            if (next >> 6 != 0x2) {
                return result;
            }
            value = value << 6 | (next & 0x3F);
        }
        const std::uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
        if (value < least[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
            return result;
        }
        result.characters.push_back(value);
        result.read += length;
    }
    return result;
}

std::wstring Utf16(const std::u32string& characters)
{
    std::wstring units;
    for (const char32_t value : characters) {
        if (value < 0x10000) {
            units.push_back(static_cast<wchar_t>(value));
        } else {
            units.push_back(static_cast<wchar_t>(0xD800 + ((value - 0x10000) >> 10)));
            units.push_back(static_cast<wchar_t>(0xDC00 + ((value - 0x10000) & 0x3FF)));
        }
    }
    return units;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::wstring units(bytes.size(), L'\0');
    const tuvex::Transcoded decoded = tuvex::DecodeUtf8(bytes, units.data());
    units.resize(decoded.written);
    const Reference reference = ReferenceDecode(bytes);
    FUZZ_CHECK(decoded.read == reference.read);
    FUZZ_CHECK(decoded.complete == (reference.read == bytes.size()));
    FUZZ_CHECK(units == Utf16(reference.characters));

    std::string again(units.size() * 3, '\0');
    const tuvex::Transcoded encoded = tuvex::EncodeUtf8(units, again.data());
    FUZZ_CHECK(encoded.complete && encoded.read == units.size());
    FUZZ_CHECK(again.substr(0, encoded.written) == bytes.substr(0, decoded.read));
    FUZZ_CHECK(tuvex::Utf8EncodableLength(units) == units.size());
    return 0;
}
