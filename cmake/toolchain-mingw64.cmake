# Cross-build for 64-bit Windows with Debian's mingw-w64, tests run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(PALISADE_MINGW_TRIPLET x86_64-w64-mingw32)

# The posix thread model: GoogleTest needs std::thread and std::mutex, which
# the win32 variant of this compiler does not provide.
set(CMAKE_C_COMPILER ${PALISADE_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PALISADE_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${PALISADE_MINGW_TRIPLET}-windres)

# Headers and libraries come from the mingw sysroot only; build tools from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${PALISADE_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One self-contained .exe: libstdc++, libgcc and winpthread linked in, so
# nothing has to be shipped beside it and Wine needs no mingw DLL path.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")

# CTest and GoogleTest's discovery start the .exe files through Wine, in a
# throwaway prefix inside this build tree so that ~/.wine is never touched.
get_filename_component(PALISADE_WINE_RUN "${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run" ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR
    env "PALISADE_WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix" "${PALISADE_WINE_RUN}")
