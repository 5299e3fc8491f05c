// The fonts SetControlFont has made, by description: one font per description, however often it is asked
// for. The fonts live until the process ends, so the cache only hands them out.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "loader_texts.h"

template <typename Handle>
class FontCache {
public:
    // The font made for the description (letter case aside), if any.
    std::optional<Handle> Find(std::string_view description) const {
        for (std::size_t i = 0; i < descriptions_.size(); ++i) {
            if (SameFontDescription(descriptions_[i], description)) return handles_[i];
        }
        return std::nullopt;
    }
    void Add(std::string_view description, Handle handle) {
        descriptions_.emplace_back(description);
        handles_.push_back(handle);
    }
    void Clear() {
        descriptions_.clear();
        handles_.clear();
    }
    std::size_t Size() const { return handles_.size(); }

private:
    std::vector<std::string> descriptions_;
    std::vector<Handle> handles_;
};
