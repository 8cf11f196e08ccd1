// Handle and status types shared by every interface of the platform seam.
//
// The values mirror Win32 exactly, so that the Win32 adapters pass them
// through unchanged and the simulated desktop hands out values of the same
// shape (predefined registry roots included).
#pragma once

#include <cstdint>

namespace tb::platform {

// A window handle (HWND) as a number; 0 is "no window".
using Hwnd = std::uintptr_t;

// A registry key handle (HKEY) as a number; 0 is "no key".
using RegKey = std::uintptr_t;

// Win32 result codes (LSTATUS / DWORD error codes).
using Status = std::int32_t;

// COM result codes.
using HResult = std::int32_t;

// The predefined roots are negative 32-bit numbers, sign-extended on 64-bit
// Windows, exactly as <winreg.h> defines them.
inline constexpr RegKey kHkeyClassesRoot =
    static_cast<RegKey>(static_cast<std::intptr_t>(static_cast<std::int32_t>(0x80000000U)));
inline constexpr RegKey kHkeyCurrentUser =
    static_cast<RegKey>(static_cast<std::intptr_t>(static_cast<std::int32_t>(0x80000001U)));
inline constexpr RegKey kHkeyLocalMachine =
    static_cast<RegKey>(static_cast<std::intptr_t>(static_cast<std::int32_t>(0x80000002U)));

inline constexpr Status kErrorSuccess = 0;
inline constexpr Status kErrorFileNotFound = 2;
inline constexpr Status kErrorAccessDenied = 5;
inline constexpr Status kErrorInvalidHandle = 6;
inline constexpr Status kErrorInvalidParameter = 87;
inline constexpr Status kErrorMoreData = 234;
inline constexpr Status kErrorKeyDeleted = 1018;

inline constexpr HResult kSOk = 0;
inline constexpr HResult kSFalse = 1;
inline constexpr HResult kEFail = static_cast<HResult>(0x80004005U);

constexpr bool Succeeded(HResult hr) { return hr >= 0; }

}  // namespace tb::platform
