# What a cross build for Windows needs beyond its toolchain file: the
# programs that run during the build come from a host build, GoogleTest is
# built from Debian's source, and Windows programs (tests, discovery) run
# under Wine.
set(FENWIR_HOST_TOOLS "" CACHE PATH
    "Folder of a host build's programs: fenwir-render-icons, fenwir-make-layout, fenwir-cli")
if(NOT EXISTS "${FENWIR_HOST_TOOLS}/fenwir-make-layout")
    message(FATAL_ERROR "A cross build needs FENWIR_HOST_TOOLS (tools/windows/build.sh makes them)")
endif()

# Wine runs the build's Windows programs in a prefix of the build's own,
# with Tokyo time and Qt's and the other libraries' DLLs on the path.
find_program(FENWIR_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_DEFAULT_PATH)
find_program(FENWIR_WINE NAMES wine64 wine)
set(FENWIR_WINEPREFIX ${CMAKE_BINARY_DIR}/wine CACHE PATH "Wine prefix for tests")
if(FENWIR_WINE)
    configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run.sh
                   FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
                                    GROUP_EXECUTE WORLD_READ WORLD_EXECUTE @ONLY)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run.sh)
endif()

# The path of a program that runs during the build: the host build's.
function(fenwir_host_tool var name)
    set(${var} ${FENWIR_HOST_TOOLS}/${name} PARENT_SCOPE)
endfunction()

# GoogleTest for Windows, from the source Debian's googletest package ships.
macro(fenwir_cross_gtest)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
    if(NOT TARGET GTest::gtest)
        add_library(GTest::gtest ALIAS gtest)
        add_library(GTest::gmock ALIAS gmock)
    endif()
endmacro()
