# quimbar_check_windres(PROGRAM): stops the configuration unless PROGRAM is a
# windres that compiles the UTF-8 resource script correctly.
#
# resources/quimbar.rc is UTF-8 (umlauts in menu and dialog texts), compiled
# with code page 65001 (-c 65001). windres has converted code pages through
# iconv since binutils 2.19; the oldest version verified to turn every umlaut
# of the script into the right UTF-16 character is 2.40 (Debian 12's
# binutils-mingw-w64), which the resource reader's tests check text by text.
set(QUIMBAR_MIN_BINUTILS 2.40)
function(quimbar_check_windres program)
  execute_process(COMMAND ${program} --version OUTPUT_VARIABLE text ERROR_QUIET)
  string(REGEX MATCH "[0-9]+\\.[0-9]+(\\.[0-9]+)?" version "${text}")
  if(NOT version OR version VERSION_LESS QUIMBAR_MIN_BINUTILS)
    message(FATAL_ERROR "${program} is from binutils '${version}'; the UTF-8 resource script needs "
      "binutils ${QUIMBAR_MIN_BINUTILS} or newer (Debian 12: binutils-mingw-w64-x86-64)")
  endif()
endfunction()
