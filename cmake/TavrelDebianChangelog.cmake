# SPDX-FileCopyrightText: 2026 Tavrel developers
# SPDX-License-Identifier: MIT

# Turns CHANGELOG.md (Keep a Changelog) into the changelog of the Debian
# package, in the form dpkg-parsechangelog and lintian read:
#
#   tavrel (0.1.0) unstable; urgency=medium
#
#     * Added:
#       - tavrel-sumup, the command-line front end: ...
#         continued ...
#
#    -- Tavrel developers <developers@tavrel.org>  Thu, 10 Dec 2026 00:00:00 +0000
#
# Only releases up to VERSION are taken: a package never lists a release
# newer than itself. [Unreleased] is left out.
#
#   cmake -DINPUT=CHANGELOG.md -DOUTPUT=changelog -DPACKAGE=tavrel
#         -DVERSION=0.1.0 -DMAINTAINER="Name <address>" -P TavrelDebianChangelog.cmake
foreach(Variable INPUT OUTPUT PACKAGE VERSION MAINTAINER)
    if(NOT DEFINED ${Variable})
        message(FATAL_ERROR "TavrelDebianChangelog: ${Variable} is not set")
    endif()
endforeach()

# "YYYY-MM-DD" as the date of a changelog trailer (RFC 5322), Minutes after
# midnight UTC.
function(tavrel_changelog_date IsoDate Minutes Result)
    if(NOT IsoDate MATCHES "^([0-9][0-9][0-9][0-9])-([0-9][0-9])-([0-9][0-9])$")
        message(FATAL_ERROR "TavrelDebianChangelog: not a date of the form YYYY-MM-DD: ${IsoDate}")
    endif()
    math(EXPR Year "${CMAKE_MATCH_1}")
    math(EXPR Month "1${CMAKE_MATCH_2} - 100")
    math(EXPR Day "1${CMAKE_MATCH_3} - 100")
    # Sakamoto's day of the week: 0 is Sunday.
    set(Offsets 0 3 2 5 0 3 5 1 4 6 2 4)
    math(EXPR MonthIndex "${Month} - 1")
    list(GET Offsets ${MonthIndex} Offset)
    set(Y ${Year})
    if(Month LESS 3)
        math(EXPR Y "${Y} - 1")
    endif()
    math(EXPR Weekday "(${Y} + ${Y} / 4 - ${Y} / 100 + ${Y} / 400 + ${Offset} + ${Day}) % 7")
    set(WeekdayNames Sun Mon Tue Wed Thu Fri Sat)
    set(MonthNames Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
    list(GET WeekdayNames ${Weekday} WeekdayName)
    list(GET MonthNames ${MonthIndex} MonthName)
    if(Day LESS 10)
        set(Day "0${Day}")
    endif()
    math(EXPR Hour "${Minutes} / 60")
    math(EXPR Minute "${Minutes} % 60")
    foreach(Part Hour Minute)
        if(${Part} LESS 10)
            set(${Part} "0${${Part}}")
        endif()
    endforeach()
    set(${Result} "${WeekdayName}, ${Day} ${MonthName} ${Year} ${Hour}:${Minute}:00 +0000" PARENT_SCOPE)
endfunction()

file(STRINGS "${INPUT}" Lines ENCODING UTF-8)

# The dates of the releases taken, newest first. Debian wants every entry
# newer than the one below it, and the changelog gives days only: releases
# made on one day are a minute apart, the oldest at midnight.
set(Dates "")
foreach(Line IN LISTS Lines)
    if(Line MATCHES "^## \\[([^]]+)\\] - ([0-9-]+)" AND NOT CMAKE_MATCH_1 STREQUAL "Unreleased"
       AND NOT CMAKE_MATCH_1 VERSION_GREATER VERSION)
        list(APPEND Dates "${CMAKE_MATCH_2}")
    endif()
endforeach()
set(ReleaseIndex 0)

set(Output "")
set(Release "")      # the version of the release being copied, if taken
set(Trailer "")
foreach(Line IN LISTS Lines)
    if(Line MATCHES "^## \\[([^]]+)\\]( - ([0-9-]+))?")
        string(APPEND Output "${Trailer}")
        set(Trailer "")
        set(Release "")
        set(Name "${CMAKE_MATCH_1}")
        if(Name STREQUAL "Unreleased" OR Name VERSION_GREATER VERSION)
            continue()
        endif()
        if(NOT CMAKE_MATCH_3)
            message(FATAL_ERROR "TavrelDebianChangelog: release ${Name} has no date")
        endif()
        set(IsoDate "${CMAKE_MATCH_3}")
        set(Minutes 0)
        list(LENGTH Dates Count)
        math(EXPR Older "${ReleaseIndex} + 1")
        while(Older LESS Count)
            list(GET Dates ${Older} OlderDate)
            if(OlderDate STREQUAL IsoDate)
                math(EXPR Minutes "${Minutes} + 1")
            endif()
            math(EXPR Older "${Older} + 1")
        endwhile()
        math(EXPR ReleaseIndex "${ReleaseIndex} + 1")
        tavrel_changelog_date("${IsoDate}" ${Minutes} Date)
        if(NOT Output STREQUAL "")
            string(APPEND Output "\n")
        endif()
        string(APPEND Output "${PACKAGE} (${Name}) unstable; urgency=medium\n")
        set(Release "${Name}")
        set(Trailer "\n -- ${MAINTAINER}  ${Date}\n")
    elseif(Release STREQUAL "")
        continue()
    elseif(Line MATCHES "^### (.+)$")
        string(APPEND Output "\n  * ${CMAKE_MATCH_1}:\n")
    elseif(Line MATCHES "^- (.+)$")
        string(APPEND Output "    - ${CMAKE_MATCH_1}\n")
    elseif(Line MATCHES "^  +(.+)$")
        string(APPEND Output "      ${CMAKE_MATCH_1}\n")
    elseif(NOT Line STREQUAL "")
        message(FATAL_ERROR "TavrelDebianChangelog: release ${Release}: not a heading or list item: ${Line}")
    endif()
endforeach()
string(APPEND Output "${Trailer}")
if(Output STREQUAL "")
    message(FATAL_ERROR "TavrelDebianChangelog: ${INPUT} has no release up to ${VERSION}")
endif()
file(WRITE "${OUTPUT}" "${Output}")
