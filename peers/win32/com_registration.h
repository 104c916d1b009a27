#pragma once
// What makes an automation object reachable with GetActiveObject on its ProgID: the ProgID
// and CLSID in the registry, and the object in the running-object table.
//
// Hazard: Wine's CLSIDFromProgID reads only HKLM\Software\Classes (per-user classes are not
// merged), so the ProgID is written there as well as under HKCU.
#include <windows.h>
// windows.h first: the headers below need its types.
#include <objbase.h>

#include <string>

namespace vav::peers::win32 {

// Writes "<ProgID>\CLSID" and "CLSID\{...}\ProgID" under HKCU and HKLM Software\Classes.
// Returns the roots that could not be written ("HKCU", "HKLM" joined by ","); "" when all
// were. The registration stays after the program, as an installed program's does.
std::string register_prog_id(const std::string& prog_id, const CLSID& clsid);

// COM on this thread, single-threaded apartment: calls arrive through the message loop.
class ComApartment {
 public:
  ComApartment() : ok_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComApartment() {
    if (ok_) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  bool ok() const { return ok_; }

 private:
  bool ok_;
};

// An object in the running-object table (ACTIVEOBJECT_STRONG) for as long as this lives.
// Going, it revokes the entry and disconnects every client, so that references held
// elsewhere fail at once.
class ActiveObject {
 public:
  ActiveObject(IUnknown* object, const CLSID& clsid);
  ~ActiveObject();
  ActiveObject(const ActiveObject&) = delete;
  ActiveObject& operator=(const ActiveObject&) = delete;
  HRESULT status() const { return status_; }

 private:
  IUnknown* object_;  // one reference held
  DWORD cookie_ = 0;
  HRESULT status_;
};

}  // namespace vav::peers::win32
