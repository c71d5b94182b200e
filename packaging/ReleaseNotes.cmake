# Reads the release notes (RELEASE_NOTES.md) into the Debian changelog and the
# software catalogue's <release> entries. The notes are walked line by line as
# one string, never as a CMake list, which would split them at their semicolons.

# Ends the item under way, if any, in both forms.
macro(release_notes_end_item)
  if(NOT deb_item STREQUAL "")
    string(APPEND deb_release "  * ${deb_item}\n")
    string(REPLACE "&" "&amp;" xml_item "${xml_item}")
    string(REPLACE "<" "&lt;" xml_item "${xml_item}")
    string(REPLACE ">" "&gt;" xml_item "${xml_item}")
    string(APPEND xml_release "          <li>${xml_item}</li>\n")
    set(deb_item "")
    set(xml_item "")
  endif()
endmacro()

# Ends the release under way, if any: its changelog entry is signed by the
# maintainer at midnight of its day.
macro(release_notes_end_release)
  release_notes_end_item()
  if(NOT version STREQUAL "")
    execute_process(COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C date -u -R -d ${date}
      OUTPUT_VARIABLE signed OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    string(APPEND changelog "${package} (${version}) unstable; urgency=medium\n\n"
      "${deb_release}\n -- ${maintainer}  ${signed}\n\n")
    string(APPEND releases "    <release version=\"${version}\" date=\"${date}\">\n"
      "      <description>\n        <ul>\n${xml_release}        </ul>\n      </description>\n"
      "    </release>\n")
    set(deb_release "")
    set(xml_release "")
  endif()
endmacro()

# read_release_notes(NOTES PACKAGE MAINTAINER): sets RELEASE_CHANGELOG (the Debian
# changelog's text), RELEASE_ENTRIES (the <release> elements) and the newest
# release's RELEASE_VERSION and RELEASE_DATE (YYYY-MM-DD).
function(read_release_notes notes package maintainer)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${notes})
  file(READ ${notes} text)
  foreach(name changelog releases version date newest_version newest_date deb_release xml_release deb_item xml_item)
    set(${name} "")
  endforeach()
  while(NOT text STREQUAL "")
    string(FIND "${text}" "\n" end)
    if(end EQUAL -1)
      set(line "${text}")
      set(text "")
    else()
      string(SUBSTRING "${text}" 0 ${end} line)
      math(EXPR end "${end} + 1")
      string(SUBSTRING "${text}" ${end} -1 text)
    endif()
    if(line MATCHES "^## ([0-9][0-9.]*), ([0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9])$")
      release_notes_end_release()
      set(version ${CMAKE_MATCH_1})
      set(date ${CMAKE_MATCH_2})
      if(newest_version STREQUAL "")
        set(newest_version ${version})
        set(newest_date ${date})
      endif()
    elseif(line MATCHES "^- (.+)$" AND NOT version STREQUAL "")
      release_notes_end_item()
      set(deb_item "${CMAKE_MATCH_1}")
      set(xml_item "${CMAKE_MATCH_1}")
    elseif(line MATCHES "^  ([^ ].*)$" AND NOT deb_item STREQUAL "")
      string(APPEND deb_item "\n    ${CMAKE_MATCH_1}")
      string(APPEND xml_item " ${CMAKE_MATCH_1}")
    else()
      release_notes_end_item()
    endif()
  endwhile()
  release_notes_end_release()
  if(newest_version STREQUAL "")
    message(FATAL_ERROR "${notes} names no release: a heading such as \"## 1.0.0, 2026-12-09\" is missing")
  endif()
  set(RELEASE_CHANGELOG "${changelog}" PARENT_SCOPE)
  set(RELEASE_ENTRIES "${releases}" PARENT_SCOPE)
  set(RELEASE_VERSION ${newest_version} PARENT_SCOPE)
  set(RELEASE_DATE ${newest_date} PARENT_SCOPE)
endfunction()
