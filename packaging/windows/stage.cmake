# cmake -DSTAGE=DIR -DREPO=SOURCE -DGUI=vireon.exe -DRENDER=vireon-render.exe [-DSTRIP=strip]
#       [-DCMARK=cmark-gfm] -P stage.cmake
# Lays out the folder the Windows packages hold, afresh: the programs (stripped), fir1.txt,
# README.html and the terms as LICENSE.txt with Windows line ends. Every file and the folder get
# the same time, SOURCE_DATE_EPOCH (else the commit's), and the same modes whatever the umask, so
# the packages made from it depend only on the sources.
foreach(var STAGE REPO GUI RENDER)
  if(NOT ${var})
    message(FATAL_ERROR "stage.cmake: ${var} is not given")
  endif()
endforeach()

set(epoch $ENV{SOURCE_DATE_EPOCH})
if(NOT epoch)
  execute_process(COMMAND git -C ${REPO} log -1 --format=%ct
                  OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
endif()
if(NOT epoch MATCHES "^[0-9]+$")
  string(TIMESTAMP epoch "%s" UTC)
endif()
# strip writes it as the programs' link time, where it would write the time of the build.
set(ENV{SOURCE_DATE_EPOCH} ${epoch})

file(REMOVE_RECURSE ${STAGE})
file(MAKE_DIRECTORY ${STAGE})

foreach(program vireon:GUI vireon-render:RENDER)
  string(REPLACE ":" ";" program ${program})
  list(GET program 0 name)
  list(GET program 1 var)
  if(STRIP)
    execute_process(COMMAND ${STRIP} --strip-all -o ${STAGE}/${name}.exe ${${var}}
                    COMMAND_ERROR_IS_FATAL ANY)
  else()
    file(COPY_FILE ${${var}} ${STAGE}/${name}.exe)
  endif()
endforeach()

file(COPY_FILE ${REPO}/data/fir1.txt ${STAGE}/fir1.txt)

set(README ${REPO}/README.md)
set(HTML ${STAGE}/README.html)
include(${REPO}/packaging/readme-html.cmake)

file(READ ${REPO}/packaging/copyright terms)
string(REPLACE "\r\n" "\n" terms "${terms}")
string(REPLACE "\n" "\r\n" terms "${terms}")
file(WRITE ${STAGE}/LICENSE.txt "${terms}")

file(GLOB files ${STAGE}/*)
file(CHMOD ${files} FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
file(CHMOD ${STAGE} DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
                    GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
execute_process(COMMAND touch --no-dereference --date=@${epoch} ${files} ${STAGE}
                COMMAND_ERROR_IS_FATAL ANY)
