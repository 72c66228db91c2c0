# Writes the site's service worker from web/service_worker.js.in with the list
# of the files it keeps and a hash of their contents, so that every build that
# changes a file names a new cache, and the same files always give the same
# name (no clock, no path: the hash covers only the names and the bytes).
#   cmake -DSITE=site -DFILES="index.html;..." -DIN=service_worker.js.in -DOUT=x.js -P make_service_worker.cmake
set(summary "")
set(VOMBA_SITE_FILES "'./'")
foreach(name IN LISTS FILES)
  file(SHA256 ${SITE}/${name} hash)
  string(APPEND summary "${hash}  ${name}\n")
  string(APPEND VOMBA_SITE_FILES ", '${name}'")
endforeach()
string(SHA256 VOMBA_SITE_HASH "${summary}")
string(SUBSTRING ${VOMBA_SITE_HASH} 0 16 VOMBA_SITE_HASH)
configure_file(${IN} ${OUT} @ONLY)
