#include "secret_text.h"

#include <cstring>

void WipeBytes(void* data, std::size_t size) {
    if (data == nullptr || size == 0) return;
    std::memset(data, 0, size);
    __asm__ __volatile__("" : : "r"(data) : "memory");
}
