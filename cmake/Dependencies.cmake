# zlib, minizip and libpng are the core's only dependencies; they come from
# the system's packages (pkg-config and CMake's own module on Debian).
#
# The Windows cross-build takes zlib from libz-mingw-w64-dev and compiles
# minizip and libpng from Debian's own source packages, unpacked into the
# build folder by scripts/windows/fetch-minizip and fetch-libpng (Debian
# ships neither for mingw).
if(NOT TARGET venuecheck::minizip AND WIN32 AND CMAKE_CROSSCOMPILING)
    find_package(ZLIB REQUIRED)
    set(VENUECHECK_MINIZIP_DIR ${CMAKE_BINARY_DIR}/_deps/minizip)
    if(NOT EXISTS ${VENUECHECK_MINIZIP_DIR}/src/unzip.c)
        message(STATUS "Fetching Debian's minizip source package")
        execute_process(
            COMMAND sh ${CMAKE_SOURCE_DIR}/scripts/windows/fetch-minizip ${VENUECHECK_MINIZIP_DIR}
            RESULT_VARIABLE fetch_result)
        if(NOT fetch_result EQUAL 0)
            message(FATAL_ERROR "Could not fetch the minizip source package")
        endif()
    endif()
    set(minizip_src ${VENUECHECK_MINIZIP_DIR}/src)
    # Headers as Debian installs them: <minizip/unzip.h>, or <unzip.h> with
    # the minizip folder on the include path as pkg-config gives it.
    set(minizip_include ${VENUECHECK_MINIZIP_DIR}/include)
    file(COPY ${minizip_src}/ioapi.h ${minizip_src}/unzip.h ${minizip_src}/zip.h
              ${minizip_src}/mztools.h ${minizip_src}/crypt.h ${minizip_src}/iowin32.h
         DESTINATION ${minizip_include}/minizip)
    add_library(venuecheck_minizip STATIC
        ${minizip_src}/ioapi.c ${minizip_src}/unzip.c ${minizip_src}/zip.c
        ${minizip_src}/mztools.c ${minizip_src}/iowin32.c)
    # Third-party code: built as it is, without our warning flags.
    set_target_properties(venuecheck_minizip PROPERTIES COMPILE_OPTIONS "-w")
    target_include_directories(venuecheck_minizip SYSTEM PUBLIC
        ${minizip_include} ${minizip_include}/minizip)
    target_link_libraries(venuecheck_minizip PUBLIC ZLIB::ZLIB)
    add_library(venuecheck::minizip ALIAS venuecheck_minizip)

    set(VENUECHECK_LIBPNG_DIR ${CMAKE_BINARY_DIR}/_deps/libpng)
    if(NOT EXISTS ${VENUECHECK_LIBPNG_DIR}/src/png.c)
        message(STATUS "Fetching Debian's libpng source package")
        execute_process(
            COMMAND sh ${CMAKE_SOURCE_DIR}/scripts/windows/fetch-libpng ${VENUECHECK_LIBPNG_DIR}
            RESULT_VARIABLE fetch_result)
        if(NOT fetch_result EQUAL 0)
            message(FATAL_ERROR "Could not fetch the libpng source package")
        endif()
    endif()
    set(libpng_src ${VENUECHECK_LIBPNG_DIR}/src)
    # The configuration libpng ships for builds without its own scripts: every
    # standard feature, no processor-specific code.
    set(libpng_include ${VENUECHECK_LIBPNG_DIR}/include)
    file(COPY ${libpng_src}/png.h ${libpng_src}/pngconf.h DESTINATION ${libpng_include})
    configure_file(${libpng_src}/scripts/pnglibconf.h.prebuilt ${libpng_include}/pnglibconf.h
                   COPYONLY)
    set(libpng_sources)
    foreach(unit png pngerror pngget pngmem pngpread pngread pngrio pngrtran pngrutil pngset
                 pngtrans pngwio pngwrite pngwtran pngwutil)
        list(APPEND libpng_sources ${libpng_src}/${unit}.c)
    endforeach()
    add_library(venuecheck_libpng STATIC ${libpng_sources})
    set_target_properties(venuecheck_libpng PROPERTIES COMPILE_OPTIONS "-w")
    target_include_directories(venuecheck_libpng PRIVATE ${libpng_src})
    target_include_directories(venuecheck_libpng SYSTEM PUBLIC ${libpng_include})
    target_link_libraries(venuecheck_libpng PUBLIC ZLIB::ZLIB)
    add_library(venuecheck::png ALIAS venuecheck_libpng)

    # CLI11 is header-only: the command line's Windows build takes Debian's
    # headers (libcli11-dev), copied so that no other host header is seen,
    # through a package configuration of our own.
    find_path(VENUECHECK_CLI11_INCLUDE CLI/CLI.hpp PATHS /usr/include NO_DEFAULT_PATH
              NO_CMAKE_FIND_ROOT_PATH)
    if(VENUECHECK_CLI11_INCLUDE)
        set(cli11_dir ${CMAKE_BINARY_DIR}/_deps/cli11)
        file(COPY ${VENUECHECK_CLI11_INCLUDE}/CLI DESTINATION ${cli11_dir}/include)
        file(WRITE ${cli11_dir}/CLI11Config.cmake [=[
if(NOT TARGET CLI11::CLI11)
    add_library(CLI11::CLI11 INTERFACE IMPORTED)
    set_target_properties(CLI11::CLI11 PROPERTIES
        INTERFACE_INCLUDE_DIRECTORIES "${CMAKE_CURRENT_LIST_DIR}/include")
endif()
]=])
        set(CLI11_DIR ${cli11_dir} CACHE PATH "CLI11 for the Windows build" FORCE)
    endif()
endif()

# Visual Studio: zlib and minizip from vcpkg (the msvc preset; CLI11 too).
if(NOT TARGET venuecheck::minizip AND MSVC)
    find_package(unofficial-minizip CONFIG REQUIRED)
    # The core includes <unzip.h>, as pkg-config's include path gives it.
    find_path(VENUECHECK_MINIZIP_INCLUDE minizip/unzip.h REQUIRED)
    add_library(venuecheck_minizip INTERFACE)
    target_link_libraries(venuecheck_minizip INTERFACE unofficial::minizip::minizip)
    target_include_directories(venuecheck_minizip INTERFACE ${VENUECHECK_MINIZIP_INCLUDE}/minizip)
    add_library(venuecheck::minizip ALIAS venuecheck_minizip)
    find_package(PNG REQUIRED)
    add_library(venuecheck::png ALIAS PNG::PNG)
endif()

if(NOT TARGET venuecheck::minizip)
    find_package(PkgConfig REQUIRED)
    pkg_check_modules(MINIZIP REQUIRED IMPORTED_TARGET minizip)
    add_library(venuecheck::minizip ALIAS PkgConfig::MINIZIP)
endif()

if(NOT TARGET venuecheck::png)
    find_package(PNG REQUIRED)
    add_library(venuecheck::png ALIAS PNG::PNG)
endif()
