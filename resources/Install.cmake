# Installed layout (prefix /usr/local by default):
#   lib/velunor/            the program with HAND-M.CUR, drag.ico and Samples/
#   bin/velunor             a link to the program, which finds its companion
#                           files through the link's target
#   share/applications/     the desktop entry
#   share/icons/hicolor/    the program icon
set(VELUNOR_INSTALL_DIR lib/velunor)

# The program needs no search path of its own: Qt comes from the system.
set_target_properties(velunor PROPERTIES INSTALL_RPATH "")
install(TARGETS velunor RUNTIME DESTINATION ${VELUNOR_INSTALL_DIR})
install(FILES ${VELUNOR_PROGRAM_DIR}/HAND-M.CUR ${VELUNOR_PROGRAM_DIR}/drag.ico
  DESTINATION ${VELUNOR_INSTALL_DIR})
install(DIRECTORY ${VELUNOR_PROGRAM_DIR}/Samples DESTINATION ${VELUNOR_INSTALL_DIR})

set(VELUNOR_LINK_DIR ${CMAKE_BINARY_DIR}/install-link)
file(MAKE_DIRECTORY ${VELUNOR_LINK_DIR})
file(CREATE_LINK ../${VELUNOR_INSTALL_DIR}/velunor ${VELUNOR_LINK_DIR}/velunor SYMBOLIC)
install(FILES ${VELUNOR_LINK_DIR}/velunor DESTINATION bin)

install(FILES resources/velunor.desktop DESTINATION share/applications)
install(FILES ${VELUNOR_ICON_PNG} DESTINATION share/icons/hicolor/256x256/apps)
