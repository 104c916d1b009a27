#include "peers/win32/mixw_dispatch.h"

#include <oleauto.h>

#include <iterator>
#include <vector>

#include "errors/runtime_error.h"
#include "peers/peer_text.h"
#include "peers/win32/com_variant.h"

namespace vav::peers::win32 {
namespace {

struct Member {
  const char* name;
  bool method;
};
// A DISPID is the member's position here plus one.
constexpr Member kMembers[] = {{"audiofq", false},
                               {"FqA", false},
                               {"Mode", false},
                               {"ExecuteMacros", true},
                               {"SetQsoData", true}};

const Member* member_of(DISPID id) {
  if (id < 1 || id > static_cast<DISPID>(std::size(kMembers))) return nullptr;
  return &kMembers[id - 1];
}

HRESULT hresult_of(const RuntimeError& error, EXCEPINFO* exception) {
  switch (error.number()) {
    case err::kMemberNotSupported:
      return DISP_E_MEMBERNOTFOUND;
    case err::kTypeMismatch:
      return DISP_E_TYPEMISMATCH;
    case err::kAutomationError:
      return DISP_E_BADPARAMCOUNT;
    case err::kServerUnavailable:
      return RPC_E_DISCONNECTED;
    default:
      break;
  }
  if (exception != nullptr) {
    *exception = EXCEPINFO{};
    exception->bstrSource = SysAllocString(L"MixW2.Application");
    exception->bstrDescription = SysAllocString(wide_of(error.description()).c_str());
    // Runtime errors travel as FACILITY_CONTROL codes (0x800A0005 for 5).
    exception->scode = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, error.number());
  }
  return DISP_E_EXCEPTION;
}

}  // namespace

MixwDispatch::MixwDispatch(std::shared_ptr<AutomationObject> object, AfterCall after_call)
    : object_(std::move(object)), after_call_(std::move(after_call)) {}

HRESULT STDMETHODCALLTYPE MixwDispatch::QueryInterface(REFIID riid, void** out) {
  if (out == nullptr) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch)) {
    *out = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE MixwDispatch::AddRef() { return InterlockedIncrement(&references_); }

ULONG STDMETHODCALLTYPE MixwDispatch::Release() {
  const ULONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;  // COM reference counting owns the object
  return left;
}

HRESULT STDMETHODCALLTYPE MixwDispatch::GetTypeInfoCount(UINT* count) {
  if (count == nullptr) return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE MixwDispatch::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info != nullptr) *info = nullptr;
  return DISP_E_BADINDEX;
}

HRESULT STDMETHODCALLTYPE MixwDispatch::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                                      DISPID* ids) {
  if (names == nullptr || ids == nullptr || count == 0) return E_INVALIDARG;
  for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
  const std::string name = ansi_of(names[0]);
  for (std::size_t i = 0; i < std::size(kMembers); ++i) {
    if (equals_ignoring_case(name, kMembers[i].name)) {
      ids[0] = static_cast<DISPID>(i + 1);
      return count == 1 ? S_OK : DISP_E_UNKNOWNNAME;  // no named arguments
    }
  }
  return DISP_E_UNKNOWNNAME;
}

HRESULT MixwDispatch::invoke_member(DISPID id, WORD flags, DISPPARAMS* params, Variant& result) {
  const Member* member = member_of(id);
  if (member == nullptr) return DISP_E_MEMBERNOTFOUND;
  std::vector<Variant> args;
  const UINT count = params != nullptr ? params->cArgs : 0;
  for (UINT i = count; i > 0; --i) {
    auto value = from_variant(params->rgvarg[i - 1]);
    if (!value) return DISP_E_TYPEMISMATCH;
    args.push_back(std::move(*value));
  }
  if (member->method) {
    if ((flags & DISPATCH_METHOD) == 0) return DISP_E_MEMBERNOTFOUND;
    result = object_->call(member->name, args);
    return S_OK;
  }
  if ((flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0) {
    if (args.size() != 1) return DISP_E_BADPARAMCOUNT;
    object_->put(member->name, args[0]);
    return S_OK;
  }
  if (!args.empty()) return DISP_E_BADPARAMCOUNT;
  result = object_->get(member->name);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE MixwDispatch::Invoke(DISPID id, REFIID, LCID, WORD flags,
                                               DISPPARAMS* params, VARIANT* result,
                                               EXCEPINFO* exception, UINT*) {
  Variant value;
  HRESULT hr = S_OK;
  try {
    hr = invoke_member(id, flags, params, value);
  } catch (const RuntimeError& error) {
    hr = hresult_of(error, exception);
  }
  if (after_call_) {
    const Member* member = member_of(id);
    after_call_(member ? std::string(member->name) : std::to_string(id), hr);
  }
  if (SUCCEEDED(hr) && result != nullptr) to_variant(value, *result);
  return hr;
}

}  // namespace vav::peers::win32
