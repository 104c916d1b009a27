#include "platform/win32/win_error.h"

#include "errors/runtime_error.h"

namespace vav::win32 {

int file_error_number(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
      return err::kFileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
      return err::kPathNotFound;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
      return err::kPermissionDenied;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return err::kDiskFull;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    default:
      return err::kPathFileAccess;
  }
}

void throw_file_error(DWORD error) { throw RuntimeError(file_error_number(error)); }

int member_error_number(HRESULT hr) {
  switch (hr) {
    case RPC_E_DISCONNECTED:
    case HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE):
    case HRESULT_FROM_WIN32(RPC_S_CALL_FAILED):
    case RPC_E_SERVER_DIED:
    case RPC_E_SERVER_DIED_DNE:
    case CO_E_OBJNOTCONNECTED:
      return err::kServerUnavailable;
    case DISP_E_UNKNOWNNAME:
    case DISP_E_MEMBERNOTFOUND:
      return err::kMemberNotSupported;
    case DISP_E_TYPEMISMATCH:
      return err::kTypeMismatch;
    default:
      return err::kAutomationError;
  }
}

int acquire_error_number(HRESULT hr) {
  // MK_E_UNAVAILABLE (nothing in the running-object table), CO_E_CLASSSTRING (ProgID
  // unknown) and whatever else: there is no object to talk to.
  (void)hr;
  return err::kCannotCreateObject;
}

}  // namespace vav::win32
