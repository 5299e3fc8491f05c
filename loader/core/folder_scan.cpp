#include "folder_scan.h"

#include "file_names.h"
#include "text1252.h"

bool IsProtectedFileName(std::string_view name) { return cp1252::Lower(FileExtension(name, " ")) == "sclav"; }

namespace {

class Walk {
public:
    Walk(LoaderState& state, ScanSource& source, ListSink& list) : state_(state), source_(source), list_(list) {}

    void Folder(const std::string& folder) {
        source_.ForEach(folder, "*.*", [&](const ScanEntry& entry) {
            if (result_ == ScanResult::Complete && !entry.isFolder) File(folder, entry.name);
        });
        if (result_ != ScanResult::Complete || !state_.includeSubfolders) return;
        // Depth first: each subfolder is walked whole as soon as it is found.
        source_.ForEach(folder, "*", [&](const ScanEntry& entry) {
            if (result_ == ScanResult::Complete && entry.isFolder && entry.enterable) {
                Folder(folder + entry.name + "\\");
            }
        });
    }

    ScanResult Result() const { return result_; }

private:
    void File(const std::string& folder, const std::string& name) {
        if (!IsProtectedFileName(name)) return;
        std::string path = folder + name;
        if (!KeyMatches(source_.ReadKey(path), state_.loginPassword)) return;
        if (state_.tables.Full()) {
            result_ = ScanResult::TablesFull;
            return;
        }
        // Line n must stay slot n whatever fails (the list refusing a line, memory running out): the slot is
        // filled before the line goes in, and emptied again when the line does not.
        const std::string shownName = NameWithoutExtension(name);
        const std::string line = LineText(state_.tables.Count() + 1, shownName);
        state_.tables.Add(shownName, source_.ReadPassword(path));
        bool added = false;
        try {
            added = list_.AddLine(line);
        } catch (...) {
            state_.tables.RemoveLast();
            throw;
        }
        if (!added) {
            state_.tables.RemoveLast();
            result_ = ScanResult::ListRefused;
        }
    }

    LoaderState& state_;
    ScanSource& source_;
    ListSink& list_;
    ScanResult result_ = ScanResult::Complete;
};

}  // namespace

ScanResult ScanFolder(LoaderState& state, std::string_view folder, ScanSource& source, ListSink& list) {
    Walk walk(state, source, list);
    try {
        walk.Folder(std::string(folder));
    } catch (const std::exception&) {
        // Memory ran out: the walk stops as when the list refuses a line, every line still with its slot.
        return ScanResult::ListRefused;
    }
    return walk.Result();
}
