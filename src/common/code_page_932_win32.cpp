#include "common/code_page_932_win32.h"

#include <windows.h>

#include <memory>

namespace tuvex {

namespace {

constexpr UINT kCodePage932 = 932;

// The unit that the system makes of `bytes`, a single character; none when
// it refuses them or makes other than one unit of them.
std::uint16_t SystemUnitOf(const char* bytes, int count)
{
    wchar_t units[2] = {};
    const int made = MultiByteToWideChar(kCodePage932, MB_ERR_INVALID_CHARS, bytes, count, units, 2);
    return made == 1 ? static_cast<std::uint16_t>(units[0]) : Cp932Tables::kNone;
}

std::unique_ptr<const Cp932Tables> BuildFromSystem()
{
    auto tables = std::make_unique<Cp932Tables>();
    for (std::size_t unit = 0; unit < tables->bytesOfUnit.size(); ++unit) {
        const wchar_t source = static_cast<wchar_t>(unit);
        unsigned char bytes[2] = {};
        BOOL usedDefault = FALSE;
        const int made = WideCharToMultiByte(kCodePage932, WC_NO_BEST_FIT_CHARS, &source, 1,
                                             reinterpret_cast<char*>(bytes), 2, nullptr, &usedDefault);
        tables->bytesOfUnit[unit] = usedDefault || made == 0 ? Cp932Tables::kNone
                                    : made == 1            ? bytes[0]
                                                           : static_cast<std::uint16_t>(bytes[0] << 8 | bytes[1]);
    }
    tables->unitOfPair.fill(Cp932Tables::kNone);
    for (std::size_t byte = 0; byte < tables->unitOfByte.size(); ++byte) {
        const char single = static_cast<char>(byte);
        tables->unitOfByte[byte] = SystemUnitOf(&single, 1);
        if (!IsCp932LeadByte(static_cast<unsigned char>(byte))) {
            continue;
        }
        for (std::size_t second = 0; second < 0x100; ++second) {
            const char pair[2] = {static_cast<char>(byte), static_cast<char>(second)};
            tables->unitOfPair[byte << 8 | second] = SystemUnitOf(pair, 2);
        }
    }
    return tables;
}

}  // namespace

const Cp932Tables& SystemCp932Tables()
{
    static const std::unique_ptr<const Cp932Tables> tables = BuildFromSystem();
    return *tables;
}

}  // namespace tuvex
