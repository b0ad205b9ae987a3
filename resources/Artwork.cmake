# The program icon, the hand pointer and the drag picture are drawn by a small
# tool of our own at build time and written in the Windows icon and cursor
# formats, which Qt reads back.
add_executable(velunor_artwork resources/artwork/make_artwork.cpp)
target_link_libraries(velunor_artwork PRIVATE Qt6::Gui)

set(VELUNOR_ARTWORK_DIR ${CMAKE_BINARY_DIR}/artwork)
set(VELUNOR_ICON_PNG ${VELUNOR_ARTWORK_DIR}/velunor.png)
add_custom_command(
  OUTPUT ${VELUNOR_ICON_PNG} ${VELUNOR_ARTWORK_DIR}/HAND-M.CUR ${VELUNOR_ARTWORK_DIR}/drag.ico
  COMMAND ${CMAKE_COMMAND} -E make_directory ${VELUNOR_ARTWORK_DIR}
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen $<TARGET_FILE:velunor_artwork> ${VELUNOR_ARTWORK_DIR}
  DEPENDS velunor_artwork
  COMMENT "Drawing the icon and pointers")
add_custom_command(
  OUTPUT ${VELUNOR_PROGRAM_DIR}/HAND-M.CUR ${VELUNOR_PROGRAM_DIR}/drag.ico
  COMMAND ${CMAKE_COMMAND} -E make_directory ${VELUNOR_PROGRAM_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy ${VELUNOR_ARTWORK_DIR}/HAND-M.CUR ${VELUNOR_ARTWORK_DIR}/drag.ico ${VELUNOR_PROGRAM_DIR}/
  DEPENDS ${VELUNOR_ARTWORK_DIR}/HAND-M.CUR ${VELUNOR_ARTWORK_DIR}/drag.ico)
add_custom_target(velunor_companions ALL
  DEPENDS ${VELUNOR_PROGRAM_DIR}/HAND-M.CUR ${VELUNOR_PROGRAM_DIR}/drag.ico)
add_dependencies(velunor velunor_companions)

set_source_files_properties(${VELUNOR_ICON_PNG} PROPERTIES GENERATED TRUE QT_RESOURCE_ALIAS velunor.png)
qt_add_resources(velunor_gui velunor_icon
  PREFIX /velunor
  BASE ${VELUNOR_ARTWORK_DIR}
  FILES ${VELUNOR_ICON_PNG})
