# i686 Windows, the build that ships: the host is a 32-bit process. The
# oldest system it runs on, as _WIN32_WINNT spells it: Windows XP.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TB_MINGW_TRIPLE i686-w64-mingw32)
set(TB_WINE_ARCH win32)
set(TB_WINDOWS_FLOOR 0x0501)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
