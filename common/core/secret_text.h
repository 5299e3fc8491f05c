// Secret text: passwords and everything made from them. The storage is overwritten with zeros before it is
// freed, emptied or given up for a larger one, so that a memory dump, a crash report or the page file does
// not keep a password the program no longer needs.
#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <string_view>
#include <utility>

// Sets the bytes to zero. The compiler may not drop it as a dead store before a free or the end of a buffer's
// life: the barrier after it tells the compiler the zeros are looked at.
void WipeBytes(void* data, std::size_t size);

// Fixed buffers and records (a read block, a serialized record) wiped whole.
template <typename T>
void WipeObject(T& object) {
    WipeBytes(std::addressof(object), sizeof object);
}

// A string of Char that owns its storage alone (no small-string buffer inside the object, so no copy is left
// behind where the object was) and wipes it before every release. Moving hands the storage over, copying
// nothing.
template <typename Char, typename Allocator = std::allocator<Char>>
class BasicSecret {
public:
    using value_type = Char;
    using View = std::basic_string_view<Char>;
    using iterator = Char*;
    using const_iterator = const Char*;

    BasicSecret() = default;
    BasicSecret(const Char* text) : BasicSecret(View(text)) {}
    explicit BasicSecret(View text) { assign(text); }
    BasicSecret(const BasicSecret& other) : allocator_(other.allocator_) { assign(other.view()); }
    BasicSecret(BasicSecret&& other) noexcept
        : allocator_(std::move(other.allocator_)),
          data_(std::exchange(other.data_, nullptr)),
          size_(std::exchange(other.size_, 0)),
          capacity_(std::exchange(other.capacity_, 0)) {}
    ~BasicSecret() { Release(); }

    BasicSecret& operator=(const BasicSecret& other) {
        if (this != &other) assign(other.view());
        return *this;
    }
    BasicSecret& operator=(BasicSecret&& other) noexcept {
        if (this != &other) {
            Release();
            data_ = std::exchange(other.data_, nullptr);
            size_ = std::exchange(other.size_, 0);
            capacity_ = std::exchange(other.capacity_, 0);
        }
        return *this;
    }
    BasicSecret& operator=(View text) { return assign(text); }
    BasicSecret& operator=(const Char* text) { return assign(View(text)); }

    BasicSecret& assign(View text) {
        if (text.size() > capacity_) {
            Release();
            Grow(text.size());
        } else if (data_ != nullptr) {
            WipeBytes(data_, size_ * sizeof(Char));
        }
        size_ = 0;
        return append(text);
    }
    BasicSecret& append(View text) {
        Reserve(size_ + text.size());
        for (Char c : text) data_[size_++] = c;
        if (data_ != nullptr) data_[size_] = Char();
        return *this;
    }
    BasicSecret& operator+=(View text) { return append(text); }
    void push_back(Char c) {
        Reserve(size_ + 1);
        data_[size_++] = c;
        data_[size_] = Char();
    }
    // Pads with `fill` or cuts (the cut part is wiped).
    void resize(std::size_t size, Char fill) {
        if (size < size_) {
            WipeBytes(data_ + size, (size_ - size) * sizeof(Char));
            size_ = size;
        } else {
            Reserve(size);
            while (size_ < size) data_[size_++] = fill;
        }
        if (data_ != nullptr) data_[size_] = Char();
    }
    void reserve(std::size_t capacity) { Reserve(capacity); }
    // Wipes and frees the storage.
    void clear() { Release(); }

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    Char* data() { return data_; }
    const Char* data() const { return data_; }
    const Char* c_str() const {
        static constexpr Char none[1] = {};
        return data_ != nullptr ? data_ : none;
    }
    View view() const { return data_ != nullptr ? View(data_, size_) : View(); }
    operator View() const { return view(); }
    Char& operator[](std::size_t i) { return data_[i]; }
    const Char& operator[](std::size_t i) const { return data_[i]; }
    iterator begin() { return data_; }
    iterator end() { return data_ + size_; }
    const_iterator begin() const { return data_; }
    const_iterator end() const { return data_ + size_; }

    // Also secret == secret: the reversed comparison is the rewritten one, so the call is not ambiguous.
    friend bool operator==(const BasicSecret& a, View b) { return a.view() == b; }

private:
    using Traits = std::allocator_traits<Allocator>;

    void Reserve(std::size_t wanted) {
        if (wanted == 0 || (data_ != nullptr && wanted <= capacity_)) return;
        // The old storage is copied into the new, then wiped and freed: a longer text never leaves the
        // shorter one behind.
        BasicSecret larger(allocator_);
        larger.Grow(std::max(wanted, capacity_ * 2));
        for (std::size_t i = 0; i < size_; ++i) larger.data_[larger.size_++] = data_[i];
        larger.data_[larger.size_] = Char();
        *this = std::move(larger);
    }
    void Grow(std::size_t capacity) {
        data_ = Traits::allocate(allocator_, capacity + 1);
        capacity_ = capacity;
        data_[0] = Char();
    }
    void Release() {
        if (data_ == nullptr) return;
        WipeBytes(data_, (capacity_ + 1) * sizeof(Char));
        Traits::deallocate(allocator_, data_, capacity_ + 1);
        data_ = nullptr;
        size_ = capacity_ = 0;
    }
    explicit BasicSecret(const Allocator& allocator) : allocator_(allocator) {}

    [[no_unique_address]] Allocator allocator_{};
    Char* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

// Windows-1252 secrets, and their UTF-16 form at the edge of controls and the clipboard.
using SecretText = BasicSecret<char>;
using SecretWide = BasicSecret<wchar_t>;
