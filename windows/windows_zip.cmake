# Packs the Windows zip (windows/windows.cmake): run with cmake -P at build time.
#
#   GAME_DIR   the game's folder: its pictures and sounds
#   EXE        VombaPong.exe as built
#   README, LICENSE, LICENCES ("source=name|..." for the folder licenses/)
#   STAGE      a scratch folder; NAME the zip's one folder; ZIP the file
#   DATE       every file's date in the zip without SOURCE_DATE_EPOCH (the release date)
#   PYTHON, PACK_ZIP   python3 and scripts/pack-zip.py, which packs it
#
# The text files get Windows line ends, which every Windows editor shows.

set(folder ${STAGE}/${NAME})
file(REMOVE_RECURSE ${STAGE})
file(MAKE_DIRECTORY ${folder}/licenses)

file(GLOB game_files RELATIVE ${GAME_DIR} ${GAME_DIR}/*.bmp ${GAME_DIR}/*.wav)
foreach(name IN LISTS game_files)
  file(COPY_FILE ${GAME_DIR}/${name} ${folder}/${name})
endforeach()
file(COPY_FILE ${EXE} ${folder}/VombaPong.exe)

function(copy_text source destination)
  if(NOT EXISTS ${source})
    message(FATAL_ERROR "windows zip: ${source} is missing")
  endif()
  file(READ ${source} text)
  string(REPLACE "\r\n" "\n" text "${text}")
  string(REPLACE "\n" "\r\n" text "${text}")
  file(WRITE ${destination} "${text}")
endfunction()
copy_text(${README} ${folder}/README.txt)
copy_text(${LICENSE} ${folder}/LICENSE.txt)
string(REPLACE "|" ";" licences "${LICENCES}")
foreach(licence IN LISTS licences)
  string(REGEX MATCH "^(.*)=([^=]*)$" matched "${licence}")
  copy_text(${CMAKE_MATCH_1} ${folder}/licenses/${CMAKE_MATCH_2})
endforeach()

# The same bytes from every build: scripts/pack-zip.py sorts, fixes the
# modes, and dates every file SOURCE_DATE_EPOCH when a release sets it.
file(REMOVE ${ZIP})
execute_process(COMMAND ${PYTHON} ${PACK_ZIP} ${folder} ${ZIP} --date ${DATE}
                COMMAND_ERROR_IS_FATAL ANY)
