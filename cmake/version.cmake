# The version is written once, in the file VERSION at the top of the tree; its
# release day is that of debian/changelog's newest entry, which Debian's tools
# need in their own form and which scripts/new-version.py writes with it.
# Included before project(): sets VOMBA_VERSION and VOMBA_RELEASE_DATE
# (YYYY-MM-DD), and refuses a changelog whose newest entry is another version.

get_filename_component(_top ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
  ${_top}/VERSION ${_top}/debian/changelog)

file(STRINGS ${_top}/VERSION VOMBA_VERSION LIMIT_COUNT 1)
if(NOT VOMBA_VERSION MATCHES "^[0-9]+\\.[0-9]+\\.[0-9]+$")
  message(FATAL_ERROR "VERSION holds '${VOMBA_VERSION}', not a version such as 1.0.1")
endif()

# The newest entry: "vombapong (1.0.0) unstable; ..." and its trailer
# " -- Name <mail>  Tue, 08 Dec 2026 00:00:00 +0000".
file(STRINGS ${_top}/debian/changelog _head LIMIT_COUNT 1)
file(STRINGS ${_top}/debian/changelog _trailer REGEX "^ -- " LIMIT_COUNT 1)
string(REGEX MATCH "^vombapong \\(([^)]*)\\)" _ "${_head}")
set(_changelog_version "${CMAKE_MATCH_1}")
if(NOT _changelog_version STREQUAL VOMBA_VERSION)
  message(FATAL_ERROR "debian/changelog's newest entry is version '${_changelog_version}', "
    "but VERSION says ${VOMBA_VERSION}: start a version with scripts/new-version.py")
endif()
if(NOT _trailer MATCHES ",  ?([0-9]+) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
  message(FATAL_ERROR "no date in debian/changelog's newest entry")
endif()
set(_months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(FIND _months "${CMAKE_MATCH_2}" _month)
math(EXPR _month "${_month} + 1")
# YYYY-MM-DD with leading zeros.
math(EXPR _stamp "${CMAKE_MATCH_3} * 10000 + ${_month} * 100 + ${CMAKE_MATCH_1}")
string(REGEX REPLACE "^(....)(..)(..)$" "\\1-\\2-\\3" VOMBA_RELEASE_DATE "${_stamp}")
