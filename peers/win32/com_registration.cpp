#include "peers/win32/com_registration.h"

#include <oleauto.h>

#include "peers/win32/com_variant.h"

namespace vav::peers::win32 {
namespace {

bool write_default(HKEY root, const std::string& path, const std::string& value) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS) {
    return false;
  }
  const LONG result =
      RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>(value.size() + 1));
  RegCloseKey(key);
  return result == ERROR_SUCCESS;
}

std::string clsid_text(const CLSID& clsid) {
  wchar_t text[64] = {};
  StringFromGUID2(clsid, text, 64);
  return ansi_of(text);
}

}  // namespace

std::string register_prog_id(const std::string& prog_id, const CLSID& clsid) {
  const std::string id = clsid_text(clsid);
  std::string failed;
  const std::pair<HKEY, const char*> roots[] = {{HKEY_CURRENT_USER, "HKCU"},
                                                {HKEY_LOCAL_MACHINE, "HKLM"}};
  for (const auto& [root, name] : roots) {
    const bool ok = write_default(root, "Software\\Classes\\" + prog_id, prog_id) &&
                    write_default(root, "Software\\Classes\\" + prog_id + "\\CLSID", id) &&
                    write_default(root, "Software\\Classes\\CLSID\\" + id, prog_id) &&
                    write_default(root, "Software\\Classes\\CLSID\\" + id + "\\ProgID", prog_id);
    if (!ok) failed += std::string(failed.empty() ? "" : ",") + name;
  }
  return failed;
}

ActiveObject::ActiveObject(IUnknown* object, const CLSID& clsid) : object_(object) {
  object_->AddRef();
  status_ = RegisterActiveObject(object_, clsid, ACTIVEOBJECT_STRONG, &cookie_);
}

ActiveObject::~ActiveObject() {
  if (SUCCEEDED(status_)) RevokeActiveObject(cookie_, nullptr);
  CoDisconnectObject(object_, 0);
  object_->Release();
}

}  // namespace vav::peers::win32
