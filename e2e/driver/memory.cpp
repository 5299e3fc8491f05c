// The memory probe: how often texts occur in another process's own memory.
#include <algorithm>

#include "driver.h"
#include "unique.h"
#include "win_text.h"

namespace e2e {

namespace {

// Pages the process has made its own: heaps, stacks and other private allocations, and the written pages of
// its images (a program's static data lives there). Mapped files and read-only image pages are shared.
bool IsOwnMemory(const MEMORY_BASIC_INFORMATION& region) {
    if (region.State != MEM_COMMIT || (region.Protect & (PAGE_GUARD | PAGE_NOACCESS)) != 0) return false;
    if (region.Type == MEM_PRIVATE) return true;
    constexpr DWORD writable = PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
    return region.Type == MEM_IMAGE && (region.Protect & writable) != 0;
}

int Occurrences(std::string_view haystack, std::string_view needle) {
    int count = 0;
    if (needle.empty()) return 0;
    for (std::size_t at = haystack.find(needle); at != std::string_view::npos; at = haystack.find(needle, at + 1)) ++count;
    return count;
}

}  // namespace

std::optional<std::vector<MemoryCount>> CountInMemory(DWORD pid, const std::vector<std::string>& texts) {
    UniqueFile process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid));
    if (!process) return std::nullopt;
    std::vector<std::string> needles;  // text i as bytes at 2i, as UTF-16 at 2i + 1
    std::size_t longest = 1;
    for (const std::string& text : texts) {
        std::wstring wide = Wide(text);
        needles.push_back(text);
        needles.emplace_back(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(wchar_t));
        longest = std::max(longest, needles.back().size());
    }
    std::vector<MemoryCount> counts(texts.size());
    // Read in blocks that overlap by one needle less a byte, so that an occurrence across two blocks is seen
    // once, in the block where it starts.
    constexpr std::size_t Block = 1 << 20;
    std::string buffer(Block + longest, '\0');
    MEMORY_BASIC_INFORMATION region{};
    for (auto* at = static_cast<char*>(nullptr);
         VirtualQueryEx(process.get(), at, &region, sizeof region) == sizeof region;
         at = static_cast<char*>(region.BaseAddress) + region.RegionSize) {
        if (!IsOwnMemory(region)) continue;
        auto* base = static_cast<char*>(region.BaseAddress);
        for (std::size_t offset = 0; offset < region.RegionSize; offset += Block) {
            const std::size_t wanted = std::min(region.RegionSize - offset, Block + longest - 1);
            SIZE_T got = 0;
            // The program is idle while it is probed: a page it cannot give is a probe that would miss copies.
            if (!ReadProcessMemory(process.get(), base + offset, buffer.data(), wanted, &got) || got != wanted)
                return std::nullopt;
            const std::string_view bytes(buffer.data(), got);
            const std::size_t starts = std::min<std::size_t>(got, Block);  // occurrences that begin in this block
            for (std::size_t i = 0; i < needles.size(); ++i) {
                const int found = Occurrences(bytes, needles[i]) -
                                  Occurrences(bytes.substr(std::min(starts, bytes.size())), needles[i]);
                (i % 2 == 0 ? counts[i / 2].narrow : counts[i / 2].wide) += found;
            }
        }
    }
    return counts;
}

}  // namespace e2e
