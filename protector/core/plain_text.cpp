#include "plain_text.h"

void PlainTextJoiner::Feed(std::string_view block) {
    for (char c : block) {
        if (Done()) return;
        bool lfOfLineEnd = afterCr_ && c == '\n';
        afterCr_ = c == '\r';
        if (lfOfLineEnd || c == '\r') continue;
        if (c == '\x1A') {
            ended_ = true;
            return;
        }
        // Compared without stopAbove_ + 1, which wraps to 0 for SIZE_MAX and would keep nothing.
        if (text_.size() < PlainTextLimit && text_.size() <= stopAbove_) {
            text_.push_back(c);
        } else {
            ended_ = true;  // the rest could only be cut away
        }
    }
}

SecretText JoinPlainLines(std::string_view content, std::size_t stopAbove) {
    PlainTextJoiner joiner(stopAbove);
    joiner.Feed(content);
    return joiner.Text();
}
