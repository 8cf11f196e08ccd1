# Checks what one of our COM servers (Tunebadge.dll, the publisher) shows
# the loader: exactly the four entry points of an in-process COM server,
# undecorated, and no import of a MinGW runtime library (the host machine
# has none).
#
#   cmake -DOBJDUMP=<objdump> -DDLL=<dll> -P check_dll.cmake
if(NOT OBJDUMP OR NOT DLL)
  message(FATAL_ERROR "usage: cmake -DOBJDUMP=<objdump> -DDLL=<dll> -P check_dll.cmake")
endif()

execute_process(COMMAND ${OBJDUMP} -p ${DLL}
  OUTPUT_VARIABLE headers RESULT_VARIABLE status TIMEOUT 60)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} -p ${DLL} failed: ${status}")
endif()

# The names after "[Ordinal/Name Pointer] Table", one per line, up to the
# first blank line.
string(REPLACE "\n" ";" lines "${headers}")
set(exports)
set(in_names FALSE)
set(imports)
foreach(line IN LISTS lines)
  if(line MATCHES "^\\[Ordinal/Name Pointer\\] Table")
    set(in_names TRUE)
  elseif(in_names)
    if(line MATCHES "^[ \t]*\\[ *[0-9]+\\] (.+)$")
      list(APPEND exports "${CMAKE_MATCH_1}")
    else()
      set(in_names FALSE)
    endif()
  endif()
  if(line MATCHES "^[ \t]*DLL Name: (.+)$")
    list(APPEND imports "${CMAKE_MATCH_1}")
  endif()
endforeach()

set(failures)
set(expected DllCanUnloadNow DllGetClassObject DllRegisterServer DllUnregisterServer)
list(SORT exports)
if(NOT exports STREQUAL expected)
  list(JOIN expected ", " want)
  list(JOIN exports ", " got)
  list(APPEND failures "exports: expected [${want}], got [${got}]")
endif()
if(imports STREQUAL "")
  list(APPEND failures "no imports found in the objdump output")
endif()
foreach(import IN LISTS imports)
  string(TOLOWER "${import}" name)
  if(name MATCHES "^(libgcc_s|libstdc\\+\\+|libwinpthread)")
    list(APPEND failures "imports MinGW runtime ${import}")
  endif()
endforeach()

get_filename_component(dll_name "${DLL}" NAME)
if(failures)
  list(JOIN failures "\n  " report)
  message(FATAL_ERROR "${dll_name}:\n  ${report}")
endif()
list(JOIN exports ", " exported)
list(JOIN imports ", " imported)
message(STATUS "${dll_name} exports ${exported}; imports ${imported}")
