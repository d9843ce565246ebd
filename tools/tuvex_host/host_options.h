// tuvex_host's command line: the command, its words and the options.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "text_encoding.h"

namespace tuvex::host {

// How the module's message windows reach the user: as windows, or printed
// to standard error and closed (so that a script never waits on a window).
enum class MessageMode { Window, Console };

struct HostOptions {
    std::string dll;
    std::string command;  // list, filter, run, menu, conf or check
    std::vector<std::string> words;
    std::optional<std::string> parameter;
    std::string in;
    std::string out;
    std::optional<TextEncoding> encoding;
    TextEncoding outEncoding = TextEncoding::Utf8;
    std::optional<std::uint32_t> timeoutMs;
    std::optional<MessageMode> messages;  // none given: decided by the caller
};

struct ParsedArguments {
    HostOptions options;
    std::string problem;  // empty when the command line is usable
};

// `arguments` are the words after the program's name. A word that begins
// with "--" is an option, up to a word "--", after which every word is a
// word (for arguments of run that begin with "--").
ParsedArguments ParseHostArguments(const std::vector<std::string>& arguments);

// Why `name` is not a filter of the module, listing the names it offers
// (compared exactly, as the editor looks them up); empty when it is one.
std::string UnknownFilterProblem(const std::string& name, const std::vector<std::string>& filterNames);

}  // namespace tuvex::host
