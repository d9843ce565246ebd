#include "host_options.h"

#include <algorithm>

namespace tuvex::host {

namespace {

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
        if (isOption && word != "--dll" && word != "--param" && word != "--in" && word != "--out" &&
            word != "--encoding" && word != "--out-encoding" && word != "--timeout" && word != "--messages") {
            parsed.problem = "unknown option " + word + " (put -- before arguments that begin with --)";
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
