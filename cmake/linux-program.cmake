# kantrell for Linux: the program, its man page, its installation and its Debian package.
find_package(PkgConfig REQUIRED)
pkg_check_modules(KANTRELL_XLIB REQUIRED IMPORTED_TARGET x11 xtst)
pkg_check_modules(KANTRELL_XDRAW REQUIRED IMPORTED_TARGET x11 xft xrandr)

# The only folder that includes X headers. The program links Xlib and XTest only: Xft, fontconfig
# and RandR are needed by the status window alone, and live in a module the program loads when a
# window first needs them, so that setting keys never pays for loading them.
add_library(kantrell_x11 STATIC
  src/x11/keyboard_x11.cpp
  src/x11/window_toolkit_x11.cpp
  src/x11/x11_connection.cpp
)
target_link_libraries(kantrell_x11 PUBLIC kantrell_app kantrell_backend_choice
                      PkgConfig::KANTRELL_XLIB)

# Where the module lies relative to the program, in the build tree as in the package.
set(KANTRELL_MODULE_DIR lib/kantrell)
add_library(kantrell_x11_drawing MODULE src/x11/x11_drawing.cpp)
set_target_properties(kantrell_x11_drawing PROPERTIES
  OUTPUT_NAME x11-drawing PREFIX ""
  LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/${KANTRELL_MODULE_DIR}
  CXX_VISIBILITY_PRESET hidden)
target_link_libraries(kantrell_x11_drawing PRIVATE kantrell_core PkgConfig::KANTRELL_XDRAW)
target_link_options(kantrell_x11_drawing PRIVATE -Wl,--exclude-libs,ALL)

set(KANTRELL_PROGRAM_SOURCES
  src/console/console_device.cpp
  src/linux/main_linux.cpp
  src/linux/session_linux.cpp
  src/linux/system_linux.cpp
)
add_executable(kantrell ${KANTRELL_PROGRAM_SOURCES} src/x11/x11_drawing_loader.cpp)
target_compile_definitions(kantrell PRIVATE
  KANTRELL_DRAWING_MODULE="${KANTRELL_MODULE_DIR}/x11-drawing.so")
target_link_libraries(kantrell PRIVATE kantrell_x11 kantrell_console kantrell_backend_choice
                      ${CMAKE_DL_LIBS})
add_dependencies(kantrell kantrell_x11_drawing)

# --- Installation and the Debian package. -------------------------------------------------------
include(GNUInstallDirs)

# Debian compresses man pages; -n keeps the name and time stamp out, so the bytes stay the same.
set(KANTRELL_MAN_PAGE ${CMAKE_BINARY_DIR}/kantrell.1.gz)
add_custom_command(OUTPUT ${KANTRELL_MAN_PAGE}
  COMMAND gzip -9n -c ${CMAKE_SOURCE_DIR}/docs/kantrell.1 > ${KANTRELL_MAN_PAGE}
  DEPENDS ${CMAKE_SOURCE_DIR}/docs/kantrell.1 VERBATIM)
# Debian's place for the upstream change log, compressed the same way.
set(KANTRELL_CHANGELOG ${CMAKE_BINARY_DIR}/changelog.gz)
add_custom_command(OUTPUT ${KANTRELL_CHANGELOG}
  COMMAND gzip -9n -c ${CMAKE_SOURCE_DIR}/CHANGELOG.md > ${KANTRELL_CHANGELOG}
  DEPENDS ${CMAKE_SOURCE_DIR}/CHANGELOG.md VERBATIM)
add_custom_target(kantrell_man_page ALL DEPENDS ${KANTRELL_MAN_PAGE} ${KANTRELL_CHANGELOG})

# Debian's machine-readable copyright file, its licence text taken from LICENSE: the body of the
# licence without its title and copyright line, each line indented, empty lines as " .".
file(READ ${CMAKE_SOURCE_DIR}/LICENSE KANTRELL_LICENSE)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/LICENSE)
string(REPLACE "\r\n" "\n" KANTRELL_LICENSE "${KANTRELL_LICENSE}")
string(REGEX REPLACE "^MIT License\n\nCopyright[^\n]*\n\n" "" KANTRELL_LICENSE "${KANTRELL_LICENSE}")
string(REGEX REPLACE "\n$" "" KANTRELL_LICENSE "${KANTRELL_LICENSE}")
string(REPLACE "\n\n" "\n.\n" KANTRELL_LICENSE "${KANTRELL_LICENSE}")
string(REPLACE "\n" "\n " KANTRELL_LICENSE " ${KANTRELL_LICENSE}")
set(KANTRELL_COPYRIGHT ${CMAKE_BINARY_DIR}/copyright)
file(WRITE ${KANTRELL_COPYRIGHT} "\
Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: kantrell
Upstream-Contact: KANTRELL project <maintainers@users.noreply.c-seed-7ebc35d6.example>
Source: https://kantrell.example/

Files: *
Copyright: 2026 KANTRELL project
License: Expat

License: Expat
${KANTRELL_LICENSE}
")

install(TARGETS kantrell RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS kantrell_x11_drawing LIBRARY DESTINATION ${KANTRELL_MODULE_DIR})
install(FILES ${KANTRELL_MAN_PAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES README.md ${KANTRELL_COPYRIGHT} ${KANTRELL_CHANGELOG}
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/kantrell)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kantrell)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "KANTRELL project")
set(CPACK_PACKAGE_CONTACT "KANTRELL project <maintainers@users.noreply.c-seed-7ebc35d6.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "put Num Lock, Scroll Lock and Caps Lock into named states")
# CPack puts the summary on the first line itself.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "kantrell on off off 3 s waits three seconds, then turns Num Lock on and Scroll Lock
and Caps Lock off where they differ, and shows the result for five seconds. It works
in X11 sessions (through XKB and XTEST) and on Linux virtual consoles, for session
start-up scripts and display manager set-up scripts.")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://kantrell.example/")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# The package's dependencies are the libraries the binary links, as dpkg-shlibdeps finds them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)

# The benchmark's measuring program, and the program as it would be with the drawing linked in,
# for the comparison; built only on request (bench/run.sh).
add_executable(kantrell_linux_bench EXCLUDE_FROM_ALL bench/linux_bench.cpp)
target_link_libraries(kantrell_linux_bench PRIVATE PkgConfig::KANTRELL_XDRAW)
add_executable(kantrell_drawing_linked EXCLUDE_FROM_ALL ${KANTRELL_PROGRAM_SOURCES}
               src/x11/x11_drawing_loader.cpp src/x11/x11_drawing.cpp)
target_compile_definitions(kantrell_drawing_linked PRIVATE KANTRELL_DRAWING_LINKED)
target_link_libraries(kantrell_drawing_linked PRIVATE kantrell_x11 kantrell_console
                      kantrell_backend_choice PkgConfig::KANTRELL_XDRAW)
