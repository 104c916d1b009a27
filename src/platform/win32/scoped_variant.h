#pragma once
// An owning VARIANT and BSTR, and the conversion between VARIANT and the program's Variant.
// Strings cross as ANSI code-page text (CP_ACP).
#include <windows.h>
// after windows.h, which it needs
#include <oleauto.h>

#include <string_view>
#include <utility>

#include "platform/automation.h"

namespace vav::win32 {

class ScopedVariant {
 public:
  ScopedVariant() { VariantInit(&value_); }
  explicit ScopedVariant(const Variant& value);
  ~ScopedVariant() { VariantClear(&value_); }
  ScopedVariant(const ScopedVariant&) = delete;
  ScopedVariant& operator=(const ScopedVariant&) = delete;

  const VARIANT* get() const { return &value_; }
  VARIANT* get() { return &value_; }
  // For out parameters: clears what is held and hands out the slot.
  VARIANT* receive() {
    VariantClear(&value_);
    return &value_;
  }
  // Throws RuntimeError(kTypeMismatch) for a value with no Variant form (arrays, objects).
  Variant to_variant() const;

 private:
  VARIANT value_;
};

class ScopedBstr {
 public:
  explicit ScopedBstr(std::string_view ansi);
  ~ScopedBstr() { SysFreeString(bstr_); }
  ScopedBstr(const ScopedBstr&) = delete;
  ScopedBstr& operator=(const ScopedBstr&) = delete;
  BSTR get() const { return bstr_; }
  BSTR release() { return std::exchange(bstr_, nullptr); }

 private:
  BSTR bstr_;
};

}  // namespace vav::win32
