# cmake -DOBJDUMP=... -DMODULE=... -DPROGRAMS=... -P ModuleTables.cmake
# The module exports clap_entry alone; it and the programs import only from DLLs that Windows
# itself ships (the C and C++ runtimes and winpthread are linked in).
cmake_minimum_required(VERSION 3.25)
set(system_dlls advapi32 bcrypt comctl32 comdlg32 dwmapi gdi32 imm32 kernel32 msimg32 msvcrt
  ole32 oleaut32 shell32 shlwapi user32 usp10 uxtheme version winmm ws2_32)

function(read_tables file dump_var)
  execute_process(COMMAND "${OBJDUMP}" -p "${file}" OUTPUT_VARIABLE dump RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "cannot read ${file}")
  endif()
  string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
  foreach(line IN LISTS imports)
    string(REGEX REPLACE "DLL Name: (.+)\\.[dD][lL][lL]" "\\1" dll "${line}")
    string(TOLOWER "${dll}" dll)
    if(NOT dll IN_LIST system_dlls)
      message(FATAL_ERROR "${file} needs ${dll}.dll, which Windows does not ship")
    endif()
  endforeach()
  set(${dump_var} "${dump}" PARENT_SCOPE)
endfunction()

read_tables("${MODULE}" dump)
string(REGEX MATCH "\\[Ordinal/Name Pointer\\] Table[^\n]*\n(([ \t]+\\[[^\n]+\n)*)" table "${dump}")
string(REGEX MATCHALL "\\] [A-Za-z_0-9@]+" exports "${CMAKE_MATCH_1}")
if(NOT exports STREQUAL "] clap_entry")
  message(FATAL_ERROR "${MODULE} exports '${exports}' instead of clap_entry alone")
endif()
foreach(program IN LISTS PROGRAMS)
  read_tables("${program}" ignored)
endforeach()
