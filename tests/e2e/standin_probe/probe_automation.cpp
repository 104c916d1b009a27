#include "tests/e2e/standin_probe/probe_automation.h"

#include <windows.h>
// windows.h first: the headers below need its types.
#include <oleauto.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "peers/mixw.h"
#include "peers/win32/com_registration.h"
#include "peers/win32/com_variant.h"

namespace vav::peers::win32 {
namespace {

// A held IDispatch, called by member name as a late-binding client does.
class Dispatch {
 public:
  Dispatch() = default;
  ~Dispatch() {
    if (dispatch_) dispatch_->Release();
  }
  Dispatch(const Dispatch&) = delete;
  Dispatch& operator=(const Dispatch&) = delete;

  HRESULT take_active(const std::string& prog_id) {
    CLSID clsid;
    HRESULT hr = CLSIDFromProgID(wide_of(prog_id).c_str(), &clsid);
    if (FAILED(hr)) return hr;
    IUnknown* unknown = nullptr;
    hr = GetActiveObject(clsid, nullptr, &unknown);
    if (FAILED(hr)) return hr;
    hr = unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch_));
    unknown->Release();
    return hr;
  }

  HRESULT invoke(const std::string& name, WORD flags, std::vector<Variant> args, Variant* result) {
    std::wstring wide = wide_of(name);
    LPOLESTR names[] = {wide.data()};
    DISPID id = 0;
    HRESULT hr = dispatch_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) return hr;
    std::vector<VARIANT> values(args.size());
    for (std::size_t i = 0; i < args.size(); ++i) to_variant(args[args.size() - 1 - i], values[i]);
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{values.data(), nullptr, static_cast<UINT>(values.size()), 0};
    if (flags == DISPATCH_PROPERTYPUT) {
      params.rgdispidNamedArgs = &named;
      params.cNamedArgs = 1;
    }
    VARIANT out;
    VariantInit(&out);
    EXCEPINFO exception{};
    hr = dispatch_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, &out, &exception,
                           nullptr);
    if (SUCCEEDED(hr) && result != nullptr) *result = from_variant(out).value_or(Variant{});
    VariantClear(&out);
    for (auto& value : values) VariantClear(&value);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
    return hr;
  }

 private:
  IDispatch* dispatch_ = nullptr;
};

std::string shown(const Variant& value) {
  if (const auto* s = std::get_if<std::string>(&value)) return "\"" + *s + "\"";
  if (const auto* d = std::get_if<double>(&value)) return std::to_string(*d);
  if (const auto* i = std::get_if<std::int32_t>(&value)) return std::to_string(*i);
  return "(other)";
}

bool check(bool ok, const std::string& what) {
  std::printf("%s %s\n", ok ? "ok" : "FAILED", what.c_str());
  std::fflush(stdout);
  return ok;
}

}  // namespace

int probe_automation() {
  ComApartment com;
  Dispatch mixw;
  HRESULT hr = mixw.take_active(kMixwProgId);
  if (!check(SUCCEEDED(hr), "GetActiveObject MixW2.Application")) return 1;
  bool ok = true;
  Variant mode;
  hr = mixw.invoke("Mode", DISPATCH_PROPERTYGET, {}, &mode);
  ok &= check(SUCCEEDED(hr) && std::holds_alternative<std::string>(mode),
              "get Mode = " + shown(mode));
  hr = mixw.invoke("audiofq", DISPATCH_PROPERTYPUT, {Variant{1234.0}}, nullptr);
  ok &= check(SUCCEEDED(hr), "put audiofq 1234");
  Variant audio;
  hr = mixw.invoke("AUDIOFQ", DISPATCH_PROPERTYGET | DISPATCH_METHOD, {}, &audio);
  ok &= check(SUCCEEDED(hr) && audio == Variant{1234.0}, "get AUDIOFQ = " + shown(audio));
  hr =
      mixw.invoke("ExecuteMacros", DISPATCH_METHOD, {Variant{std::string("<MODE:RTTY>")}}, nullptr);
  ok &= check(SUCCEEDED(hr), "call ExecuteMacros(\"<MODE:RTTY>\")");
  hr = mixw.invoke("Mode", DISPATCH_PROPERTYGET, {}, &mode);
  ok &= check(SUCCEEDED(hr) && mode == Variant{std::string("RTTY")}, "Mode = " + shown(mode));
  Variant dial;
  hr = mixw.invoke("FqA", DISPATCH_PROPERTYGET, {}, &dial);
  ok &= check(SUCCEEDED(hr) && std::holds_alternative<double>(dial), "get FqA = " + shown(dial));
  hr = mixw.invoke("NoSuchMember", DISPATCH_PROPERTYGET, {}, nullptr);
  ok &= check(hr == DISP_E_UNKNOWNNAME, "NoSuchMember refused by name");
  hr = mixw.invoke("ExecuteMacros", DISPATCH_METHOD, {}, nullptr);
  ok &= check(hr == DISP_E_BADPARAMCOUNT, "ExecuteMacros without its argument refused");
  return ok ? 0 : 1;
}

int probe_automation_gone() {
  ComApartment com;
  Dispatch mixw;
  const HRESULT hr = mixw.take_active(kMixwProgId);
  char text[16];
  std::snprintf(text, sizeof text, "%08lx", static_cast<unsigned long>(hr));
  return check(FAILED(hr), std::string("GetActiveObject fails: ") + text) ? 0 : 1;
}

int probe_automation_vanish(const ProbeOptions& options) {
  ComApartment com;
  Dispatch held;
  if (!check(SUCCEEDED(held.take_active(kMixwProgId)), "GetActiveObject before")) return 1;
  if (!check(send_trigger(options.then), "trigger")) return 1;
  // The stand-in carries the command out once the control conversation has ended; until
  // then the held reference still works.
  Variant mode;
  HRESULT hr = S_OK;
  const DWORD start = GetTickCount();
  while (SUCCEEDED(hr = held.invoke("Mode", DISPATCH_PROPERTYGET, {}, &mode)) &&
         GetTickCount() - start < options.timeout_ms) {
    Sleep(50);  // a probe tool polling another process, not a unit test
  }
  char text[16];
  std::snprintf(text, sizeof text, "%08lx", static_cast<unsigned long>(hr));
  bool ok = check(FAILED(hr), std::string("held reference fails: ") + text);
  Dispatch again;
  ok &= check(FAILED(again.take_active(kMixwProgId)), "GetActiveObject after fails");
  return ok ? 0 : 1;
}

}  // namespace vav::peers::win32
