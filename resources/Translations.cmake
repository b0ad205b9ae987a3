# The program's languages. Each has two Qt Linguist catalogues in
# resources/translations/: velunor_<language>.ts, everything the command line
# shows (the core's words included), and velunor_window_<language>.ts, what
# the window adds. The build makes the .qm files beside the programs, in
# translations/, where the programs look for them.
#
#   cmake --build BUILD --target update_translations
#
# brings every .ts file up to date with the code (new texts come in
# unfinished, texts gone from the code go); tests/test_translations checks
# that none is out of date or unfinished.
find_package(Qt6 REQUIRED COMPONENTS LinguistTools)

set(VELUNOR_LANGUAGES de es fr it)
set(VELUNOR_TRANSLATIONS_SOURCE_DIR ${CMAKE_SOURCE_DIR}/resources/translations)
set(VELUNOR_TRANSLATIONS_DIR ${VELUNOR_PROGRAM_DIR}/translations)
# Line numbers would change with every edit of the code; the texts are enough.
set(VELUNOR_LUPDATE_OPTIONS -locations none -no-obsolete)

# Each catalogue: its name, and the sources whose texts it holds.
set(VELUNOR_CATALOGUES velunor velunor_window)
set(velunor_catalogue_sources ${VELUNOR_CORE_SOURCES} ${VELUNOR_CLI_SOURCES} cli/main.cpp)
set(velunor_window_catalogue_sources ${VELUNOR_GUI_SOURCES} app/main.cpp)
set(velunor_catalogue_target velunor_cli)
set(velunor_window_catalogue_target velunor_gui)

set(VELUNOR_QM_FILES "")
foreach(catalogue ${VELUNOR_CATALOGUES})
  set(ts_files "")
  foreach(language ${VELUNOR_LANGUAGES})
    set(ts_file ${VELUNOR_TRANSLATIONS_SOURCE_DIR}/${catalogue}_${language}.ts)
    set_source_files_properties(${ts_file} PROPERTIES OUTPUT_LOCATION ${VELUNOR_TRANSLATIONS_DIR})
    list(APPEND ts_files ${ts_file})
  endforeach()
  list(TRANSFORM ${catalogue}_catalogue_sources PREPEND ${CMAKE_SOURCE_DIR}/
    OUTPUT_VARIABLE sources)
  qt_add_lupdate(${${catalogue}_catalogue_target} TS_FILES ${ts_files} SOURCES ${sources}
    OPTIONS ${VELUNOR_LUPDATE_OPTIONS})
  qt_add_lrelease(${${catalogue}_catalogue_target} TS_FILES ${ts_files}
    QM_FILES_OUTPUT_VARIABLE qm_files OPTIONS -silent)
  list(APPEND VELUNOR_QM_FILES ${qm_files})
  # The sources, one a line, for the test that runs lupdate on copies.
  list(JOIN sources "\n" source_lines)
  file(WRITE ${CMAKE_BINARY_DIR}/translations/${catalogue}_sources.lst "${source_lines}\n")
endforeach()
install(FILES ${VELUNOR_QM_FILES} DESTINATION ${VELUNOR_INSTALL_DIR}/translations)

# The manual page's short description in each language: the page as it is,
# with its NAME line translated (resources/translations/velunor.1.names), so
# that whatis and apropos find it in the reader's language and nothing of the
# page is lost.
file(STRINGS ${VELUNOR_TRANSLATIONS_SOURCE_DIR}/velunor.1.names name_lines ENCODING UTF-8
  REGEX "^[a-z]")
file(READ ${VELUNOR_DOC_DIR}/velunor.1 english_page)
foreach(line ${name_lines})
  string(REGEX MATCH "^([a-zA-Z_]+) (.*)$" matched "${line}")
  set(language ${CMAKE_MATCH_1})
  set(name ${CMAKE_MATCH_2})
  string(FIND "${english_page}" "\n.SH NAME\n" at)
  math(EXPR name_at "${at} + 10")
  string(SUBSTRING "${english_page}" 0 ${name_at} before)
  string(SUBSTRING "${english_page}" ${name_at} -1 after)
  string(FIND "${after}" "\n" line_end)
  string(SUBSTRING "${after}" ${line_end} -1 after)
  set(page "${before}${name}${after}")
  file(MAKE_DIRECTORY ${VELUNOR_DOC_DIR}/${language})
  file(CONFIGURE OUTPUT ${VELUNOR_DOC_DIR}/${language}/velunor.1 CONTENT "${page}" @ONLY)
  velunor_compress(${VELUNOR_DOC_DIR}/${language}/velunor.1
    ${VELUNOR_DOC_DIR}/${language}/velunor.1.gz)
  add_custom_target(velunor_manual_${language} ALL
    DEPENDS ${VELUNOR_DOC_DIR}/${language}/velunor.1.gz)
  install(FILES ${VELUNOR_DOC_DIR}/${language}/velunor.1.gz
    DESTINATION share/man/${language}/man1)
endforeach()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
  ${VELUNOR_TRANSLATIONS_SOURCE_DIR}/velunor.1.names ${CMAKE_SOURCE_DIR}/resources/velunor.1)
