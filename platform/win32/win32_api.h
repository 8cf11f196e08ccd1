// <windows.h> for the Win32 adapters. The seam's members carry the Win32
// names (FindWindow, MessageBox, ...), which <windows.h> defines as macros
// for its A and W forms; the adapters call the W forms by their full names,
// so the macros are dropped here.
#pragma once

#include <windows.h>
// After <windows.h>, which it needs.
#include <shellapi.h>

#undef CreateFile
#undef DeleteFile
#undef FindWindow
#undef FindWindowEx
#undef GetClassName
#undef GetEnvironmentVariable
#undef GetFileAttributes
#undef GetModuleFileName
#undef GetWindowText
#undef MessageBox
#undef PostMessage
#undef SendMessageTimeout
#undef ShellExecute
