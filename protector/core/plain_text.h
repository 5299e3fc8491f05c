// The text of a plain password file: its lines joined without breaks, fed block by block as the file is read.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "secret_text.h"

// At most this many characters are kept, as the working buffer of the original reader did.
inline constexpr std::size_t PlainTextLimit = 2049;

class PlainTextJoiner {
public:
    // Reading may stop once the text is longer than `stopAbove`: its fate is then known.
    explicit PlainTextJoiner(std::size_t stopAbove = PlainTextLimit) : stopAbove_(stopAbove) {}

    // CR ends a line and an LF right after it belongs to that line end, even across blocks; a lone LF is a
    // character of the text; 0x1A ends the reading as the end of the file does.
    void Feed(std::string_view block);

    // True once nothing more needs to be read.
    bool Done() const { return ended_ || text_.size() > stopAbove_; }
    const SecretText& Text() const { return text_; }

private:
    std::size_t stopAbove_;
    SecretText text_;
    bool afterCr_ = false;
    bool ended_ = false;
};

// The whole content at once.
SecretText JoinPlainLines(std::string_view content, std::size_t stopAbove = PlainTextLimit);
