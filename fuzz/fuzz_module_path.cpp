// Module paths: the directory is a prefix of the path that ends at a
// single-byte separator (or is the drive alone), at most 255 bytes past it.
// The same bytes as code page 932 text: the whole characters found by looking
// back from the end are those found by walking from the start. As UTF-8:
// well-formed text cut anywhere splits into two well-formed parts where the
// whole characters end; a part held back is an unfinished sequence.
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "common/code_page_932.h"
#include "common/unicode_text.h"
#include "common/module_location.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string path(reinterpret_cast<const char*>(data), size);
    std::size_t characterStart = 0;
    while (characterStart + 1 < size) {
        characterStart += tuvex::IsCp932LeadByte(data[characterStart]) ? 2 : 1;
    }
    const bool lastByteStartsACharacter = characterStart + 1 == size && tuvex::IsCp932LeadByte(data[characterStart]);
    FUZZ_CHECK(tuvex::WholeCharactersLength(path) == size - (lastByteStartsACharacter ? 1 : 0));

    const std::size_t utf8Whole = tuvex::Utf8WholeCharactersLength(path);
    FUZZ_CHECK(utf8Whole <= size && size - utf8Whole <= 3);
    FUZZ_CHECK(utf8Whole == size || static_cast<unsigned char>(path[utf8Whole]) >= 0xC0);
    if (tuvex::IsValidUtf8(path)) {
        for (std::size_t cut = 0; cut <= size; ++cut) {
            const std::size_t whole = tuvex::Utf8WholeCharactersLength(std::string_view(path).substr(0, cut));
            FUZZ_CHECK(cut - whole <= 3);
            FUZZ_CHECK(tuvex::IsValidUtf8(path.substr(0, whole)) && tuvex::IsValidUtf8(path.substr(whole)));
        }
    }

    const std::string directory = tuvex::DirectoryOfModulePath(path, &tuvex::IsCp932LeadByte);
    FUZZ_CHECK(path.compare(0, directory.size(), directory) == 0);
    const std::size_t driveLength = path.size() >= 2 && path[1] == ':' ? 2 : 0;
    FUZZ_CHECK(directory.size() >= driveLength);
    FUZZ_CHECK(directory.size() <= driveLength + 255);
    if (directory.size() == driveLength || directory.size() == driveLength + 255) {
        return 0;
    }
    FUZZ_CHECK(directory.back() == '\\' || directory.back() == '/');
    // The separator that ends it is not the trail byte of a double-byte character.
    std::size_t i = driveLength;
    while (i < directory.size() - 1) {
        i += tuvex::IsCp932LeadByte(static_cast<unsigned char>(path[i])) ? 2 : 1;
    }
    FUZZ_CHECK(i == directory.size() - 1);
    return 0;
}
