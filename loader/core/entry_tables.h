// The loader's tables of loaded files: slot n holds the password, the display name and the double-click mark
// of list line n (counting from 1). The tables have a fixed number of slots and are never written past it.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "secret_text.h"

constexpr int SlotCount = 500;
constexpr std::size_t DataLimit = 2049;  // characters a password slot keeps
constexpr std::size_t NameLimit = 1024;  // characters a name slot keeps
constexpr std::size_t MarkLimit = 4;     // characters a mark slot keeps

class EntryTables {
public:
    int Count() const { return count_; }
    bool Full() const { return count_ >= SlotCount; }

    // Fills the next slot and gives its number; nothing when every slot is in use.
    std::optional<int> Add(std::string_view name, std::string_view password);
    // Empties the last filled slot again (its password wiped), for a line the list did not take.
    void RemoveLast();
    // Empties every slot; the passwords are wiped.
    void Clear();

    // Whether `slot` is one of the slots 1 to SlotCount (filled or not).
    static bool IsSlot(int slot) { return slot >= 1 && slot <= SlotCount; }

    // The slot's texts; the empty text for a slot that is not one of the tables'.
    std::string_view Data(int slot) const;
    std::string_view Name(int slot) const;
    std::string_view Mark(int slot) const;
    void SetMark(int slot, std::string_view mark);

private:
    struct Entry {
        SecretText data;
        std::string name, mark;
    };
    // Slot n lives at index n - 1.
    std::array<Entry, SlotCount> entries_{};
    int count_ = 0;
};

// The list line of slot n: the number with at least three digits, " - ", then the display name.
std::string LineText(int slot, std::string_view name);

// What the double click does to a slot's mark: an unmarked slot takes the line's number (its first three
// characters), a marked one is cleared.
void ToggleMark(EntryTables& tables, int slot, std::string_view lineText);

// Whether a line is drawn as marked: some slot among the used ones holds a mark that occurs exactly once in
// the line's text.
bool IsMarkedLine(const EntryTables& tables, std::string_view lineText);
