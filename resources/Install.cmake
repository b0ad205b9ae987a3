# Installed layout (prefix /usr/local by default):
#   lib/velunor/            the program and the window program it starts, with
#                           the module that reads other formats' tags and
#                           the one the converter loads first,
#                           HAND-M.CUR, drag.ico and Samples/
#   bin/velunor             a link to the program, which finds its companion
#                           files through the link's target
#   share/applications/     the desktop entry
#   share/icons/hicolor/    the program icon
#   share/metainfo/         what software centres show about the program
#   share/man/man1/         the manual page
#   share/bash-completion/  the completion of the command line in bash
#   share/doc/velunor/      the copyright notes and the change log
set(VELUNOR_INSTALL_DIR lib/velunor)
set(VELUNOR_APP_ID org.velunor.Velunor)

# The programs need no search path of their own: Qt comes from the system.
set_target_properties(velunor velunor_window PROPERTIES INSTALL_RPATH "")
install(TARGETS velunor velunor_window RUNTIME DESTINATION ${VELUNOR_INSTALL_DIR})
# The reader of other formats' tags, which the programs load from modules/
# beside themselves, and the module the converter loads first; libraries, so
# not executable.
set_target_properties(velunor_foreign_tags velunor_sox_formats PROPERTIES INSTALL_RPATH "")
install(TARGETS velunor_foreign_tags velunor_sox_formats LIBRARY DESTINATION ${VELUNOR_INSTALL_DIR}/modules
  PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
# A stripped install (the package's) also drops the compiler's notes, as
# Debian's own packaging tools do.
foreach(program velunor ${VELUNOR_WINDOW_PROGRAM} ${VELUNOR_FOREIGN_TAGS_MODULE}
    ${VELUNOR_SOX_FORMATS_MODULE})
  install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
      execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
        \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${VELUNOR_INSTALL_DIR}/${program}\"
        COMMAND_ERROR_IS_FATAL ANY)
    endif()")
endforeach()
install(FILES ${VELUNOR_PROGRAM_DIR}/HAND-M.CUR ${VELUNOR_PROGRAM_DIR}/drag.ico
  DESTINATION ${VELUNOR_INSTALL_DIR})
install(DIRECTORY ${VELUNOR_PROGRAM_DIR}/Samples DESTINATION ${VELUNOR_INSTALL_DIR})

set(VELUNOR_LINK_DIR ${CMAKE_BINARY_DIR}/install-link)
file(MAKE_DIRECTORY ${VELUNOR_LINK_DIR})
file(CREATE_LINK ../${VELUNOR_INSTALL_DIR}/velunor ${VELUNOR_LINK_DIR}/velunor SYMBOLIC)
install(FILES ${VELUNOR_LINK_DIR}/velunor DESTINATION bin)

install(FILES resources/${VELUNOR_APP_ID}.desktop DESTINATION share/applications)
install(FILES ${VELUNOR_ICON_PNG} DESTINATION share/icons/hicolor/256x256/apps)
install(FILES resources/${VELUNOR_APP_ID}.metainfo.xml DESTINATION share/metainfo)
# bash-completion loads it the first time "velunor" is completed.
install(FILES resources/velunor.bash-completion DESTINATION share/bash-completion/completions
  RENAME velunor)

# The manual page and the change log are installed compressed, without a
# time stamp in the gzip header, so that the same sources give the same files.
# The manual page names the version of the project.
set(VELUNOR_DOC_DIR ${CMAKE_BINARY_DIR}/doc)
set(VELUNOR_MAN_PAGE ${VELUNOR_DOC_DIR}/velunor.1.gz)
set(VELUNOR_CHANGELOG ${VELUNOR_DOC_DIR}/changelog.gz)
configure_file(resources/velunor.1 ${VELUNOR_DOC_DIR}/velunor.1 @ONLY)
function(velunor_compress source compressed)
  add_custom_command(OUTPUT ${compressed}
    COMMAND gzip -9n -c ${source} > ${compressed}
    DEPENDS ${source})
endfunction()
velunor_compress(${VELUNOR_DOC_DIR}/velunor.1 ${VELUNOR_MAN_PAGE})
velunor_compress(${CMAKE_SOURCE_DIR}/resources/debian/changelog ${VELUNOR_CHANGELOG})
add_custom_target(velunor_docs ALL DEPENDS ${VELUNOR_MAN_PAGE} ${VELUNOR_CHANGELOG})
install(FILES ${VELUNOR_MAN_PAGE} DESTINATION share/man/man1)
install(FILES resources/debian/copyright ${VELUNOR_CHANGELOG} DESTINATION share/doc/velunor)
