// Types that the subsystems hand to each other.
#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

namespace tuvex {

// Bytes with a known length: names, paths, commands and messages, all in code
// page 932 (or whatever the child wrote).
using ByteString = std::string;

// A growable run of bytes whose content the code moving it does not look at:
// a child's input and outputs, the message dialog's text.
using ByteBuffer = std::vector<char>;

// How a text's bytes are read.
enum class TextKind {
    Multibyte,  // text of the ANSI code page (932), up to its first zero byte
    Utf16,      // UTF-16LE, up to its first zero unit
    Utf8,       // UTF-8, up to its first zero byte
};

// The command to run, from a filter parameter or the command menu. An empty
// command means that nothing is to be run.
struct CommandEntry {
    ByteString name;
    ByteString command;
    ByteString arguments;
};

// A failure, carrying the message that the user is shown.
class ErrorMessage : public std::exception {
public:
    explicit ErrorMessage(ByteString text) : text_(std::move(text)) {}
    const ByteString& text() const noexcept { return text_; }
    const char* what() const noexcept override { return text_.c_str(); }

private:
    ByteString text_;
};

// A failure to get memory, with the message that says so: tells a buffer
// that cannot grow from other failures.
class MemoryFailure final : public ErrorMessage {
public:
    using ErrorMessage::ErrorMessage;
};

// "<text>(<code>)": a failed call's message. `prefix` ends in "(".
ByteString MessageWithCode(std::string_view prefix, std::int64_t code);

// "<subject>が<count><unit>あり、上限の<limit><unit>を超えています": something
// too large for the system, said in words before the system refuses it.
ByteString MessageOverLimit(std::string_view subject, std::uint64_t count, std::uint64_t limit, std::string_view unit);

}  // namespace tuvex
