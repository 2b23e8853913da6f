# Writes a .def file that names every export of weftcore.def by its stdcall
# symbol (Name@bytes), as the compiled export objects define it, so dlltool
# can make an import library that C callers of include/weftcore.h link against.
# Arguments: NM, DEF_IN (weftcore.def), DEF_OUT, OBJECTS (paths joined by |).
file(STRINGS ${DEF_IN} def_lines)
list(FILTER def_lines INCLUDE REGEX "^  [A-Za-z]+$")
list(TRANSFORM def_lines STRIP)

string(REPLACE "|" ";" objects "${OBJECTS}")
execute_process(COMMAND ${NM} --defined-only ${objects} OUTPUT_VARIABLE symbols RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${NM} failed on the export objects")
endif()

set(content "LIBRARY weftcore.dll\nEXPORTS\n")
foreach(name IN LISTS def_lines)
  string(REGEX MATCH " T _${name}@[0-9]+\n" line "${symbols}")
  if(NOT line)
    message(FATAL_ERROR "no stdcall symbol for the export ${name}")
  endif()
  string(REGEX REPLACE " T _([A-Za-z]+@[0-9]+)\n" "\\1" decorated "${line}")
  string(APPEND content "  ${decorated}\n")
endforeach()
file(WRITE ${DEF_OUT} "${content}")
