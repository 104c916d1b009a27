#include "peers/win32/com_variant.h"

#include <oleauto.h>

namespace vav::peers::win32 {

std::string ansi_of(const wchar_t* text, int length) {
  if (text == nullptr || length == 0) return {};
  const int size = WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
  if (size > 0) WideCharToMultiByte(CP_ACP, 0, text, length, out.data(), size, nullptr, nullptr);
  if (length < 0 && !out.empty()) out.pop_back();  // the converted terminator
  return out;
}

std::wstring wide_of(const std::string& text) {
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  const int size = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
  std::wstring out(static_cast<std::size_t>(size > 0 ? size : 0), L'\0');
  if (size > 0) MultiByteToWideChar(CP_ACP, 0, text.data(), length, out.data(), size);
  return out;
}

std::optional<Variant> from_variant(const VARIANT& in) {
  VARIANT value;
  VariantInit(&value);
  // VariantCopyInd only reads its source, though it is declared otherwise.
  if (FAILED(VariantCopyInd(&value, const_cast<VARIANT*>(&in)))) return std::nullopt;
  std::optional<Variant> out;
  switch (V_VT(&value)) {
    case VT_EMPTY:
    case VT_NULL:
      out = Variant{};
      break;
    case VT_BOOL:
      out = Variant{V_BOOL(&value) != VARIANT_FALSE};
      break;
    case VT_BSTR:
      out = Variant{ansi_of(V_BSTR(&value), static_cast<int>(SysStringLen(V_BSTR(&value))))};
      break;
    case VT_I1:
    case VT_UI1:
    case VT_I2:
    case VT_UI2:
    case VT_I4:
    case VT_UI4:
    case VT_INT:
    case VT_UINT:
    case VT_I8:
    case VT_UI8:
      if (SUCCEEDED(VariantChangeType(&value, &value, 0, VT_I4))) {
        out = Variant{static_cast<std::int32_t>(V_I4(&value))};
      }
      break;
    case VT_R4:
    case VT_R8:
    case VT_CY:
    case VT_DATE:
    case VT_DECIMAL:
      if (SUCCEEDED(VariantChangeType(&value, &value, 0, VT_R8))) out = Variant{V_R8(&value)};
      break;
    default:
      break;
  }
  VariantClear(&value);
  return out;
}

void to_variant(const Variant& value, VARIANT& out) {
  VariantInit(&out);
  if (const auto* b = std::get_if<bool>(&value)) {
    V_VT(&out) = VT_BOOL;
    V_BOOL(&out) = *b ? VARIANT_TRUE : VARIANT_FALSE;
  } else if (const auto* i = std::get_if<std::int32_t>(&value)) {
    V_VT(&out) = VT_I4;
    V_I4(&out) = *i;
  } else if (const auto* d = std::get_if<double>(&value)) {
    V_VT(&out) = VT_R8;
    V_R8(&out) = *d;
  } else if (const auto* s = std::get_if<std::string>(&value)) {
    const std::wstring wide = wide_of(*s);
    V_VT(&out) = VT_BSTR;
    V_BSTR(&out) = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
  }
}

}  // namespace vav::peers::win32
