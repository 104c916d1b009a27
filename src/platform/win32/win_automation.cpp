#include "platform/win32/win_automation.h"

#include <windows.h>
// after windows.h, which it needs
#include <oleauto.h>

#include <map>

#include "errors/runtime_error.h"
#include "platform/win32/com_ptr.h"
#include "platform/win32/scoped_variant.h"
#include "platform/win32/text_codec.h"
#include "platform/win32/win_error.h"

namespace vav::win32 {
namespace {

class DispatchObject final : public AutomationObject {
 public:
  explicit DispatchObject(ComPtr<IDispatch> dispatch) : dispatch_(std::move(dispatch)) {}

  Variant get(const std::string& member) override {
    return invoke(member, DISPATCH_PROPERTYGET, {}, false);
  }

  void put(const std::string& member, const Variant& value) override {
    invoke(member, DISPATCH_PROPERTYPUT, {value}, true);
  }

  // Method or parameterized property, as late binding calls either.
  Variant call(const std::string& member, const std::vector<Variant>& args) override {
    return invoke(member, DISPATCH_METHOD | DISPATCH_PROPERTYGET, args, false);
  }

 private:
  [[noreturn]] static void fail(HRESULT hr) { throw RuntimeError(member_error_number(hr)); }

  // A member's id is looked up by name once per object and kept: every cross-process call
  // saved counts, since the 500 ms poll calls the same members for as long as MixW runs. An
  // object's ids do not change while it lives; a name it does not know is asked again.
  DISPID member_id(const std::string& member) {
    if (const auto known = ids_.find(member); known != ids_.end()) return known->second;
    std::wstring name = ansi_to_wide(member);
    LPOLESTR names[] = {name.data()};
    DISPID id = DISPID_UNKNOWN;
    HRESULT hr = dispatch_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) fail(hr);
    ids_.emplace(member, id);
    return id;
  }

  Variant invoke(const std::string& member, WORD flags, const std::vector<Variant>& args,
                 bool property_put) {
    DISPID id = member_id(member);
    // IDispatch takes its arguments last to first.
    std::vector<ScopedVariant> owned(args.size());
    std::vector<VARIANT> reversed(args.size());
    for (std::size_t i = 0; i < args.size(); ++i) {
      ScopedVariant converted(args[args.size() - 1 - i]);
      VariantCopy(owned[i].receive(), converted.get());
      reversed[i] = *owned[i].get();
    }
    DISPID named_put = DISPID_PROPERTYPUT;
    DISPPARAMS params{reversed.data(), property_put ? &named_put : nullptr,
                      static_cast<UINT>(reversed.size()), property_put ? 1u : 0u};
    ScopedVariant result;
    EXCEPINFO exception{};
    UINT bad_arg = 0;
    HRESULT hr = dispatch_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                                   property_put ? nullptr : result.receive(), &exception, &bad_arg);
    Variant value = SUCCEEDED(hr) ? result.to_variant() : Variant{};
    SysFreeString(exception.bstrSource);
    std::wstring description;
    if (exception.bstrDescription) {
      description.assign(exception.bstrDescription, SysStringLen(exception.bstrDescription));
    }
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
    if (FAILED(hr)) {
      if (hr == DISP_E_EXCEPTION && !description.empty()) {
        // The server's own words for what went wrong, under the automation error's number.
        throw RuntimeError(member_error_number(hr), wide_to_ansi(description));
      }
      fail(hr);
    }
    return value;
  }

  ComPtr<IDispatch> dispatch_;
  std::map<std::string, DISPID> ids_;
};

}  // namespace

WinAutomation::WinAutomation() {
  HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  uninitialize_ = SUCCEEDED(hr);  // S_FALSE too: each success is paired with CoUninitialize
}

WinAutomation::~WinAutomation() {
  if (uninitialize_) CoUninitialize();
}

std::shared_ptr<AutomationObject> WinAutomation::get_active_object(const std::string& prog_id) {
  std::wstring wide = ansi_to_wide(prog_id);
  CLSID clsid;
  HRESULT hr = CLSIDFromProgID(wide.c_str(), &clsid);
  if (FAILED(hr)) throw RuntimeError(acquire_error_number(hr));
  ComPtr<IUnknown> unknown;
  hr = GetActiveObject(clsid, nullptr, unknown.receive());
  if (FAILED(hr)) throw RuntimeError(acquire_error_number(hr));
  ComPtr<IDispatch> dispatch;
  hr = unknown->QueryInterface(IID_IDispatch, dispatch.receive_void());
  if (FAILED(hr)) throw RuntimeError(acquire_error_number(hr));
  return std::make_shared<DispatchObject>(std::move(dispatch));
}

}  // namespace vav::win32
