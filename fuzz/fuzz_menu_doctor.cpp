// The menu-file doctor over arbitrary bytes: it places every item of the
// tree on a line of the file, names only lines that exist, and builds the
// same tree as the module's reader (where the host's text mode and this
// machine's agree: no CR, no Ctrl+Z).
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>

#include "fuzz_check.h"
#include "menu/menu_file.h"
#include "menu_doctor.h"

namespace {

void Serialize(const tuvex::Menu& menu, std::string& text, std::size_t& items)
{
    for (const auto& child : menu.children) {
        ++items;
        text += child->GetName() + "\x01";
        if (const auto* submenu = dynamic_cast<const tuvex::Menu*>(child.get())) {
            text += "{";
            Serialize(*submenu, text, items);
            text += "}";
        } else if (const auto* item = dynamic_cast<const tuvex::MenuItemCommand*>(child.get())) {
            text += item->command + "\x01" + item->arguments + "\x02";
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const tuvex::host::MenuExamination examination = tuvex::host::ExamineMenuFile(bytes);
    std::string tree;
    std::size_t items = 0;
    Serialize(*examination.root, tree, items);
    FUZZ_CHECK(items == examination.itemLines.size());
    const std::size_t lines = static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')) + 1;
    FUZZ_CHECK(std::is_sorted(examination.itemLines.begin(), examination.itemLines.end()));
    for (const auto& finding : examination.findings) {
        FUZZ_CHECK(finding.line <= lines && !finding.reason.empty());
    }
    FUZZ_CHECK(!tuvex::host::FormatMenuExamination(examination).empty());

    if (bytes.find_first_of("\r\x1A") == std::string::npos) {
        static const std::string path = "/tmp/tuvex-fuzz-doctor-" + std::to_string(getpid()) + ".ini";
        std::FILE* file = std::fopen(path.c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
        std::string loaded;
        std::size_t loadedItems = 0;
        Serialize(*tuvex::LoadMenuDefinition(path), loaded, loadedItems);
        FUZZ_CHECK(loaded == tree);
    }
    return 0;
}
