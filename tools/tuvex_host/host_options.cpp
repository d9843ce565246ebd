#include "host_options.h"

#include <algorithm>
#include <string_view>

namespace tuvex::host {

namespace {

constexpr std::string_view kOptions[] = {"--dll",      "--param",        "--in",      "--out",
                                         "--encoding", "--out-encoding", "--timeout", "--messages"};

// How many single-byte edits (insert, delete, replace) turn `a` into `b`.
std::size_t EditDistance(std::string_view a, std::string_view b)
{
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) {
        row[j] = j;
    }
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({above + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// What an unknown option stands for: the option it is a slip of the keys
// for, or, for an argument of run, the way to pass it; else the options.
std::string UnknownOptionProblem(const std::string& word, const HostOptions& options)
{
    std::string_view closest;
    std::size_t distance = 3;  // further than two edits is no slip
    for (const std::string_view option : kOptions) {
        if (const std::size_t edits = EditDistance(word, option); edits < distance) {
            distance = edits;
            closest = option;
        }
    }
    if (!closest.empty()) {
        return "unknown option " + word + " (did you mean " + std::string(closest) + "?)";
    }
    if (options.command == "run" && !options.words.empty()) {
        return "unknown option " + word + " (an argument of the command that begins with -- goes after a --: "
               "tuvex_host run " + options.words[0] + " -- " + word + ")";
    }
    std::string known;
    for (const std::string_view option : kOptions) {
        known += (known.empty() ? "" : ", ") + std::string(option);
    }
    return "unknown option " + word + "; the options are " + known;
}

// The arguments of `run`, written back as the one quoted word they should be.
std::string AsOneQuotedWord(const std::vector<std::string>& words)
{
    std::string quoted = "\"";
    for (std::size_t i = 1; i < words.size(); ++i) {
        if (i > 1) {
            quoted += ' ';
        }
        for (const char c : words[i]) {
            quoted += c == '"' ? std::string("\\\"") : std::string(1, c);
        }
    }
    return quoted + "\"";
}

std::string WordsProblem(const HostOptions& options)
{
    const std::size_t count = options.words.size();
    if (options.command == "list") {
        return count == 0 ? "" : "list takes no words";
    }
    if (options.command == "filter") {
        return count == 1 ? "" : "filter takes one name: Tuvex, TuvexW or TuvexUtf8";
    }
    if (options.command == "menu") {
        return count <= 1 ? "" : "menu takes one menu file: Tuvex, TuvexW, TuvexUtf8 or a path";
    }
    if (options.command == "conf") {
        return count <= 1 ? "" : "conf takes one settings file, or none for Tuvex.conf beside the module";
    }
    if (options.command == "check") {
        return count == 0 ? "" : "check takes no words";
    }
    if (options.command == "run") {
        if (count == 0) {
            return "run takes a command and, optionally, its arguments";
        }
        if (count > 2) {
            return "run takes the command and then its arguments as one word; quote them: tuvex_host run " +
                   options.words[0] + " " + AsOneQuotedWord(options.words) +
                   " (a quote inside is written \\\", as in \"/c \\\"line\\\"\")";
        }
        return "";
    }
    return "unknown command " + options.command;
}

// Whole seconds or a decimal fraction ("2", "0.5"), more than zero and at
// most a day, in milliseconds; nothing for anything else.
std::optional<std::uint32_t> TimeoutMs(const std::string& seconds)
{
    constexpr std::uint64_t kDayMs = 24ull * 60 * 60 * 1000;
    std::uint64_t ms = 0;
    std::uint64_t scale = 1000;
    bool fraction = false;
    bool digits = false;
    for (const char c : seconds) {
        if (c == '.' && !fraction) {
            fraction = true;
        } else if (c >= '0' && c <= '9') {
            digits = true;
            if (!fraction) {
                ms = ms * 10 + static_cast<std::uint64_t>(c - '0') * 1000;
            } else if (scale /= 10; scale > 0) {
                ms += static_cast<std::uint64_t>(c - '0') * scale;
            }
            if (ms > kDayMs) {
                return std::nullopt;
            }
        } else {
            return std::nullopt;
        }
    }
    return digits && ms > 0 ? std::optional<std::uint32_t>(static_cast<std::uint32_t>(ms)) : std::nullopt;
}

}  // namespace

ParsedArguments ParseHostArguments(const std::vector<std::string>& arguments)
{
    ParsedArguments parsed;
    HostOptions& options = parsed.options;
    bool onlyWords = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& word = arguments[i];
        if (word == "--" && !onlyWords) {
            onlyWords = true;
            continue;
        }
        const bool isOption = !onlyWords && word.starts_with("--");
        if (isOption && std::find(std::begin(kOptions), std::end(kOptions), word) == std::end(kOptions)) {
            parsed.problem = UnknownOptionProblem(word, options);
            return parsed;
        }
        if (isOption && i + 1 == arguments.size()) {
            parsed.problem = word + " needs a value";
            return parsed;
        }
        if (!isOption && options.command.empty()) {
            options.command = word;
            continue;
        }
        if (!isOption) {
            options.words.push_back(word);
            continue;
        }
        const std::string& value = arguments[++i];
        if (word == "--dll") {
            options.dll = value;
        } else if (word == "--param") {
            options.parameter = value;
        } else if (word == "--in") {
            options.in = value;
        } else if (word == "--out") {
            options.out = value;
        } else if (word == "--encoding" || word == "--out-encoding") {
            const std::optional<TextEncoding> encoding = EncodingNamed(value);
            if (!encoding) {
                parsed.problem = word + " takes cp932, utf-8 or utf-16, not " + value;
                return parsed;
            }
            if (word == "--encoding") {
                options.encoding = encoding;
            } else {
                options.outEncoding = *encoding;
            }
        } else if (word == "--timeout") {
            options.timeoutMs = TimeoutMs(value);
            if (!options.timeoutMs) {
                parsed.problem = "--timeout takes a number of seconds above 0 (at most a day), not " + value;
                return parsed;
            }
        } else if (value == "console" || value == "window") {
            options.messages = value == "console" ? MessageMode::Console : MessageMode::Window;
        } else {
            parsed.problem = "--messages takes console or window, not " + value;
            return parsed;
        }
    }
    parsed.problem = options.command.empty() ? "no command given" : WordsProblem(options);
    return parsed;
}

std::string UnknownFilterProblem(const std::string& name, const std::vector<std::string>& filterNames)
{
    if (std::find(filterNames.begin(), filterNames.end(), name) != filterNames.end()) {
        return "";
    }
    std::string problem = "the module has no filter " + name + "; its filters are:";
    for (const std::string& filterName : filterNames) {
        problem += " " + filterName;
    }
    return problem;
}

}  // namespace tuvex::host
