#include "remote_buffer.h"

namespace e2e {

RemoteBuffer::RemoteBuffer(HWND window, std::size_t size) : size_(size) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == 0) return;
    process_.reset(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid));
    if (!process_) return;
    address_ = VirtualAllocEx(process_.get(), nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
}

RemoteBuffer::~RemoteBuffer() {
    if (address_ != nullptr) VirtualFreeEx(process_.get(), address_, 0, MEM_RELEASE);
}

bool RemoteBuffer::Write(std::size_t offset, const void* bytes, std::size_t count) const {
    if (address_ == nullptr || offset + count > size_) return false;
    SIZE_T done = 0;
    return WriteProcessMemory(process_.get(), At(offset), bytes, count, &done) && done == count;
}

bool RemoteBuffer::Read(std::size_t offset, void* bytes, std::size_t count) const {
    if (address_ == nullptr || offset + count > size_) return false;
    SIZE_T done = 0;
    return ReadProcessMemory(process_.get(), At(offset), bytes, count, &done) && done == count;
}

}  // namespace e2e
