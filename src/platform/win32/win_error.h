#pragma once
// The one place where Windows failure codes become classic runtime error numbers.
#include <windows.h>

namespace vav::win32 {

// GetLastError of a failed file operation.
int file_error_number(DWORD error);
[[noreturn]] void throw_file_error(DWORD error);

// HRESULT of a failed member lookup or call on an automation object.
int member_error_number(HRESULT hr);

// HRESULT of a failed attempt to take a running automation object.
int acquire_error_number(HRESULT hr);

}  // namespace vav::win32
