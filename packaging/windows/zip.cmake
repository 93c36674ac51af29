# cmake -DSTAGE=DIR/vireon-VERSION -DOUTPUT=FILE.zip -DZIP=zip -P zip.cmake
# Zips the staged folder as one folder of its name. The same bytes from the same folder: the
# entries in a fixed order, no extra fields (zip -X: no Unix times, owners), and the times, which a
# zip keeps in local time, taken in UTC.
if(NOT ZIP)
  message(FATAL_ERROR "zip is not installed (scripts/install-deps --windows-package)")
endif()
get_filename_component(name ${STAGE} NAME)
get_filename_component(parent ${STAGE} DIRECTORY)
set(entries ${name}/)
foreach(file vireon.exe vireon-render.exe fir1.txt README.html LICENSE.txt)
  if(NOT EXISTS ${STAGE}/${file})
    message(FATAL_ERROR "zip.cmake: ${STAGE}/${file} is missing")
  endif()
  list(APPEND entries ${name}/${file})
endforeach()
file(GLOB staged RELATIVE ${parent} ${STAGE}/*)
list(LENGTH staged staged_count)
list(LENGTH entries entry_count)
math(EXPR entry_count "${entry_count} - 1")
if(NOT staged_count EQUAL entry_count)
  message(FATAL_ERROR "zip.cmake: ${STAGE} holds other files than the package's: ${staged}")
endif()

set(ENV{TZ} UTC)
unset(ENV{ZIPOPT})  # zip's default options, from the caller
unset(ENV{ZIP})
file(REMOVE ${OUTPUT} ${OUTPUT}.tmp)
# -X: no extra fields; -9: the best deflate; -q. Directory entries are given, not walked (no -r).
execute_process(COMMAND ${ZIP} -X -9 -q ${OUTPUT}.tmp ${entries}
                WORKING_DIRECTORY ${parent} COMMAND_ERROR_IS_FATAL ANY)
file(RENAME ${OUTPUT}.tmp ${OUTPUT})
