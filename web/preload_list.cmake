# Writes the list of the game's files that emcc packs into vombapong.data, as
# a response file: one --preload-file each, in the order of their names. A
# folder given whole would be packed in the order the file system lists it,
# which differs from one file system to another.
#   cmake -DGAME_DIR=game -DOUT=preload-files.rsp -P preload_list.cmake
file(GLOB names RELATIVE ${GAME_DIR} ${GAME_DIR}/*)
list(SORT names)
if(NOT names)
  message(FATAL_ERROR "preload list: ${GAME_DIR} holds no game file")
endif()
set(text "")
foreach(name IN LISTS names)
  string(APPEND text "--preload-file \"${GAME_DIR}/${name}@/${name}\"\n")
endforeach()
file(WRITE ${OUT} "${text}")
