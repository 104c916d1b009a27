#pragma once
// The program's one error type: a classic runtime error number with its standard
// description. Adapters turn platform failures into it; the procedures that trap their
// errors catch it and hand it to ReportError.
#include <cstdint>
#include <stdexcept>
#include <string>

namespace vav {

// Numbers used across the program, named once.
namespace err {
inline constexpr int kInvalidProcedureCall = 5;
inline constexpr int kOverflow = 6;
inline constexpr int kOutOfMemory = 7;
inline constexpr int kSubscriptOutOfRange = 9;
inline constexpr int kDivisionByZero = 11;
inline constexpr int kTypeMismatch = 13;
inline constexpr int kInternalError = 51;  // a fault of the program itself
inline constexpr int kFileNotFound = 53;
inline constexpr int kBadFileMode = 54;
inline constexpr int kDeviceIoError = 57;
inline constexpr int kDiskFull = 61;
inline constexpr int kInputPastEnd = 62;
inline constexpr int kPermissionDenied = 70;
inline constexpr int kPathFileAccess = 75;
inline constexpr int kPathNotFound = 76;
inline constexpr int kObjectNotSet = 91;
inline constexpr int kNoDdeResponse = 282;  // nobody answered the initiate
inline constexpr int kDdeRefused = 285;     // the server will not perform the operation
inline constexpr int kDdeTimeout = 286;     // no answer within the link time-out
inline constexpr int kDdeNoChannel = 293;   // the conversation is not open
inline constexpr int kInvalidPropertyValue = 380;
inline constexpr int kCannotCreateObject = 429;  // no running automation object
inline constexpr int kMemberNotSupported = 438;
inline constexpr int kAutomationError = 440;
inline constexpr int kServerUnavailable = 462;  // the automation server went away
}  // namespace err

// The standard description of a classic runtime error number.
std::string standard_description(int number);

class RuntimeError : public std::runtime_error {
 public:
  explicit RuntimeError(int number);
  RuntimeError(int number, const std::string& description);

  int number() const { return number_; }
  std::string description() const { return what(); }

 private:
  int number_;
};

}  // namespace vav
