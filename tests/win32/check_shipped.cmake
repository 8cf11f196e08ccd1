# Checks what the loader sees of one program that ships:
#
#   cmake -DOBJDUMP=<objdump> -DPROGRAM=<file> -DALLOWED=<list> -DFLOOR=<major.minor>
#         -DEXPORTS=<name,name,...> -P check_shipped.cmake
#
# - every function it imports, the static runtime's included, is in the lists
#   that ALLOWED names (comma-separated files, one DLL!Function a line, the
#   DLL's name without regard to case): the functions of the oldest Windows
#   it is built for;
# - its headers ask for no newer Windows than FLOOR (OS and subsystem version);
# - it carries no debug sections;
# - it exports exactly the names EXPORTS gives, undecorated (none when empty).
# Every fault is named; any fault fails the check.
cmake_minimum_required(VERSION 3.25)
foreach(input OBJDUMP PROGRAM ALLOWED FLOOR)
  if(NOT ${input})
    message(FATAL_ERROR "check_shipped.cmake: ${input} is missing")
  endif()
endforeach()
get_filename_component(name ${PROGRAM} NAME)

execute_process(COMMAND ${OBJDUMP} -p -h ${PROGRAM}
  OUTPUT_VARIABLE headers RESULT_VARIABLE status TIMEOUT 60)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} -p -h ${PROGRAM} failed: ${status}")
endif()

# ALLOWED may name several lists, separated by commas.
string(REPLACE "," ";" allowed_files "${ALLOWED}")
set(allowed)
foreach(list_file IN LISTS allowed_files)
  file(STRINGS ${list_file} entries REGEX "^[^#].*!")
  list(APPEND allowed ${entries})
endforeach()
set(allowed_lower)
foreach(entry IN LISTS allowed)
  string(REGEX MATCH "^[^!]+" dll "${entry}")
  string(REGEX REPLACE "^[^!]+" "" function "${entry}")
  string(TOLOWER "${dll}" dll)
  list(APPEND allowed_lower "${dll}${function}")
endforeach()

string(REPLACE ";" "\\;" headers "${headers}")
string(REPLACE "\n" ";" lines "${headers}")
set(failures)
set(imports)
set(exports)
set(dll "")
set(in_exports FALSE)
foreach(line IN LISTS lines)
  if(line MATCHES "^[ \t]*DLL Name: (.+)$")
    set(dll "${CMAKE_MATCH_1}")
  elseif(dll AND line MATCHES "^\t[0-9a-f]+\t +([0-9]+)  ([^ ]+)")
    if(CMAKE_MATCH_2 STREQUAL "<none>")
      list(APPEND imports "${dll}!#${CMAKE_MATCH_1}")
    else()
      list(APPEND imports "${dll}!${CMAKE_MATCH_2}")
    endif()
  elseif(line STREQUAL "")
    set(dll "")
  endif()

  if(line MATCHES "^\\[Ordinal/Name Pointer\\] Table")
    set(in_exports TRUE)
  elseif(in_exports)
    if(line MATCHES "^[ \t]*\\[ *[0-9]+\\] (.+)$")
      list(APPEND exports "${CMAKE_MATCH_1}")
    else()
      set(in_exports FALSE)
    endif()
  endif()

  if(line MATCHES "^(Major|Minor)(OSystem|Subsystem)Version[ \t]+([0-9]+)$")
    set(${CMAKE_MATCH_1}${CMAKE_MATCH_2} ${CMAKE_MATCH_3})
  endif()
  if(line MATCHES "^ *[0-9]+ (\\.debug[^ ]*) ")
    list(APPEND failures "carries the debug section ${CMAKE_MATCH_1}")
  endif()
endforeach()

if(imports STREQUAL "")
  list(APPEND failures "no imports found in the objdump output")
endif()
foreach(import IN LISTS imports)
  string(REGEX MATCH "^[^!]+" dll "${import}")
  string(REGEX REPLACE "^[^!]+" "" function "${import}")
  string(TOLOWER "${dll}" dll)
  if(NOT "${dll}${function}" IN_LIST allowed_lower)
    list(APPEND failures "imports ${import}, which the list of the oldest Windows's exports lacks")
  endif()
endforeach()

string(REPLACE "." ";" floor "${FLOOR}")
list(GET floor 0 floor_major)
list(GET floor 1 floor_minor)
math(EXPR floor_version "${floor_major} * 256 + ${floor_minor}")
foreach(kind OSystem Subsystem)
  if(NOT DEFINED Major${kind} OR NOT DEFINED Minor${kind})
    list(APPEND failures "no ${kind} version found in the headers")
  else()
    math(EXPR version "${Major${kind}} * 256 + ${Minor${kind}}")
    if(version GREATER floor_version)
      list(APPEND failures
        "${kind} version ${Major${kind}}.${Minor${kind}} is newer than Windows ${FLOOR}")
    endif()
  endif()
endforeach()

string(REPLACE "," ";" expected "${EXPORTS}")
list(SORT expected)
list(SORT exports)
if(NOT "${exports}" STREQUAL "${expected}")
  list(JOIN expected ", " want)
  list(JOIN exports ", " got)
  list(APPEND failures "exports: expected [${want}], got [${got}]")
endif()

if(failures)
  list(JOIN failures "\n  " report)
  message(FATAL_ERROR "${name}:\n  ${report}")
endif()
list(LENGTH imports count)
message(STATUS "${name}: ${count} imports, each in the list; headers ask for Windows "
  "${MajorOSystem}.${MinorOSystem}, subsystem ${MajorSubsystem}.${MinorSubsystem}; no debug sections")
