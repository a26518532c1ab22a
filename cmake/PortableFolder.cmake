# The portable Linux folder, which `cpack` in build/release packs into
# Pelagrin-<version>-linux-<processor>.tar.gz: the program with the Qt it was built against,
# so a diver can unpack it anywhere they may write to and start bin/pelagrin on a desktop
# that has no Qt. Included from the Qt window's folder, where Qt's targets are known.
#
#   bin/pelagrin, bin/qt.conf   the program; qt.conf has Qt look for plugins in this folder only
#   lib/                        Qt and what it needs that a desktop cannot be assumed to have
#   plugins/                    the few Qt plugins a plain window with text boxes needs, on
#                               X11 and Wayland
#   share/                      the desktop entry, metainfo and icons, as installed anywhere
#   install-desktop.sh          puts the program into the user's desktop menu, or takes it out
#
# Every file keeps a library path inside the folder ($ORIGIN), so nothing is looked up from
# the folder the program is started in, and no wrapper script or LD_LIBRARY_PATH is needed.

# What must come from the user's system, as the names the loader asks for: the libraries a
# minimal Debian 12 or 13 has, and those of every desktop, X11 or Wayland: its client
# libraries, fonts and OpenGL. Everything else the folder carries, so it starts on either
# release (package.closure checks the folder asks for nothing else). The portable folder
# tests read this list too, from build/<preset>/system-libraries.txt.
set(PELAGRIN_SYSTEM_LIBRARIES
    # The C library family and its loader: tied to the kernel and to one another.
    "^ld-linux" "^lib(c|m|dl|pthread|rt|resolv|util|anl|mvec|BrokenLocale|cidn|thread_db)\\.so"
    "^libnss_"
    # The compiler's runtime: the system's own, as new as any of its programs need.
    "^libgcc_s\\.so" "^libstdc\\+\\+\\.so"
    # OpenGL (GLVND), which must match the machine's GPU and its drivers.
    "^lib(GL|EGL|GLX|GLdispatch|OpenGL)\\.so"
    # The X11 client libraries, which speak to the desktop's own display server, and its
    # session management (Xcursor, for the desktop's cursor theme, is opened only where the
    # desktop has it).
    "^lib(X11|xcb|ICE|SM|Xcursor)\\.so"
    # The Wayland client libraries, there on every Wayland desktop (its compositor and
    # toolkits are built on them): the wire protocol and cursor themes of the desktop's own
    # compositor, and wayland-egl, which the GPU driver's EGL provides.
    "^libwayland-(client|cursor|egl)\\.so"
    # Fonts and text shaping, configured by the desktop for all its programs, with the
    # compression and XML libraries of a minimal system, and the GLib that text shaping
    # brings (Qt's event loop shares it).
    "^lib(fontconfig|freetype|harfbuzz|expat|z)\\.so" "^libglib-2\\.0\\.so")
string(REPLACE ";" "\n" system_libraries "${PELAGRIN_SYSTEM_LIBRARIES}")
file(WRITE ${PROJECT_BINARY_DIR}/system-libraries.txt "${system_libraries}\n")

# Only packing needs patchelf; building and running the program do not.
find_program(PELAGRIN_PATCHELF patchelf)
set_target_properties(pelagrin PROPERTIES INSTALL_RPATH "$ORIGIN/../lib")

install(FILES ${PROJECT_SOURCE_DIR}/cmake/qt.conf DESTINATION ${CMAKE_INSTALL_BINDIR})
install(PROGRAMS ${PROJECT_SOURCE_DIR}/ui/resources/install-desktop.sh DESTINATION .)
# Debian's Qt 6.4 has no Linux deployment of its own (qt_generate_deploy_app_script stops
# with "not implemented for this target platform"), so CMake's runtime dependency search
# gathers the libraries, in a script of ours that runs as the folder is installed.
install(CODE "
    set(pelagrin_program \"${CMAKE_INSTALL_BINDIR}/$<TARGET_FILE_NAME:pelagrin>\")
    set(pelagrin_qtpaths \"$<TARGET_FILE:Qt6::qtpaths>\")
    set(pelagrin_system_libraries \"${PROJECT_BINARY_DIR}/system-libraries.txt\")
    set(pelagrin_patchelf \"${PELAGRIN_PATCHELF}\")
    set(pelagrin_strip \"${CMAKE_STRIP}\")")
install(SCRIPT ${PROJECT_SOURCE_DIR}/cmake/PortableFolderInstall.cmake)
