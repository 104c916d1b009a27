// e2e_bare_bridge.exe log|spot|window
// The floor of the end-to-end benchmarks: a bridge with no logic between the same stand-ins,
// over the same transports, so that the program's latency can be set beside what the path
// itself costs on this machine.
//   log:  a hot link on MixW|QSO "Command"; when it turns "WRITE", one execute of a fixed QSO
//         record of a typical length on DXKeeper|DDEServer.
//   spot: serves Vavizorur|DDEServer; on each "setscnewentry" execute, once the transaction
//         is over, the same automation calls on MixW2.Application as the program makes
//         before it retunes, then one execute of "xcvrfreqmode" on CI-V Commander|DDEServer.
//   window: one visible window with a tab control and nothing else, for the memory floor.
// Runs until WM_QUIT or until it is killed.
#include <windows.h>
// windows.h first: the headers below need its types.
#include <oleauto.h>

#include <commctrl.h>

#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "bench/e2e/raw_client.h"
#include "peers/win32/com_registration.h"
#include "peers/win32/ddeml_host.h"
#include "peers/win32/task_queue.h"

using namespace vav::peers::win32;
using vav::bench::RawClient;
using vav::peers::Answer;

namespace {

// As long as the record the program sends for a QSO of the driver's.
constexpr const char* kLogRecord =
    "001log<CALL:7>Q1B0001 <RST_RCVD:3>599 <RST_SENT:3>579 <FREQ:9>14.070151 <BAND:3>20M "
    "<MODE:5>PSK31 <QSO_DATE:8>20261206 <TIME_ON:6>201000 <TIME_OFF:6>211000 <NAME:5>Alice "
    "<PFX:2>Q1 <EOR>";
constexpr const char* kXcvrFreqMode = "000xcvrfreqmode<xcvrfreq:8>14068.65<xcvrmode:5>PSK31";

class Automation {
 public:
  bool connect() {
    CLSID clsid;
    if (FAILED(CLSIDFromProgID(L"MixW2.Application", &clsid))) return false;
    IUnknown* unknown = nullptr;
    if (FAILED(GetActiveObject(clsid, nullptr, &unknown))) return false;
    const HRESULT hr = unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&object_));
    unknown->Release();
    return SUCCEEDED(hr);
  }
  ~Automation() {
    if (object_) object_->Release();
  }
  // By name, as late binding calls: GetIDsOfNames the first time, then Invoke.
  void call(const wchar_t* member, WORD flags, std::optional<VARIANT> argument = {}) {
    DISPID& id = ids_[member];
    LPOLESTR names[] = {const_cast<LPOLESTR>(member)};
    if (id == 0 && FAILED(object_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) {
      return;
    }
    DISPID put = DISPID_PROPERTYPUT;
    const bool is_put = flags == DISPATCH_PROPERTYPUT;
    DISPPARAMS params{argument ? &*argument : nullptr, is_put ? &put : nullptr, argument ? 1u : 0u,
                      is_put ? 1u : 0u};
    VARIANT result;
    VariantInit(&result);
    object_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, is_put ? nullptr : &result,
                    nullptr, nullptr);
    VariantClear(&result);
  }
  void text_call(const wchar_t* member, WORD flags, const wchar_t* text) {
    VARIANT argument;
    argument.vt = VT_BSTR;
    argument.bstrVal = SysAllocString(text);
    call(member, flags, argument);
    VariantClear(&argument);
  }

 private:
  IDispatch* object_ = nullptr;
  std::map<std::wstring, DISPID> ids_;  // 0 while unknown: the stand-in numbers from 1
};

// The bridge's own DDE topic for SpotCollector: every execute is accepted and answered at
// once; the work it asks for runs afterwards from the message loop.
class SpotTopic final : public ServedProgram {
 public:
  SpotTopic(TaskQueue& tasks, std::function<void()> work) : tasks_(tasks), work_(work) {}
  bool has_topic(const std::string& topic) const override {
    return _stricmp(topic.c_str(), "DDEServer") == 0;
  }
  std::optional<std::string> item(const std::string&, const std::string&) const override {
    return std::nullopt;
  }
  Answer execute(const std::string&, const std::string& command) override {
    if (command.find("setscnewentry") != std::string::npos) tasks_.post(work_);
    return Answer::accepted;
  }
  void note(const std::string&) override {}

 private:
  TaskQueue& tasks_;
  std::function<void()> work_;
};

int run_log() {
  RawClient keeper("DXKeeper", "DDEServer");
  RawClient mixw("MixW", "QSO");
  if (!keeper.ok() || !mixw.ok()) {
    std::fprintf(stderr, "e2e_bare_bridge: MixW or DXKeeper does not answer\n");
    return 1;
  }
  mixw.advise("Command", [&keeper](const std::string& value) {
    if (value == "WRITE") keeper.execute(kLogRecord);
  });
  return run_message_loop();
}

int run_spot() {
  ComApartment com;
  Automation mixw;
  RawClient commander("CI-V Commander", "DDEServer");
  if (!com.ok() || !mixw.connect() || !commander.ok()) {
    std::fprintf(stderr, "e2e_bare_bridge: MixW's object or Commander is missing\n");
    return 1;
  }
  TaskQueue tasks;
  DdemlHost host;
  SpotTopic topic(tasks, [&] {
    mixw.text_call(L"ExecuteMacros", DISPATCH_METHOD, L"<CLEARQSO>");
    mixw.text_call(L"Mode", DISPATCH_PROPERTYPUT, L"BPSK31");
    mixw.call(L"Mode", DISPATCH_PROPERTYGET);
    mixw.text_call(L"ExecuteMacros", DISPATCH_METHOD, L"<AUDIOFQ:1500>");
    mixw.text_call(L"ExecuteMacros", DISPATCH_METHOD, L"<ZFQ:14068.650>");
    commander.execute(kXcvrFreqMode);
  });
  DdemlService service(host, "Vavizorur", topic);
  return run_message_loop();
}

// The least a visible Windows program holds under Wine: one top-level window with a tab
// control, the floor of the program's private memory.
int run_window() {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES};
  InitCommonControlsEx(&controls);
  PeerWindow window(
      PeerWindow::Kind::visible_top_level,
      [](UINT, WPARAM, LPARAM) { return std::optional<LRESULT>{}; }, "BareWindow");
  CreateWindowExA(0, WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE, 0, 0, 300, 200, window.hwnd(),
                  nullptr, GetModuleHandleA(nullptr), nullptr);
  return run_message_loop();
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "log") return run_log();
  if (mode == "spot") return run_spot();
  if (mode == "window") return run_window();
  std::fprintf(stderr, "usage: e2e_bare_bridge log|spot|window\n");
  return 2;
}
