# x86_64 Windows. The oldest system it runs on, as _WIN32_WINNT spells it:
# Windows XP Professional x64 Edition.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TB_MINGW_TRIPLE x86_64-w64-mingw32)
set(TB_WINE_ARCH win64)
set(TB_WINDOWS_FLOOR 0x0502)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
