# What the packages hold beside the programs, and how CPack makes them:
#   Linux:   venuecheck_<version>_amd64.deb (the command line, the window with
#            its desktop entry and icon, the manual pages, README and docs);
#   Windows: venuecheck-<version>-windows-x64.zip (VenueChecker.exe,
#            venuecheck.exe, README.txt, the licences), text in CR LF.
# scripts/package makes both into build/packages/.
#
# Every package carries our licence and the licences of what is linked into
# its programs, taken from the Debian packages the build used.

set(VENUECHECK_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
set(VENUECHECK_PACKAGING_OUT ${CMAKE_BINARY_DIR}/packaging)

# Copies a text file with CR LF line ends (for the Windows zip).
function(venuecheck_crlf_copy source destination)
    file(READ ${source} content)
    string(REPLACE "\r\n" "\n" content "${content}")
    string(REPLACE "\n" "\r\n" content "${content}")
    file(WRITE ${destination} "${content}")
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
endfunction()

# Installs the licence text of a library the programs link, as NAME.txt in
# DESTINATION (with CR LF line ends when CRLF is given). Debian's packages
# hold these texts; where they are missing (a build elsewhere) the package
# goes without, and says so when configured.
function(venuecheck_install_licence name source destination)
    cmake_parse_arguments(PARSE_ARGV 3 licence "CRLF" "" "")
    if(NOT EXISTS ${source})
        message(STATUS "Packages made here lack the ${name} licence: ${source} is missing")
        return()
    endif()
    if(licence_CRLF)
        venuecheck_crlf_copy(${source} ${VENUECHECK_PACKAGING_OUT}/licenses/${name}.txt)
        install(FILES ${VENUECHECK_PACKAGING_OUT}/licenses/${name}.txt DESTINATION ${destination})
    else()
        install(FILES ${source} DESTINATION ${destination} RENAME ${name}.txt)
    endif()
endfunction()

set(CPACK_PACKAGE_NAME venuecheck)
set(CPACK_PACKAGE_VENDOR "the venuecheck developers")
set(CPACK_PACKAGE_CONTACT "the venuecheck developers <dev@venuecheck.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "checks the venues of Pelarin fishing game folders")
set(CPACK_PACKAGE_DESCRIPTION [=[venuecheck reads the venues of a Pelarin game folder the way the game
reads them: venue files, pegs, peg data grids, records, sounds, stocking
lists, stock files, species and the maximum-size table. It reports every
fault it finds as an error, a warning or advice.
.
The package holds the command line, venuecheck, and the window,
venuecheck-gui.]=])
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
set(CPACK_VERBATIM_VARIABLES ON)

if(WIN32)
    set(windows_out ${VENUECHECK_PACKAGING_OUT}/windows)
    configure_file(${VENUECHECK_PACKAGING_DIR}/windows/README.txt.in
                   ${windows_out}/README.txt @ONLY NEWLINE_STYLE CRLF)
    venuecheck_crlf_copy(${PROJECT_SOURCE_DIR}/LICENSE ${windows_out}/LICENSE.txt)
    install(FILES ${windows_out}/README.txt ${windows_out}/LICENSE.txt DESTINATION .)
    # Linked statically into both programs: zlib, minizip (compiled from
    # Debian's source package), the mingw-w64 runtime and GCC's run-time
    # libraries.
    venuecheck_install_licence(zlib /usr/share/doc/libz-mingw-w64-dev/copyright licenses CRLF)
    venuecheck_install_licence(minizip ${VENUECHECK_MINIZIP_DIR}/src/debian/copyright licenses CRLF)
    venuecheck_install_licence(mingw-w64-runtime /usr/share/doc/mingw-w64-x86-64-dev/copyright
                               licenses CRLF)
    venuecheck_install_licence(gcc-runtime /usr/share/doc/gcc-mingw-w64-base/copyright
                               licenses CRLF)

    set(CPACK_GENERATOR ZIP)
    set(CPACK_PACKAGE_FILE_NAME venuecheck-${PROJECT_VERSION}-windows-x64)
    # The zip opens into one folder of that name.
    set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
else()
    set(linux_in ${VENUECHECK_PACKAGING_DIR}/linux)
    set(linux_out ${VENUECHECK_PACKAGING_OUT}/linux)

    # Manual pages, with the version filled in, compressed as Debian ships
    # them.
    set(man_pages venuecheck.1)
    if(VENUECHECK_QT)
        list(APPEND man_pages venuecheck-gui.1)
    endif()
    find_program(VENUECHECK_GZIP gzip REQUIRED)
    set(compressed_pages "")
    foreach(page IN LISTS man_pages)
        configure_file(${linux_in}/${page}.in ${linux_out}/${page} @ONLY)
        add_custom_command(OUTPUT ${linux_out}/${page}.gz
            COMMAND ${VENUECHECK_GZIP} -9 -n -c ${linux_out}/${page} > ${linux_out}/${page}.gz
            DEPENDS ${linux_out}/${page}
            VERBATIM)
        list(APPEND compressed_pages ${linux_out}/${page}.gz)
    endforeach()
    add_custom_target(venuecheck_man_pages ALL DEPENDS ${compressed_pages})
    install(FILES ${compressed_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

    if(VENUECHECK_QT)
        install(FILES ${linux_in}/venuecheck-gui.desktop
                DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
        install(FILES ${linux_in}/venuecheck.svg
                DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
    endif()

    # The README keeps its links into docs/ working from the same place.
    install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/CHANGELOG.md
            DESTINATION ${CMAKE_INSTALL_DOCDIR})
    install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/ DESTINATION ${CMAKE_INSTALL_DOCDIR}/docs)

    # Debian's copyright file names our licence; the licences of the
    # libraries the programs link sit beside it.
    configure_file(${linux_in}/copyright.in ${linux_out}/copyright @ONLY)
    install(FILES ${linux_out}/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
    set(licences ${CMAKE_INSTALL_DOCDIR}/licenses)
    venuecheck_install_licence(zlib /usr/share/doc/zlib1g/copyright ${licences})
    venuecheck_install_licence(minizip /usr/share/doc/libminizip1/copyright ${licences})
    if(VENUECHECK_QT)
        # Qt is under the LGPL 3 (which takes in the GPL 3).
        venuecheck_install_licence(qt /usr/share/doc/libqt6core6/copyright ${licences})
        venuecheck_install_licence(LGPL-3 /usr/share/common-licenses/LGPL-3 ${licences})
        venuecheck_install_licence(GPL-3 /usr/share/common-licenses/GPL-3 ${licences})
    endif()

    set(CPACK_GENERATOR DEB)
    set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
    # venuecheck_<version>_<architecture>.deb
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_SECTION utils)
    set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
    # dpkg-shlibdeps works out the libraries the programs need.
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
endif()

# scripts/package builds the programs it packs; packing builds nothing else.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

include(CPack)
