#include "plain_text.h"

#include <algorithm>

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
        if (text_.size() < std::min(PlainTextLimit, stopAbove_ + 1)) {
            text_.push_back(c);
        } else {
            ended_ = true;  // the rest could only be cut away
        }
    }
}

std::string JoinPlainLines(std::string_view content, std::size_t stopAbove) {
    PlainTextJoiner joiner(stopAbove);
    joiner.Feed(content);
    return joiner.Text();
}
