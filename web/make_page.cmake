# Writes the game's page from web/page.html.in with the window's title and
# size taken from the game's own description of itself (the generator's
# --facts dump), so the page never restates them, and with the version.
#   cmake -DFACTS=game_facts.json -DVOMBA_VERSION=X.Y.Z -DPAGE=page.html.in -DOUT=index.html
#         -P make_page.cmake
file(READ ${FACTS} facts)
string(JSON VOMBA_WINDOW_TITLE GET "${facts}" window title)
string(JSON VOMBA_WINDOW_WIDTH GET "${facts}" window size 0)
string(JSON VOMBA_WINDOW_HEIGHT GET "${facts}" window size 1)
string(REPLACE "&" "&amp;" VOMBA_WINDOW_TITLE "${VOMBA_WINDOW_TITLE}")
string(REPLACE "<" "&lt;" VOMBA_WINDOW_TITLE "${VOMBA_WINDOW_TITLE}")
string(REPLACE ">" "&gt;" VOMBA_WINDOW_TITLE "${VOMBA_WINDOW_TITLE}")
configure_file(${PAGE} ${OUT} @ONLY)
