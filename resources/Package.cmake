# The Debian package: `cpack -G DEB` in the build folder (scripts/package)
# writes velunor_<version>_amd64.deb, which installs the layout of
# Install.cmake under /usr. `cmake --install` keeps its own prefix,
# /usr/local by default.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velunor)
set(CPACK_PACKAGE_VENDOR Tarvenic)
set(CPACK_PACKAGE_CONTACT "Velunor developers <support@velunor.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# The lintian tag the package keeps, with the reason, goes into the package
# only: a plain `cmake --install` leaves it out.
install(FILES resources/debian/lintian-overrides DESTINATION share/lintian/overrides
  RENAME velunor COMPONENT debian EXCLUDE_FROM_ALL)
# Packaging installs the default component and that one by name, so that its
# install writes install_manifest_<component>.txt and leaves
# install_manifest.txt, which a user's own `cmake --install` wrote for
# uninstalling, alone.
set(CPACK_INSTALL_CMAKE_PROJECTS
  "${CMAKE_BINARY_DIR};${PROJECT_NAME};Unspecified;/"
  "${CMAKE_BINARY_DIR};${PROJECT_NAME};debian;/")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://velunor.org/)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "convert stereo MP3 files into mono MP3 files
Velunor turns stereo MP3 files into mono MP3 files, many at a time. Collect
files in a list (with the file dialog, by searching a whole folder, by
dragging them in from the file manager, or from the bundled samples), choose
how the two channels become one (mix both, keep the left, keep the right),
pick an output folder and start converting. Every file is converted by SoX.
Scripts, scheduled jobs and remote shells convert files and whole folders with
velunor --batch, which needs no display.")

# The libraries the program links come from dpkg-shlibdeps. The converter it
# carries is run with the system's libsox and needs its MP3 format module.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "sox, libsox-fmt-mp3")
# Qt's own translations make the window's dialogs and buttons speak the
# user's language as well.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/PackageFolders.cmake)

# Hardened as Debian builds its own packages: fortified libc calls wherever
# the compiler optimises, and a global offset table made read-only at start.
add_compile_definitions($<$<NOT:$<CONFIG:Debug>>:_FORTIFY_SOURCE=2>)
foreach(program velunor velunor_window)
  target_link_options(${program} PRIVATE LINKER:-z,relro LINKER:-z,now)
endforeach()

include(CPack)
