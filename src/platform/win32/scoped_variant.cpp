#include "platform/win32/scoped_variant.h"

#include <utility>

#include "errors/runtime_error.h"
#include "platform/win32/text_codec.h"

namespace vav::win32 {

ScopedBstr::ScopedBstr(std::string_view ansi) {
  std::wstring wide = ansi_to_wide(ansi);
  bstr_ = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}

ScopedVariant::ScopedVariant(const Variant& value) {
  VariantInit(&value_);
  std::visit(
      [this](const auto& v) {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, bool>) {
          value_.vt = VT_BOOL;
          value_.boolVal = v ? VARIANT_TRUE : VARIANT_FALSE;
        } else if constexpr (std::is_same_v<T, std::int32_t>) {
          value_.vt = VT_I4;
          value_.lVal = v;
        } else if constexpr (std::is_same_v<T, double>) {
          value_.vt = VT_R8;
          value_.dblVal = v;
        } else if constexpr (std::is_same_v<T, std::string>) {
          value_.vt = VT_BSTR;
          value_.bstrVal = ScopedBstr(v).release();
        }
      },
      value);
}

Variant ScopedVariant::to_variant() const {
  switch (value_.vt) {
    case VT_EMPTY:
    case VT_NULL:
      return std::monostate{};
    case VT_BOOL:
      return value_.boolVal != VARIANT_FALSE;
    case VT_BSTR:
      return value_.bstrVal
                 ? wide_to_ansi(std::wstring_view(value_.bstrVal, SysStringLen(value_.bstrVal)))
                 : std::string();
    // VariantChangeType takes its source as non-const but does not change it.
    case VT_R4:
    case VT_R8:
    case VT_CY:
    case VT_DATE:
    case VT_DECIMAL:
    case VT_I8:
    case VT_UI8:
    case VT_UI4:
    case VT_UINT: {
      ScopedVariant as_double;
      if (FAILED(VariantChangeType(as_double.get(), const_cast<VARIANT*>(&value_), 0, VT_R8)))
        break;
      return as_double.get()->dblVal;
    }
    case VT_I1:
    case VT_UI1:
    case VT_I2:
    case VT_UI2:
    case VT_I4:
    case VT_INT: {
      ScopedVariant as_long;
      if (FAILED(VariantChangeType(as_long.get(), const_cast<VARIANT*>(&value_), 0, VT_I4))) break;
      return static_cast<std::int32_t>(as_long.get()->lVal);
    }
    default:
      break;
  }
  throw RuntimeError(err::kTypeMismatch);
}

}  // namespace vav::win32
