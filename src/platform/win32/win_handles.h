#pragma once
// RAII owners for the Windows handles the adapters hold. Each owner closes its handle
// exactly once and can be moved, never copied.
#include <windows.h>

#include <utility>

namespace vav::win32 {

template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() = default;
  explicit UniqueHandle(Handle handle) : handle_(handle) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  Handle get() const { return handle_; }
  explicit operator bool() const { return Traits::valid(handle_); }
  Handle release() { return std::exchange(handle_, Traits::invalid()); }
  void reset(Handle handle = Traits::invalid()) {
    if (Traits::valid(handle_)) Traits::close(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = Traits::invalid();
};

// Kernel object handles: files, processes, events. Both null and INVALID_HANDLE_VALUE mean
// "none", since CreateFile and the other creators disagree on which one they return.
struct KernelHandleTraits {
  using Handle = HANDLE;
  static Handle invalid() { return nullptr; }
  static bool valid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void close(Handle h) { CloseHandle(h); }
};
using ScopedHandle = UniqueHandle<KernelHandleTraits>;

struct HkeyTraits {
  using Handle = HKEY;
  static Handle invalid() { return nullptr; }
  static bool valid(Handle h) { return h != nullptr; }
  static void close(Handle h) { RegCloseKey(h); }
};
using ScopedHkey = UniqueHandle<HkeyTraits>;

// Global memory handed between processes by the raw DDE protocol. Ownership passes to the
// receiver only when the protocol says so; release() marks that hand-over.
struct GlobalMemoryTraits {
  using Handle = HGLOBAL;
  static Handle invalid() { return nullptr; }
  static bool valid(Handle h) { return h != nullptr; }
  static void close(Handle h) { GlobalFree(h); }
};
using ScopedGlobal = UniqueHandle<GlobalMemoryTraits>;

struct GlobalAtomTraits {
  using Handle = ATOM;
  static Handle invalid() { return 0; }
  static bool valid(Handle h) { return h != 0; }
  static void close(Handle h) { GlobalDeleteAtom(h); }
};
using ScopedAtom = UniqueHandle<GlobalAtomTraits>;

// A window's device context, released to the window it came from.
class ScopedWindowDc {
 public:
  explicit ScopedWindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~ScopedWindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  ScopedWindowDc(const ScopedWindowDc&) = delete;
  ScopedWindowDc& operator=(const ScopedWindowDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// Locks a global memory block for the lifetime of the object.
class GlobalLock {
 public:
  explicit GlobalLock(HGLOBAL memory)
      : memory_(memory), data_(memory ? ::GlobalLock(memory) : nullptr) {}
  ~GlobalLock() {
    if (data_) ::GlobalUnlock(memory_);
  }
  GlobalLock(const GlobalLock&) = delete;
  GlobalLock& operator=(const GlobalLock&) = delete;
  void* data() const { return data_; }
  std::size_t size() const { return data_ ? ::GlobalSize(memory_) : 0; }

 private:
  HGLOBAL memory_;
  void* data_;
};

}  // namespace vav::win32
