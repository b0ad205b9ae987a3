# The converter payload: the machine's SoX program and the four libraries it
# needs for MP3 are compiled into the executable as resources 101 to 105, so
# that every run can stage exactly the converter the program was built with.

set(VELUNOR_SOX_PACKAGES "sox libsox-fmt-mp3")

find_program(VELUNOR_SOX_PROGRAM NAMES sox PATHS /usr/bin NO_DEFAULT_PATH)
if(NOT VELUNOR_SOX_PROGRAM)
  message(FATAL_ERROR
    "The SoX program /usr/bin/sox was not found. Velunor carries SoX inside its executable "
    "and takes it from this machine at configure time. Install the Debian packages "
    "'${VELUNOR_SOX_PACKAGES}' (sudo apt-get install ${VELUNOR_SOX_PACKAGES}) and configure again.")
endif()

# Each library is looked up by its exact soname, the name the converter
# asks the loader for; the staged copy carries the same name.
set(VELUNOR_PAYLOAD_LIBRARIES
  "102 libmad.so.0"
  "103 libmp3lame.so.0"
  "104 libgomp.so.1"
  "105 libz.so.1")

set_source_files_properties(${VELUNOR_SOX_PROGRAM} PROPERTIES QT_RESOURCE_ALIAS 101)
set(VELUNOR_PAYLOAD_FILES ${VELUNOR_SOX_PROGRAM})
foreach(entry ${VELUNOR_PAYLOAD_LIBRARIES})
  separate_arguments(entry)
  list(GET entry 0 resource_id)
  list(GET entry 1 soname)
  string(MAKE_C_IDENTIFIER "VELUNOR_PAYLOAD_${soname}" library_variable)
  find_library(${library_variable} NAMES ${soname})
  if(NOT ${library_variable})
    message(FATAL_ERROR
      "The library ${soname}, which SoX needs to read or write MP3, was not found. Install the "
      "Debian packages '${VELUNOR_SOX_PACKAGES}' (sudo apt-get install ${VELUNOR_SOX_PACKAGES}) "
      "and configure again.")
  endif()
  # The resource holds the library itself, not the symbolic link to it.
  get_filename_component(library_file ${${library_variable}} REALPATH)
  set_source_files_properties(${library_file} PROPERTIES QT_RESOURCE_ALIAS ${resource_id})
  list(APPEND VELUNOR_PAYLOAD_FILES ${library_file})
endforeach()

# SoX reads and writes MP3 through its format module; without it the staged
# converter would start but fail on every file.
find_file(VELUNOR_SOX_MP3_MODULE NAMES libsox_fmt_mp3.so
  PATHS /usr/lib/${CMAKE_LIBRARY_ARCHITECTURE}/sox /usr/lib/sox NO_DEFAULT_PATH)
if(NOT VELUNOR_SOX_MP3_MODULE)
  message(FATAL_ERROR
    "SoX's MP3 support (libsox_fmt_mp3.so) was not found. Install the Debian packages "
    "'${VELUNOR_SOX_PACKAGES}' (sudo apt-get install ${VELUNOR_SOX_PACKAGES}) and configure again.")
endif()

# Stored uncompressed: the bytes are written out as they are on every run.
qt_add_resources(velunor_core velunor_converter
  PREFIX /converter
  FILES ${VELUNOR_PAYLOAD_FILES}
  OPTIONS --no-compress)
