# make windows: the game as a Windows program, cross-built with MinGW-w64
# (windows/mingw-w64-x86_64.cmake) against SDL2 and SDL2_mixer built from
# Debian's sources (scripts/cross-sdl.sh, whose prefix is CMAKE_PREFIX_PATH),
# and packed as VombaPong-<version>-win64.zip for players to unzip and
# double-click. Included by CMakeLists.txt only when building for Windows:
# everything the Windows build does differently is here, around the same
# sources as the Linux build.

# ----- linking: one .exe, nothing beside it ---------------------------------------

# SDL was built as static libraries only (CMakeLists.txt names their targets).
# Linking everything statically (SDL, the mixer, the C++ and GCC runtimes,
# winpthreads) leaves a player one file that cannot be separated from its
# libraries or meet a wrong DLL of the same name on the machine; the licences
# of what is linked in go into the zip.

# The generator runs under Wine during the build (below); without the
# runtimes linked in it would look for their DLLs and not start.
foreach(program vombapong vomba_make_assets)
  target_link_options(${program} PRIVATE -static)
endforeach()

# The hardening Linux gets from -z relro/now, as Windows has it: addresses
# laid out anew at every start, and no code run from data.
target_link_options(vombapong PRIVATE -Wl,--dynamicbase -Wl,--nxcompat -Wl,--high-entropy-va)
# Stripped as it is linked (symbols are of no use to players) and with no
# link time in its header: the same sources give the same .exe. Stripping it
# afterwards would write the time in again.
target_link_options(vombapong PRIVATE -s -Wl,--no-insert-timestamp)

# ----- a Windows program ------------------------------------------------------------

# The windowed subsystem: no console window opens beside the game. Its
# messages then go to message boxes (windows/platform_messages.cpp). SDL2main gives the
# WinMain such a program starts in.
set_target_properties(vombapong PROPERTIES WIN32_EXECUTABLE ON OUTPUT_NAME VombaPong)

# ----- the generator, run under Wine ------------------------------------------------

# The game's pictures and sounds are drawn by the generator built for Windows
# itself and run under Wine, so the build needs no second, native build; a
# test checks that the files come out the same bytes as the Linux build's.
# Wine keeps its own prefix in the build folder, made once before the first run.
set(VOMBA_WINE /usr/lib/wine/wine64 CACHE FILEPATH "Wine's launcher, which runs the generator")
set(VOMBA_WINE_PREFIX ${CMAKE_BINARY_DIR}/wine)
set(VOMBA_WINE_RUN ${CMAKE_COMMAND} -E env WINEPREFIX=${VOMBA_WINE_PREFIX} WINEDEBUG=-all
    # No browser or .NET runtime wanted, and no window: the build has no display.
    "WINEDLLOVERRIDES=mscoree,mshtml=" --unset=DISPLAY ${VOMBA_WINE})
set_target_properties(vomba_make_assets PROPERTIES CROSSCOMPILING_EMULATOR "${VOMBA_WINE_RUN}")
add_custom_command(
  OUTPUT ${VOMBA_WINE_PREFIX}/system.reg
  COMMAND ${VOMBA_WINE_RUN} wineboot --init
  COMMENT "Making the Wine prefix that runs the generator"
  VERBATIM)
add_custom_target(vomba_wine_prefix DEPENDS ${VOMBA_WINE_PREFIX}/system.reg)
add_dependencies(vomba_make_assets vomba_wine_prefix)

# The icon is embedded in the .exe; the desktop's PNG icons are not needed.
set_target_properties(vomba_icons PROPERTIES EXCLUDE_FROM_ALL ON)

# ----- resources: icon, version, manifest -------------------------------------------

enable_language(RC)
set(VOMBA_WINDOWS_DIR ${CMAKE_CURRENT_LIST_DIR}/packaging)
set(VOMBA_WINDOWS_GENERATED ${CMAKE_BINARY_DIR}/windows)
set(VOMBA_WINDOWS_ICON ${VOMBA_WINDOWS_GENERATED}/vombapong.ico)
set(VOMBA_WINDOWS_MANIFEST ${VOMBA_WINDOWS_GENERATED}/vombapong.manifest)
add_custom_command(
  OUTPUT ${VOMBA_WINDOWS_ICON}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${VOMBA_WINDOWS_GENERATED}
  COMMAND vomba_make_assets --ico ${VOMBA_WINDOWS_ICON}
  DEPENDS vomba_make_assets
  COMMENT "Drawing the Windows icon"
  VERBATIM)

