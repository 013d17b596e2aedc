# The web build's settings, read by the top CMakeLists.txt under emcmake:
# no windows, tests or packaging; exceptions everywhere, since the engine
# throws; zlib, libspng, libdeflate (built by scripts/web-deps.sh from Debian's sources)
# and the JSON reader's headers from PELTO_WEB_DEPS.
set(PELTO_WEB_DEPS "" CACHE PATH "Where scripts/web-deps.sh built zlib, libspng and libdeflate (its prefix)")
if(NOT EXISTS "${PELTO_WEB_DEPS}/lib/libdeflate.a")
  message(FATAL_ERROR "PELTO_WEB_DEPS: no libdeflate.a under '${PELTO_WEB_DEPS}' (scripts/web-deps.sh)")
endif()
set(PELTO_BUILD_GUI OFF CACHE BOOL "" FORCE)
set(PELTO_BUILD_TESTS OFF CACHE BOOL "" FORCE)
set(PELTO_BUILD_DIST OFF CACHE BOOL "" FORCE)
set(PELTO_BUILD_BENCH OFF CACHE BOOL "" FORCE)
# Each emcc call costs a second of its own before it compiles: fewer, bigger files.
set(CMAKE_UNITY_BUILD ON)

add_compile_options(-msimd128)
# The threaded engine, for a page served cross-origin isolated: every object,
# the libraries' included (PELTO_WEB_DEPS's prefix-threads), shares one memory.
option(PELTO_WEB_THREADS "Build the threaded engine (pelto-engine-threads)" OFF)
# The most threads it runs on: its workers are all started with it.
set(PELTO_WEB_MAX_THREADS 8)
if(PELTO_WEB_THREADS)
  add_compile_options(-pthread)
  add_link_options(-pthread)
  add_compile_definitions(PELTO_WEB_MAX_THREADS=${PELTO_WEB_MAX_THREADS})
  # This emcc's threaded C++ libraries never catch WebAssembly's own
  # exceptions: the threaded engine throws through JavaScript's.
  set(web_exceptions -fexceptions)
else()
  # WebAssembly's own exceptions: smaller code, and quicker where nothing throws.
  set(web_exceptions -fwasm-exceptions)
endif()
add_compile_options(${web_exceptions})
add_link_options(${web_exceptions})

add_library(ZLIB::ZLIB STATIC IMPORTED)
# Built with HAVE_UNISTD_H, which makes z_off_t 64 bits: its callers must agree.
set_target_properties(ZLIB::ZLIB PROPERTIES IMPORTED_LOCATION ${PELTO_WEB_DEPS}/lib/libz.a
  INTERFACE_INCLUDE_DIRECTORIES ${PELTO_WEB_DEPS}/include INTERFACE_COMPILE_DEFINITIONS HAVE_UNISTD_H)
add_library(PkgConfig::SPNG STATIC IMPORTED)
set_target_properties(PkgConfig::SPNG PROPERTIES IMPORTED_LOCATION ${PELTO_WEB_DEPS}/lib/libspng.a
  INTERFACE_INCLUDE_DIRECTORIES ${PELTO_WEB_DEPS}/include INTERFACE_COMPILE_DEFINITIONS SPNG_STATIC
  INTERFACE_LINK_LIBRARIES ZLIB::ZLIB)
add_library(PkgConfig::DEFLATE STATIC IMPORTED)
set_target_properties(PkgConfig::DEFLATE PROPERTIES IMPORTED_LOCATION ${PELTO_WEB_DEPS}/lib/libdeflate.a
  INTERFACE_INCLUDE_DIRECTORIES ${PELTO_WEB_DEPS}/include)
# Header only: its own folder, not the host's whole include folder.
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
set_target_properties(nlohmann_json::nlohmann_json PROPERTIES
  INTERFACE_INCLUDE_DIRECTORIES ${PELTO_WEB_DEPS}/json)

# Steps run at build time (po_to_cpp) go through node; Debian's toolchain file
# gives node a flag today's node refuses.
find_program(PELTO_NODE node REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${PELTO_NODE})
