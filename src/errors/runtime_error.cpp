#include "errors/runtime_error.h"

#include <array>
#include <utility>

namespace vav {

std::string standard_description(int number) {
  static constexpr std::array<std::pair<int, const char*>, 44> kTable{{
      {3, "Return without GoSub"},
      {5, "Invalid procedure call or argument"},
      {6, "Overflow"},
      {7, "Out of memory"},
      {9, "Subscript out of range"},
      {10, "This array is fixed or temporarily locked"},
      {11, "Division by zero"},
      {13, "Type mismatch"},
      {14, "Out of string space"},
      {16, "Expression too complex"},
      {17, "Can't perform requested operation"},
      {18, "User interrupt occurred"},
      {20, "Resume without error"},
      {28, "Out of stack space"},
      {35, "Sub or Function not defined"},
      {47, "Too many DLL application clients"},
      {48, "Error in loading DLL"},
      {49, "Bad DLL calling convention"},
      {51, "Internal error"},
      {52, "Bad file name or number"},
      {53, "File not found"},
      {54, "Bad file mode"},
      {55, "File already open"},
      {57, "Device I/O error"},
      {58, "File already exists"},
      {59, "Bad record length"},
      {61, "Disk full"},
      {62, "Input past end of file"},
      {63, "Bad record number"},
      {67, "Too many files"},
      {68, "Device unavailable"},
      {70, "Permission denied"},
      {71, "Disk not ready"},
      {74, "Can't rename with different drive"},
      {75, "Path/File access error"},
      {76, "Path not found"},
      {91, "Object variable or With block variable not set"},
      {282, "No foreign application responded to a DDE initiate"},
      {285, "Foreign application won't perform DDE method or operation"},
      {286, "Timeout while waiting for DDE response"},
      {293, "DDE method invoked with no channel open"},
      {380, "Invalid property value"},
      {429, "ActiveX component can't create object"},
      {438, "Object doesn't support this property or method"},
  }};
  for (const auto& [n, text] : kTable) {
    if (n == number) return text;
  }
  if (number == 440) return "Automation error";
  if (number == 462) return "The remote server machine does not exist or is unavailable";
  return "Application-defined or object-defined error";
}

RuntimeError::RuntimeError(int number)
    : std::runtime_error(standard_description(number)), number_(number) {}

RuntimeError::RuntimeError(int number, const std::string& description)
    : std::runtime_error(description), number_(number) {}

}  // namespace vav