file(STRINGS ${PROJECT_SOURCE_DIR}/LICENSE VOMBA_COPYRIGHT_LINE REGEX "^Copyright \\(C\\) ")
configure_file(${VOMBA_WINDOWS_DIR}/vombapong.manifest.in ${VOMBA_WINDOWS_MANIFEST} @ONLY)
configure_file(${VOMBA_WINDOWS_DIR}/vombapong.rc.in ${VOMBA_WINDOWS_GENERATED}/vombapong.rc @ONLY)
target_sources(vombapong PRIVATE ${VOMBA_WINDOWS_GENERATED}/vombapong.rc)
set_source_files_properties(${VOMBA_WINDOWS_GENERATED}/vombapong.rc PROPERTIES
  OBJECT_DEPENDS "${VOMBA_WINDOWS_ICON};${VOMBA_WINDOWS_MANIFEST}")

# ----- the zip ----------------------------------------------------------------------

# One folder: the game with its 36 files beside it, a README for Windows
# players, and every licence of what VombaPong.exe contains: SDL2 and
# SDL2_mixer (the copyright files of Debian's source packages they were built
# from, copied by scripts/cross-sdl.sh), and the MinGW-w64 runtime (the
# copyright files of the Debian packages it was linked from: GCC's runtime
# library exception, and the MinGW-w64 runtime's with winpthreads).
get_filename_component(VOMBA_SDL_PREFIX "${SDL2_DIR}/../../.." ABSOLUTE)
set(VOMBA_WINDOWS_LICENCES
  "${VOMBA_SDL_PREFIX}/licenses/SDL2.txt=SDL2.txt"
  "${VOMBA_SDL_PREFIX}/licenses/SDL2_mixer.txt=SDL2_mixer.txt"
  "/usr/share/doc/gcc-mingw-w64-x86-64-posix-runtime/copyright=GCC-runtime.txt"
  "/usr/share/doc/mingw-w64-x86-64-dev/copyright=MinGW-w64-runtime.txt")
# Handed to the packing script as one argument: "source=name|source=name".
string(REPLACE ";" "|" VOMBA_WINDOWS_LICENCES "${VOMBA_WINDOWS_LICENCES}")
configure_file(${VOMBA_WINDOWS_DIR}/README.txt.in ${VOMBA_WINDOWS_GENERATED}/README.txt @ONLY)

set(VOMBA_WINDOWS_ZIP_NAME VombaPong-${PROJECT_VERSION}-win64)
set(VOMBA_PYTHON /usr/bin/python3 CACHE FILEPATH "Debian's python3, which packs the zip")
set(VOMBA_WINDOWS_ZIP ${CMAKE_BINARY_DIR}/${VOMBA_WINDOWS_ZIP_NAME}.zip)
add_custom_command(
  OUTPUT ${VOMBA_WINDOWS_ZIP}
  COMMAND ${CMAKE_COMMAND}
          -DGAME_DIR=${VOMBA_GAME_DIR}
          -DEXE=$<TARGET_FILE:vombapong>
          -DREADME=${VOMBA_WINDOWS_GENERATED}/README.txt
          -DLICENSE=${PROJECT_SOURCE_DIR}/LICENSE
          -DLICENCES=${VOMBA_WINDOWS_LICENCES}
          -DSTAGE=${VOMBA_WINDOWS_GENERATED}/zip
          -DNAME=${VOMBA_WINDOWS_ZIP_NAME}
          -DZIP=${VOMBA_WINDOWS_ZIP}
          -DDATE=${VOMBA_RELEASE_DATE}
          -DPYTHON=${VOMBA_PYTHON}
          -DPACK_ZIP=${PROJECT_SOURCE_DIR}/scripts/pack-zip.py
          -P ${CMAKE_CURRENT_LIST_DIR}/windows_zip.cmake
  DEPENDS vombapong ${CMAKE_BINARY_DIR}/game_facts.json ${VOMBA_WINDOWS_GENERATED}/README.txt
          ${PROJECT_SOURCE_DIR}/LICENSE ${CMAKE_CURRENT_LIST_DIR}/windows_zip.cmake
          ${PROJECT_SOURCE_DIR}/scripts/pack-zip.py
  COMMENT "Packing ${VOMBA_WINDOWS_ZIP_NAME}.zip"
  VERBATIM)
add_custom_target(windows_zip ALL DEPENDS ${VOMBA_WINDOWS_ZIP})
add_dependencies(windows_zip vomba_assets)
