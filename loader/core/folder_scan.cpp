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
        std::string shownName = NameWithoutExtension(name);
        // The line goes in first: a slot is filled only for a line the list holds, so line n stays slot n.
        if (!list_.AddLine(LineText(state_.tables.Count() + 1, shownName))) {
            result_ = ScanResult::ListRefused;
            return;
        }
        state_.tables.Add(shownName, source_.ReadPassword(path));
    }

    LoaderState& state_;
    ScanSource& source_;
    ListSink& list_;
    ScanResult result_ = ScanResult::Complete;
};

}  // namespace

ScanResult ScanFolder(LoaderState& state, std::string_view folder, ScanSource& source, ListSink& list) {
    Walk walk(state, source, list);
    walk.Folder(std::string(folder));
    return walk.Result();
}
