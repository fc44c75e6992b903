// Owners for what lives inside one call: each releases its resource on every
// way out of the scope. Objects that outlive a call are released by release().
#pragma once
#include <windows.h>
#include <mmsystem.h>

class registry_key {
public:
    registry_key() = default;
    registry_key(const registry_key&) = delete;
    registry_key& operator=(const registry_key&) = delete;
    ~registry_key() {
        if (key_) RegCloseKey(key_);
    }
    HKEY* receive() { return &key_; }
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

// A fixed, zero-filled block from GlobalAlloc.
class path_block {
public:
    explicit path_block(SIZE_T size) : text_(static_cast<char*>(GlobalAlloc(GPTR, size))) {}
    path_block(const path_block&) = delete;
    path_block& operator=(const path_block&) = delete;
    ~path_block() { free(); }
    char* get() const { return text_; }
    char* release() {
        char* text = text_;
        text_ = nullptr;
        return text;
    }
    void free() {
        if (text_) GlobalFree(text_);
        text_ = nullptr;
    }

private:
    char* text_;
};

// A movable block from GlobalAlloc, locked for as long as it is held.
class locked_block {
public:
    explicit locked_block(SIZE_T size) : block_(GlobalAlloc(GMEM_MOVEABLE, size)) {
        if (block_) bytes_ = GlobalLock(block_);
    }
    locked_block(const locked_block&) = delete;
    locked_block& operator=(const locked_block&) = delete;
    ~locked_block() {
        if (bytes_) GlobalUnlock(block_);
        if (block_) GlobalFree(block_);
    }
    void* bytes() const { return bytes_; }

private:
    HGLOBAL block_;
    void* bytes_ = nullptr;
};

class mmio_file {
public:
    explicit mmio_file(HMMIO file) : file_(file) {}
    mmio_file(const mmio_file&) = delete;
    mmio_file& operator=(const mmio_file&) = delete;
    ~mmio_file() { close(); }
    HMMIO get() const { return file_; }
    void close() {
        if (file_) mmioClose(file_, 0);
        file_ = nullptr;
    }

private:
    HMMIO file_;
};

template <typename com_object>
void release(com_object*& object) {
    if (object) object->Release();
    object = nullptr;
}
