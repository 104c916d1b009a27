#pragma once
// An owning COM interface pointer: AddRef on copy, Release on destruction.
#include <unknwn.h>

#include <utility>

namespace vav::win32 {

template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() { reset(); }
  ComPtr(const ComPtr& other) : ptr_(other.ptr_) {
    if (ptr_) ptr_->AddRef();
  }
  ComPtr(ComPtr&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
  ComPtr& operator=(ComPtr other) noexcept {
    std::swap(ptr_, other.ptr_);
    return *this;
  }

  T* get() const { return ptr_; }
  T* operator->() const { return ptr_; }
  explicit operator bool() const { return ptr_ != nullptr; }
  void reset() {
    if (ptr_) std::exchange(ptr_, nullptr)->Release();
  }
  // For out parameters: releases what is held and hands out the slot.
  T** receive() {
    reset();
    return &ptr_;
  }
  void** receive_void() { return reinterpret_cast<void**>(receive()); }

 private:
  T* ptr_ = nullptr;
};

}  // namespace vav::win32
