# zlib and minizip are the core's only dependencies; they come from the
# system's packages (pkg-config on Debian).
if(NOT TARGET venuecheck::minizip)
    find_package(PkgConfig REQUIRED)
    pkg_check_modules(MINIZIP REQUIRED IMPORTED_TARGET minizip)
    add_library(venuecheck::minizip ALIAS PkgConfig::MINIZIP)
endif()
