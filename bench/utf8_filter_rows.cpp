#include "utf8_filter_rows.h"

#include <cstdio>

#include "common/win32_resource.h"

namespace bench {

namespace {

using Filter = HGLOBAL(__cdecl*)(HWND, const wchar_t*, const char*);

constexpr double kMiB = 1048576.0;

std::size_t BlockSize(HGLOBAL block)
{
    const tuvex::UniqueGlobal owned(block);
    return owned ? GlobalSize(owned.get()) : 0;
}

}  // namespace

void PrintUtf8FilterRows(HMODULE module, const std::string& copyParameter, const CallMeasurer& measure)
{
    const auto wide = reinterpret_cast<Filter>(reinterpret_cast<void*>(GetProcAddress(module, "TuvexW")));
    const auto utf8 = reinterpret_cast<Filter>(reinterpret_cast<void*>(GetProcAddress(module, "TuvexUtf8")));
    struct Text {
        const char* what;
        wchar_t character;
        // UTF-8 moves half the bytes of UTF-16 for ASCII; for Japanese 1.5
        // times as many, and converts both ways.
        double mostTimeRatio;
        CallFigures wide{}, utf8{};
        double block = 0;
    };
    Text texts[] = {{"ASCII", L'a', 1.05}, {"Japanese", L'\u3042', 1.7}};
    const std::size_t characters = std::size_t(50) << 20;
    std::printf("\n| %-28s | %8s | %9s | %8s | %12s |\n", "50 Mi characters, TuvexUtf8", "seconds", "block MiB",
                "peak MiB", "peak / block");
    std::printf("|------------------------------|----------|-----------|----------|--------------|\n");
    for (Text& text : texts) {
        const std::wstring host(characters, text.character);
        auto call = [&](Filter filter) {
            return [&, filter] {
                text.block = double(BlockSize(filter(nullptr, host.c_str(), copyParameter.c_str())));
                return text.block == double((characters + 1) * sizeof(wchar_t));
            };
        };
        const std::vector<CallFigures> figures = measure(5, {call(wide), call(utf8)});
        text.wide = figures[0];
        text.utf8 = figures[1];
        for (const auto& [name, call] : {std::pair{"TuvexW, ", &text.wide}, std::pair{"TuvexUtf8, ", &text.utf8}}) {
            const std::string what = std::string(name) + text.what;
            std::printf("| %-28s | %8.3f | %9.1f | %8.1f | %11.2fx |%s\n", what.c_str(), call->seconds,
                        text.block / kMiB, call->peakBytes / kMiB, call->peakBytes / text.block,
                        call->whole ? "" : " INCOMPLETE");
        }
    }

    std::printf("\nTuvexUtf8 targets:\n");
    for (const Text& text : texts) {
        const double ratio = text.utf8.seconds / text.wide.seconds;
        std::printf("- TuvexUtf8 / TuvexW on 50 Mi %s characters, median of 5: %.2f (at most %.2f): %s\n", text.what,
                    ratio, text.mostTimeRatio, ratio <= text.mostTimeRatio ? "met" : "MISSED");
    }
    // The block and the pieces on their way.
    for (const Text& text : texts) {
        const double limit = 1.1 * text.block;
        std::printf("- peak added by TuvexUtf8, 50 Mi %s characters: %.1f MiB = %.2f x the %.1f MiB block "
                    "(at most 1.1 x): %s\n",
                    text.what, text.utf8.peakBytes / kMiB, text.utf8.peakBytes / text.block, text.block / kMiB,
                    text.utf8.peakBytes <= limit ? "met" : "MISSED");
    }
}

}  // namespace bench
