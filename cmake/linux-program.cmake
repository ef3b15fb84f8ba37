# kantrell for Linux: the program, its man page, its installation and its Debian package.
find_package(PkgConfig REQUIRED)
pkg_check_modules(KANTRELL_X11 REQUIRED IMPORTED_TARGET x11 xtst xft xrandr)

# Debian's hardening: stack protector, fortified C library calls, read-only relocations.
add_compile_options(-fstack-protector-strong $<$<NOT:$<CONFIG:Debug>>:-D_FORTIFY_SOURCE=2>)
add_link_options(-Wl,-z,relro,-z,now -Wl,--as-needed)

# The only folder that includes X headers.
add_library(kantrell_x11 STATIC
  src/x11/keyboard_x11.cpp
  src/x11/window_toolkit_x11.cpp
  src/x11/x11_connection.cpp
)
target_link_libraries(kantrell_x11 PUBLIC kantrell_app kantrell_backend_choice PkgConfig::KANTRELL_X11)

add_executable(kantrell
  src/console/console_device.cpp
  src/linux/main_linux.cpp
  src/linux/session_linux.cpp
  src/linux/system_linux.cpp
)
target_link_libraries(kantrell PRIVATE kantrell_x11 kantrell_console kantrell_backend_choice)
