// The secret text wipes every byte it gives back: an allocator that looks at what it is handed to free.
#include <gtest/gtest.h>

#include <string>

#include "secret_text.h"

namespace {

struct FreedMemory {
    static inline int blocks = 0;
    static inline std::size_t nonZeroBytes = 0;
    static void Reset() { blocks = 0, nonZeroBytes = 0; }
};

template <typename T>
struct CountingAllocator {
    using value_type = T;
    CountingAllocator() = default;
    template <typename U>
    CountingAllocator(const CountingAllocator<U>&) {}
    T* allocate(std::size_t n) { return static_cast<T*>(::operator new(n * sizeof(T))); }
    void deallocate(T* p, std::size_t n) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(p);
        for (std::size_t i = 0; i < n * sizeof(T); ++i) FreedMemory::nonZeroBytes += bytes[i] != 0 ? 1 : 0;
        ++FreedMemory::blocks;
        ::operator delete(p);
    }
    friend bool operator==(const CountingAllocator&, const CountingAllocator&) { return true; }
};

using CountedSecret = BasicSecret<char, CountingAllocator<char>>;

const std::string Long = "B4nc0-Se\xF1or-una-clave-bastante-larga-2024";

}  // namespace

TEST(SecretText, StorageIsZeroWhenDestroyedClearedOrGrown) {
    FreedMemory::Reset();
    { CountedSecret destroyed(Long); }
    EXPECT_EQ(FreedMemory::blocks, 1);

    CountedSecret cleared(Long);
    cleared.clear();
    EXPECT_EQ(FreedMemory::blocks, 2);
    EXPECT_TRUE(cleared.empty());

    // A longer text needs larger storage; so does appending past the capacity, one character at a time.
    CountedSecret grown("abc");
    grown = Long + Long;
    EXPECT_EQ(grown, Long + Long);
    CountedSecret appended;
    for (char c : Long) appended.push_back(c);
    EXPECT_EQ(appended, Long);
    EXPECT_GE(FreedMemory::blocks, 4);

    // Shrinking keeps the storage; the characters cut off are zero in it when it goes.
    appended.resize(3, ' ');
    EXPECT_EQ(appended, "B4n");
    const int before = FreedMemory::blocks;
    appended.clear();
    grown.clear();
    EXPECT_EQ(FreedMemory::blocks, before + 2);
    EXPECT_EQ(FreedMemory::nonZeroBytes, 0u);
}

TEST(SecretText, MovingHandsTheStorageOverAndAssigningOverAMovedOneWipesTheOld) {
    FreedMemory::Reset();
    CountedSecret source(Long);
    CountedSecret moved(std::move(source));
    EXPECT_EQ(FreedMemory::blocks, 0);  // nothing copied, nothing left to free in the source
    EXPECT_TRUE(source.empty());
    EXPECT_EQ(moved, Long);

    CountedSecret target("otra clave que se pierde");
    target = std::move(moved);
    EXPECT_EQ(FreedMemory::blocks, 1);
    EXPECT_EQ(target, Long);
    CountedSecret copy(target);
    EXPECT_EQ(copy, target);
    copy.clear();
    target.clear();
    EXPECT_EQ(FreedMemory::blocks, 3);
    EXPECT_EQ(FreedMemory::nonZeroBytes, 0u);
}

TEST(SecretText, WipeObjectZeroesAFixedBuffer) {
    char block[64];
    for (std::size_t i = 0; i < sizeof block; ++i) block[i] = static_cast<char>('a' + i % 26);
    WipeObject(block);
    EXPECT_EQ(std::string(block, sizeof block), std::string(sizeof block, '\0'));
}
