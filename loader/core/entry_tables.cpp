#include "entry_tables.h"

#include "file_names.h"
#include "text1252.h"

std::optional<int> EntryTables::Add(std::string_view name, std::string_view password) {
    if (Full()) return std::nullopt;
    Entry& entry = entries_[static_cast<std::size_t>(count_)];
    entry.data = cp1252::CutTo(password, DataLimit);
    entry.name = cp1252::CutTo(name, NameLimit);
    entry.mark.clear();
    return ++count_;
}

void EntryTables::RemoveLast() {
    if (count_ > 0) entries_[static_cast<std::size_t>(--count_)] = Entry{};
}

void EntryTables::Clear() {
    for (Entry& entry : entries_) entry = Entry{};
    count_ = 0;
}

std::string_view EntryTables::Data(int slot) const {
    return IsSlot(slot) ? std::string_view(entries_[static_cast<std::size_t>(slot - 1)].data) : std::string_view();
}

std::string_view EntryTables::Name(int slot) const {
    return IsSlot(slot) ? std::string_view(entries_[static_cast<std::size_t>(slot - 1)].name) : std::string_view();
}

std::string_view EntryTables::Mark(int slot) const {
    return IsSlot(slot) ? std::string_view(entries_[static_cast<std::size_t>(slot - 1)].mark) : std::string_view();
}

void EntryTables::SetMark(int slot, std::string_view mark) {
    if (IsSlot(slot)) entries_[static_cast<std::size_t>(slot - 1)].mark = cp1252::CutTo(mark, MarkLimit);
}

std::string LineText(int slot, std::string_view name) {
    std::string text = ThreeDigitNumber(slot);
    text += " - ";
    text += name;
    return text;
}

void ToggleMark(EntryTables& tables, int slot, std::string_view lineText) {
    if (tables.Mark(slot).empty()) {
        tables.SetMark(slot, lineText.substr(0, 3));
    } else {
        tables.SetMark(slot, {});
    }
}

namespace {
bool OccursExactlyOnce(std::string_view text, std::string_view part) {
    auto first = text.find(part);
    return first != std::string_view::npos && text.find(part, first + 1) == std::string_view::npos;
}
}  // namespace

bool IsMarkedLine(const EntryTables& tables, std::string_view lineText) {
    for (int slot = 1; slot <= tables.Count(); ++slot) {
        std::string_view mark = tables.Mark(slot);
        if (!mark.empty() && OccursExactlyOnce(lineText, mark)) return true;
    }
    return false;
}
