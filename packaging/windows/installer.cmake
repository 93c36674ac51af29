# cmake -DSTAGE=DIR -DOUTPUT=setup.exe -DMAKENSIS=makensis -DSCRIPT=vireon.nsi -DVERSION=X.Y.Z
#       -DPUBLISHER=... -DCOPYRIGHT=... -DICON=vireon.ico -P installer.cmake
# Makes the installer from the staged folder; a warning from makensis is an error.
if(NOT MAKENSIS)
  message(FATAL_ERROR "makensis is not installed (scripts/install-deps --windows-package)")
endif()
set(ENV{TZ} UTC)
set(ENV{LC_ALL} C.UTF-8)
file(REMOVE ${OUTPUT})
execute_process(
  COMMAND ${MAKENSIS} -V2 -WX -INPUTCHARSET UTF8 -DVERSION=${VERSION} -DSTAGE=${STAGE}
          -DOUTFILE=${OUTPUT}.tmp -DPUBLISHER=${PUBLISHER} -DCOPYRIGHT=${COPYRIGHT} -DICON=${ICON}
          ${SCRIPT}
  COMMAND_ERROR_IS_FATAL ANY)
file(RENAME ${OUTPUT}.tmp ${OUTPUT})
