# i686 Windows, the build that ships: the host is a 32-bit process.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TB_MINGW_TRIPLE i686-w64-mingw32)
set(TB_WINE_ARCH win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
