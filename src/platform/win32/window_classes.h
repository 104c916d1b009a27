#pragma once
// Window class names that more than one part of the Windows build needs: the main window's,
// by which a second copy of the program finds the first.
namespace vav::win32 {

inline constexpr char kMainWindowClass[] = "VavizorurMainWindow";

}  // namespace vav::win32
