# CHANGELOG.md as the Debian changelog format wants it: Debian policy makes a native package's
# usr/share/doc/<package>/changelog.gz its Debian changelog, and lintian reads it as one. Each
# "## VERSION (YYYY-MM-DD)" heading becomes an entry's header and trailer, each "- " item a
# "  * " item, its continuation lines stay indented beneath it; the text above the first
# heading is left out. The newest entry must carry the project's version, and so must the
# metainfo's newest release: project(VERSION) is the one place the version is set, and a new
# version without its changes is caught when CMake configures.

# Sets OUTPUT_VARIABLE to MARKDOWN in the Debian changelog format, each entry signed by MAINTAINER
# ("Name <address>"), and BRENVIK_CHANGELOG_DATE to the newest entry's date.
function(brenvik_debian_changelog markdown maintainer output_variable)
  file(READ ${markdown} rest)
  set(result "")
  set(trailer "")
  set(newest "")
  # Line by line through the text itself: a CMake list would split at a ";" and join lines
  # across an unbalanced "[".
  while(NOT rest STREQUAL "")
    string(FIND "${rest}" "\n" end)
    if(end EQUAL -1)
      string(LENGTH "${rest}" end)
    endif()
    string(SUBSTRING "${rest}" 0 ${end} line)
    math(EXPR end "${end} + 1")
    string(SUBSTRING "${rest}" ${end} -1 rest)
    if(line MATCHES "^## ([^ ]+) \\(([0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9])\\)$")
      set(version ${CMAKE_MATCH_1})
      if(newest STREQUAL "")
        set(newest ${version})
        set(newest_date ${CMAKE_MATCH_2})
      endif()
      # The trailer's date in RFC 5322 form, weekday included, as dpkg-parsechangelog reads it.
      execute_process(COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C date -u -R -d ${CMAKE_MATCH_2}
                      OUTPUT_VARIABLE date OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
      string(APPEND result "${trailer}brenvik (${version}) unstable; urgency=medium\n\n")
      set(trailer "\n -- ${maintainer}  ${date}\n\n")
    elseif(line MATCHES "^## ")
      message(FATAL_ERROR "${markdown}: a version heading is \"## VERSION (YYYY-MM-DD)\", not \"${line}\"")
    elseif(newest STREQUAL "" OR line STREQUAL "")
      continue()
    elseif(line MATCHES "^- (.*)$")
      string(APPEND result "  * ${CMAKE_MATCH_1}\n")
    elseif(line MATCHES "^  (.*)$")
      string(APPEND result "    ${CMAKE_MATCH_1}\n")
    else()
      message(FATAL_ERROR "${markdown}: below a version heading only \"- \" items and their "
                          "indented continuation lines belong, not \"${line}\"")
    endif()
  endwhile()
  if(NOT newest STREQUAL PROJECT_VERSION)
    message(FATAL_ERROR "${markdown}: the newest entry is \"${newest}\" but the project's version "
                        "is ${PROJECT_VERSION}: say what the new version changes")
  endif()
  string(REGEX REPLACE "\n+$" "\n" result "${result}${trailer}")
  set(${output_variable} "${result}" PARENT_SCOPE)
  set(BRENVIK_CHANGELOG_DATE ${newest_date} PARENT_SCOPE)
endfunction()

# Fails unless the AppStream metainfo's newest release (the first, as they are listed newest
# first) is VERSION of DATE, the changelog's newest entry.
function(brenvik_check_metainfo_release metainfo version date)
  file(READ ${metainfo} text)
  if(NOT text MATCHES "<release version=\"([^\"]*)\" date=\"([^\"]*)\"")
    message(FATAL_ERROR "${metainfo}: no <release version=\"...\" date=\"...\"/>")
  endif()
  if(NOT CMAKE_MATCH_1 STREQUAL version OR NOT CMAKE_MATCH_2 STREQUAL date)
    message(FATAL_ERROR "${metainfo}: the newest release is ${CMAKE_MATCH_1} of ${CMAKE_MATCH_2}, "
                        "the changelog's newest entry ${version} of ${date}")
  endif()
endfunction()
