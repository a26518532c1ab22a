# Fills the portable folder as it is installed (cmake --install, cpack): the Qt plugins the
# window needs, every library the program and those plugins load that is not on the list of
# system libraries, each with a library path inside the folder, stripped.
# Set before it runs: pelagrin_program (relative to the prefix), pelagrin_qtpaths,
# pelagrin_system_libraries (a file of name patterns), pelagrin_patchelf, pelagrin_strip.
cmake_policy(VERSION 3.22)
if(NOT pelagrin_patchelf)
    message(FATAL_ERROR "The portable folder needs patchelf (Debian: apt-get install patchelf)")
endif()
set(root "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")

# The window itself, on X11 and on Wayland; and dead keys and the Compose key in the boxes,
# as in every other program on the desktop. On Wayland the window is an xdg-shell toplevel,
# the shell every desktop compositor speaks (GNOME, KDE, wlroots), and draws its own title
# bar where the compositor draws none (GNOME, weston): Qt 6.4 draws one only when its
# wayland-egl buffer integration loads, though the window itself paints into shared memory.
# Nothing else: the window draws without OpenGL, so no X11 GL integration, and reads its PNG
# icons with Qt's own code, so no image format plugin.
set(plugins
    platforms/libqxcb.so
    platforms/libqwayland-generic.so
    wayland-shell-integration/libxdg-shell.so
    wayland-decoration-client/libbradient.so
    wayland-graphics-integration-client/libqt-plugin-wayland-egl.so
    platforminputcontexts/libcomposeplatforminputcontextplugin.so)
execute_process(COMMAND "${pelagrin_qtpaths}" --query QT_INSTALL_PLUGINS
                OUTPUT_VARIABLE qt_plugins OUTPUT_STRIP_TRAILING_WHITESPACE
                COMMAND_ERROR_IS_FATAL ANY)
set(modules)
foreach(plugin IN LISTS plugins)
    get_filename_component(type "${plugin}" DIRECTORY)
    file(INSTALL "${qt_plugins}/${plugin}" DESTINATION "${root}/plugins/${type}")
    list(APPEND modules "${root}/plugins/${plugin}")
endforeach()

file(STRINGS "${pelagrin_system_libraries}" system_libraries)
file(GET_RUNTIME_DEPENDENCIES
    EXECUTABLES "${root}/${pelagrin_program}"
    MODULES ${modules}
    PRE_EXCLUDE_REGEXES ${system_libraries}
    RESOLVED_DEPENDENCIES_VAR bundled
    UNRESOLVED_DEPENDENCIES_VAR unresolved)
if(unresolved)
    message(FATAL_ERROR "Libraries not found for the portable folder: ${unresolved}")
endif()
file(INSTALL ${bundled} DESTINATION "${root}/lib" FOLLOW_SYMLINK_CHAIN)

# The libraries find one another in lib/, the plugins find them from two folders down.
file(GLOB libraries LIST_DIRECTORIES false "${root}/lib/*.so*")
foreach(file IN LISTS libraries modules)
    if(IS_SYMLINK "${file}")
        continue()
    endif()
    if(file IN_LIST modules)
        set(runpath "$ORIGIN/../../lib")
    else()
        set(runpath "$ORIGIN")
    endif()
    if(CMAKE_INSTALL_DO_STRIP)
        execute_process(COMMAND "${pelagrin_strip}" --strip-unneeded "${file}"
                        COMMAND_ERROR_IS_FATAL ANY)
    endif()
    execute_process(COMMAND "${pelagrin_patchelf}" --set-rpath "${runpath}" "${file}"
                    COMMAND_ERROR_IS_FATAL ANY)
endforeach()
