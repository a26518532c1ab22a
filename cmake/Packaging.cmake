# Portable archives of the built calculator, made by running `cpack` in a build folder:
#   Windows: Pelagrin-<version>-win64.zip, pelagrin.exe and README.txt side by side;
#   Linux:   Pelagrin-<version>-linux-<processor>.tar.gz, the program with the Qt it needs
#            (PELAGRIN_PORTABLE, cmake/PortableFolder.cmake) and the desktop files.
#            It starts on the release it is made on and newer ones, never older: the folder
#            released is made on Debian 12, the oldest release supported, and starts on
#            Debian 12 and 13 alike. One made on Debian 13 needs its C library
#            and C++ library (glibc 2.39, GLIBCXX_3.4.31), so it cannot start on Debian 12.
# Nothing to install first: unpack into a writable folder and start the program, which
# writes its log beside itself.
set(CPACK_PACKAGE_NAME ${PELAGRIN_TITLE})
set(CPACK_PACKAGE_VENDOR "Morvane")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY ${PROJECT_DESCRIPTION})
set(CPACK_STRIP_FILES TRUE)
if(WIN32)
    set(CPACK_GENERATOR ZIP)
    set(CPACK_SYSTEM_NAME win64)
else()
    set(CPACK_GENERATOR TGZ)
    string(TOLOWER "${CMAKE_SYSTEM_NAME}-${CMAKE_SYSTEM_PROCESSOR}" CPACK_SYSTEM_NAME)
endif()
set(CPACK_PACKAGE_FILE_NAME "${CPACK_PACKAGE_NAME}-${CPACK_PACKAGE_VERSION}-${CPACK_SYSTEM_NAME}")
set(PELAGRIN_ARCHIVE ${PROJECT_BINARY_DIR}/${CPACK_PACKAGE_FILE_NAME})  # CPack changes the above
include(CPack)
