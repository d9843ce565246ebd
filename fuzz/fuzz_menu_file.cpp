// Menu definition files of arbitrary bytes: no field is empty or holds TAB,
// LF or "#", and the command items stand in the tree in the order of their
// lines in the file, which is the order in which the popup numbers them.
// A commented-out command stays out, also in a line read in pieces.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "menu/menu_file.h"

namespace {

struct CommandLine {
    std::string name, command, arguments;
    bool operator==(const CommandLine&) const = default;
};

bool IsCleanField(const std::string& field)
{
    return !field.empty() && field.find_first_of("\t\n#") == std::string::npos;
}

void Collect(const tuvex::Menu& menu, std::vector<CommandLine>& commands)
{
    for (const auto& child : menu.children) {
        if (const auto* submenu = dynamic_cast<const tuvex::Menu*>(child.get())) {
            FUZZ_CHECK(IsCleanField(submenu->GetName()));
            Collect(*submenu, commands);
        } else if (const auto* item = dynamic_cast<const tuvex::MenuItemCommand*>(child.get())) {
            FUZZ_CHECK(IsCleanField(item->GetName()) && IsCleanField(item->command));
            FUZZ_CHECK(item->arguments.empty() || IsCleanField(item->arguments));
            commands.push_back({item->GetName(), item->command, item->arguments});
        } else {
            FUZZ_CHECK(dynamic_cast<const tuvex::MenuItemSeparator*>(child.get()) != nullptr);
            FUZZ_CHECK(child->GetName().empty());
        }
    }
}

// The command lines of the file, read as the reader reads it: pieces of a
// long line after the piece where its comment begins add nothing.
std::vector<CommandLine> CommandLines(const std::string& path)
{
    std::vector<CommandLine> commands;
    std::FILE* file = std::fopen(path.c_str(), "r");
    char line[tuvex::kMenuLineBufferSize];
    std::vector<tuvex::ByteString> fields;
    std::size_t depth = 0;
    bool inComment = false;
    for (;;) {
        std::memset(line, 1, sizeof line);  // no LF but the one that fgets reads
        if (!std::fgets(line, sizeof line, file)) {
            break;
        }
        const bool endsLine = std::memchr(line, '\n', sizeof line) != nullptr;
        const bool skipped = inComment;
        inComment = !endsLine && (inComment || std::strchr(line, '#') != nullptr);
        if (!skipped && tuvex::ParseMenuLine(line, fields, depth) == tuvex::MenuLineKind::Item && fields.size() >= 2) {
            commands.push_back({fields[0], fields[1], fields.size() > 2 ? fields[2] : ""});
        }
    }
    std::fclose(file);
    return commands;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string path = "/tmp/tuvex-fuzz-menu-" + std::to_string(getpid()) + ".ini";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    const std::unique_ptr<tuvex::Menu> root = tuvex::LoadMenuDefinition(path);
    FUZZ_CHECK(root->GetName() == "top");
    std::vector<CommandLine> inTree;
    Collect(*root, inTree);
    FUZZ_CHECK(inTree == CommandLines(path));
    return 0;
}
