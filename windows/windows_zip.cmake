# Packs the Windows zip (windows/windows.cmake): run with cmake -P at build time.
#
#   GAME_DIR   the game's folder: its pictures and sounds
#   EXE        VombaPong.exe as built
#   README, LICENSE, LICENCES ("source=name|..." for the folder licenses/)
#   STAGE      a scratch folder; NAME the zip's one folder; ZIP the file
#   DATE       every file's date in the zip (the release date)
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

# Every file, sorted, so the zip lists them in the same order each time. A
# folder named as well would be packed a second time with all it holds.
file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE ${STAGE} ${folder}/*)
list(SORT files)
file(REMOVE ${ZIP})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${ZIP} --format=zip --mtime=${DATE} ${files}
                WORKING_DIRECTORY ${STAGE} COMMAND_ERROR_IS_FATAL ANY)
