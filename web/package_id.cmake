# Emscripten's file packager gives the packed files a random id (package_uuid
# in vombapong.js), which only its optional cache in the browser compares, so
# every build of the same files came out different. The id becomes the packed
# data's SHA-256 in the form of a UUID: the same files, the same id.
#   cmake -DJS=vombapong.js -DDATA=vombapong.data -P package_id.cmake
file(SHA256 ${DATA} sum)
string(REGEX REPLACE "^(........)(....)(....)(....)(............).*$" "\\1-\\2-\\3-\\4-\\5" id "${sum}")
file(READ ${JS} js)
string(REGEX MATCH "\"package_uuid\": *\"[0-9a-f-]+\"" found "${js}")
if(NOT found)
  message(FATAL_ERROR "package id: no package_uuid in ${JS}; has Emscripten's file packager changed?")
endif()
string(REPLACE "${found}" "\"package_uuid\": \"${id}\"" js "${js}")
file(WRITE ${JS} "${js}")
