#include "peers/win32/dde_memory.h"

#include <dde.h>

#include <cstddef>
#include <cstring>

namespace vav::peers::win32 {

std::string atom_name(ATOM atom) {
  if (atom == 0) return {};
  char name[256] = {};
  const UINT length = GlobalGetAtomNameA(atom, name, sizeof name);
  return std::string(name, length);
}

std::string global_text(HGLOBAL memory, std::size_t offset) {
  if (memory == nullptr) return {};
  const auto* data = static_cast<const char*>(GlobalLock(memory));
  if (data == nullptr) return {};
  const std::size_t size = GlobalSize(memory);
  std::string out;
  if (size > offset) {
    const char* begin = data + offset;
    const auto* zero = static_cast<const char*>(std::memchr(begin, 0, size - offset));
    out.assign(begin, zero ? zero : data + size);
  }
  GlobalUnlock(memory);
  return out;
}

HGLOBAL make_text_data(const std::string& value, bool response, bool ack_req) {
  const std::size_t header = offsetof(DDEDATA, Value);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, header + value.size() + 1);
  if (memory == nullptr) return nullptr;
  auto* data = static_cast<DDEDATA*>(GlobalLock(memory));
  if (data == nullptr) {
    GlobalFree(memory);
    return nullptr;
  }
  std::memset(data, 0, header);
  data->fResponse = response ? 1 : 0;
  data->fRelease = 1;
  data->fAckReq = ack_req ? 1 : 0;
  data->cfFormat = CF_TEXT;
  std::memcpy(data->Value, value.c_str(), value.size() + 1);
  GlobalUnlock(memory);
  return memory;
}

}  // namespace vav::peers::win32
