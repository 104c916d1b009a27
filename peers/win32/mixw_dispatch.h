#pragma once
// The IDispatch of "MixW2.Application" over the stand-in's automation object. Members are
// found by name in any letter case (GetIDsOfNames) and called through Invoke: properties
// audiofq, FqA and Mode (get and put), methods ExecuteMacros and SetQsoData. Arguments
// arrive last-first in DISPPARAMS and are handed over first-first. A failed call is an
// HRESULT the caller can map: unknown member DISP_E_MEMBERNOTFOUND, wrong type
// DISP_E_TYPEMISMATCH, wrong count DISP_E_BADPARAMCOUNT, MixW gone RPC_E_DISCONNECTED,
// anything else DISP_E_EXCEPTION with the runtime error in EXCEPINFO.
#include <windows.h>
// windows.h first: the headers below need its types.
#include <oaidl.h>

#include <functional>
#include <memory>
#include <string>

#include "platform/automation.h"

namespace vav::peers::win32 {

class MixwDispatch final : public IDispatch {
 public:
  // Runs after every Invoke with the member's name and the outcome (for the journal).
  using AfterCall = std::function<void(const std::string& member, HRESULT outcome)>;
  MixwDispatch(std::shared_ptr<AutomationObject> object, AfterCall after_call);

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  // IDispatch
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* exception, UINT* arg_error) override;

 private:
  ~MixwDispatch() = default;  // through Release only
  HRESULT invoke_member(DISPID id, WORD flags, DISPPARAMS* params, Variant& result);

  LONG references_ = 1;
  std::shared_ptr<AutomationObject> object_;
  AfterCall after_call_;
};

}  // namespace vav::peers::win32
