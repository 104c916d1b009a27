#pragma once
// VARIANT <-> vav::Variant at the COM edge. Text crosses as BSTR and is ANSI (CP_ACP) on
// our side. Integers of every width become Int32, reals, currency and dates Double; a
// by-reference argument is read through its reference.
#include <windows.h>
// windows.h first: the headers below need its types.
#include <oaidl.h>

#include <optional>
#include <string>

#include "platform/automation.h"

namespace vav::peers::win32 {

std::string ansi_of(const wchar_t* text, int length = -1);
std::wstring wide_of(const std::string& text);

// nullopt for a type that has no counterpart (objects, arrays).
std::optional<Variant> from_variant(const VARIANT& value);
// Fills an empty (VT_EMPTY) VARIANT; the caller owns what it holds.
void to_variant(const Variant& value, VARIANT& out);

}  // namespace vav::peers::win32
