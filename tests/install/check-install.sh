#!/bin/sh
# SPDX-FileCopyrightText: 2026 Tavrel developers
# SPDX-License-Identifier: MIT

# Installs the build tree into an empty folder, the way `cmake --install` and
# the Debian package do, and checks that the desktop and the distribution find
# what they need there: both programs, the icon under the name the desktop
# entry gives, a desktop entry a desktop accepts, AppStream metadata that
# matches it, the manual pages, the shell completion, and the guide, the
# copyright file and the changelog in the folder the program opens, with the
# guide's pictures beside it.
#
# Usage: check-install.sh CMAKE BUILD_DIR ROOT SOURCE_DIR VERSION
#   ROOT is emptied first; SOURCE_DIR is the source tree; VERSION is the
#   project's version.
set -u

CMAKE=$1
BUILD_DIR=$2
ROOT=$3
SOURCE_DIR=$4
VERSION=$5
ICON_SOURCE=$SOURCE_DIR/src/windows/tavrel.svg
APP_ID=org.tavrel.Tavrel

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

rm -rf "$ROOT"
mkdir -p "$ROOT" || exit 1
if ! "$CMAKE" --install "$BUILD_DIR" --prefix "$ROOT" >"$ROOT.log" 2>&1; then
    cat "$ROOT.log"
    echo "FAIL: cmake --install $BUILD_DIR --prefix $ROOT"
    exit 1
fi

# The programs, executable, and able to start from their installed place
# (their libraries found without the build tree).
for program in tavrel tavrel-sumup; do
    [ -f "$ROOT/bin/$program" ] && [ -x "$ROOT/bin/$program" ] ||
        fail "bin/$program is missing or not executable"
done
if [ -x "$ROOT/bin/tavrel-sumup" ]; then
    "$ROOT/bin/tavrel-sumup" --help >"$ROOT.help" 2>&1 ||
        { cat "$ROOT.help"; fail "the installed tavrel-sumup --help failed"; }
fi

ICON=$ROOT/share/icons/hicolor/scalable/apps/tavrel.svg
if [ ! -f "$ICON" ]; then
    fail "share/icons/hicolor/scalable/apps/tavrel.svg is missing"
elif ! cmp -s "$ICON_SOURCE" "$ICON"; then
    fail "the installed icon differs from $ICON_SOURCE"
fi

# The guide, at the top of the folder the program opens, and the package's
# copyright file and changelog beside it; the manual pages are not part of
# the guide.
GUIDE_DIR=$ROOT/share/doc/tavrel
[ -f "$GUIDE_DIR/説明書.html" ] || fail "share/doc/tavrel/説明書.html is missing"
[ -e "$GUIDE_DIR/man" ] && fail "share/doc/tavrel/man: the manual pages were installed with the guide"
# The guide's pictures, in the folder the guide names relatively (images/),
# each the picture of docs/images.
for picture in main-after.png yearend-page1.png; do
    if [ ! -f "$GUIDE_DIR/images/$picture" ]; then
        fail "share/doc/tavrel/images/$picture (a picture of the guide) is missing"
    elif ! cmp -s "$GUIDE_DIR/images/$picture" "$SOURCE_DIR/docs/images/$picture"; then
        fail "share/doc/tavrel/images/$picture is not docs/images/$picture"
    fi
done
if [ ! -f "$GUIDE_DIR/copyright" ]; then
    fail "share/doc/tavrel/copyright is missing"
else
    # The machine-readable form, naming the licence of LICENSE.
    head -n 1 "$GUIDE_DIR/copyright" |
        grep -q -x 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
        fail "share/doc/tavrel/copyright is not in the machine-readable format"
    grep -q -x 'License: MIT' "$GUIDE_DIR/copyright" || fail "share/doc/tavrel/copyright does not name the MIT licence"
fi

# A file compressed as Debian wants it: gzip -9n, which stores neither the
# original name (flag bit 3) nor a time (bytes 4 to 7 zero).
check_gzip() {
    if [ ! -f "$1" ]; then
        fail "${1#"$ROOT"/} is missing"
    elif ! gzip -t "$1" 2>/dev/null; then
        fail "${1#"$ROOT"/} is not a gzip file"
    elif [ "$(od -A n -t u1 -j 3 -N 5 "$1" | tr -s ' ')" != " 0 0 0 0 0" ]; then
        fail "${1#"$ROOT"/} carries a name or a time stamp (not gzip -n)"
    fi
}

# The changelog in Debian's form, its newest release the project's version.
CHANGELOG=$GUIDE_DIR/changelog.gz
check_gzip "$CHANGELOG"
if [ -f "$CHANGELOG" ]; then
    first=$(gzip -dc "$CHANGELOG" | head -n 1)
    [ "$first" = "tavrel ($VERSION) unstable; urgency=medium" ] ||
        fail "the changelog does not begin with the release $VERSION: $first"
    if command -v dpkg-parsechangelog >/dev/null 2>&1; then
        gzip -dc "$CHANGELOG" >"$ROOT.changelog"
        parsed=$(dpkg-parsechangelog -l "$ROOT.changelog" -S Version 2>&1)
        [ "$parsed" = "$VERSION" ] || fail "dpkg-parsechangelog does not read the changelog: $parsed"
        # Each entry newer than the one below it, as Debian's tools demand,
        # releases of one day included.
        newer=
        for stamp in $(sed -n 's/^ -- .*>  //p' "$ROOT.changelog" | while read -r when; do date -d "$when" +%s; done); do
            if [ -n "$newer" ] && [ "$stamp" -ge "$newer" ]; then
                fail "a changelog entry is not older than the one above it: $stamp, then $newer"
            fi
            newer=$stamp
        done
    fi
fi

# The manual pages, compressed, each the page of docs/man.
for page in tavrel.1 tavrel-sumup.1; do
    installed=$ROOT/share/man/man1/$page.gz
    check_gzip "$installed"
    if [ -f "$installed" ] && ! gzip -dc "$installed" | cmp -s - "$SOURCE_DIR/docs/man/$page"; then
        fail "share/man/man1/$page.gz is not docs/man/$page"
    fi
done

# The completion of tavrel-sumup, under the command's name in the folder
# bash-completion reads (the same folder under the prefix as the one
# bash-completion's pkg-config file names under /usr).
COMPLETION=$ROOT/share/bash-completion/completions/tavrel-sumup
if [ ! -f "$COMPLETION" ]; then
    fail "share/bash-completion/completions/tavrel-sumup is missing"
elif ! cmp -s "$COMPLETION" "$SOURCE_DIR/packaging/tavrel-sumup.bash"; then
    fail "share/bash-completion/completions/tavrel-sumup is not packaging/tavrel-sumup.bash"
fi
if pkg-config --exists bash-completion 2>/dev/null; then
    completionsdir=$(pkg-config --variable=completionsdir bash-completion)
    [ "${completionsdir%/}" = "/usr/share/bash-completion/completions" ] ||
        fail "bash-completion reads completions from $completionsdir, not share/bash-completion/completions"
fi

# Nothing lands outside the places above: a stray install rule (a library's
# headers, a test program) would end up in the package.
stray=$(cd "$ROOT" && find . -type f | sed 's|^\./||' | grep -v -E \
    '^(bin/tavrel|bin/tavrel-sumup|share/icons/hicolor/scalable/apps/tavrel\.svg|share/applications/org\.tavrel\.Tavrel\.desktop|share/metainfo/org\.tavrel\.Tavrel\.metainfo\.xml|share/man/man1/tavrel(-sumup)?\.1\.gz|share/bash-completion/completions/tavrel-sumup|share/doc/tavrel/.+)$')
[ -z "$stray" ] || fail "files installed outside the expected places:
$stray"

# The desktop entry and the AppStream metadata carry the program's id, and
# the program gives the same id to its windows (the id as the UTF-16 text of
# a QStringLiteral in the installed program).
DESKTOP=$ROOT/share/applications/$APP_ID.desktop
METAINFO=$ROOT/share/metainfo/$APP_ID.metainfo.xml
if [ -x "$ROOT/bin/tavrel" ] && ! strings -e l "$ROOT/bin/tavrel" | grep -q -x "$APP_ID"; then
    fail "bin/tavrel does not name its desktop entry $APP_ID"
fi
if [ ! -f "$METAINFO" ]; then
    fail "share/metainfo/$APP_ID.metainfo.xml is missing"
else
    grep -q "<id>$APP_ID</id>" "$METAINFO" || fail "the metainfo's id is not $APP_ID"
    grep -q "<launchable type=\"desktop-id\">$APP_ID.desktop</launchable>" "$METAINFO" ||
        fail "the metainfo does not launch $APP_ID.desktop"
    # AppStream's own checker over the installed tree: the metainfo, and the
    # desktop entry it names. Without the tool (package appstream, installed
    # by scripts/install-deps) this part is left out.
    if command -v appstreamcli >/dev/null 2>&1; then
        report=$(appstreamcli validate-tree --no-net "$ROOT" 2>&1) ||
            { echo "$report"; fail "appstreamcli validate-tree rejects the installed tree"; }
    fi
fi

if [ ! -f "$DESKTOP" ]; then
    fail "share/applications/$APP_ID.desktop is missing"
else
    # The value of KEY in the [Desktop Entry] group (keys of other groups,
    # such as actions, do not count).
    entry() {
        awk -v key="$1" '
            /^\[/ { group = $0; next }
            group == "[Desktop Entry]" && index($0, key "=") == 1 {
                print substr($0, length(key) + 2); exit
            }' "$DESKTOP"
    }
    [ "$(entry Type)" = "Application" ] || fail "Type is not Application"
    [ "$(entry Name)" = "Tavrel" ] || fail "Name is not Tavrel"
    [ "$(entry 'Name[ja]')" = "ミロナ会計係" ] || fail "Name[ja] is not ミロナ会計係"
    [ "$(entry Icon)" = "tavrel" ] || fail "Icon is not tavrel (the installed icon's name)"
    exec_program=$(entry Exec | awk '{ print $1 }')
    [ "${exec_program##*/}" = "tavrel" ] || fail "Exec does not start tavrel: $(entry Exec)"
    categories=";$(entry Categories);"
    case $categories in *";Office;"*) ;; *) fail "Categories lacks Office" ;; esac
    case $categories in *";Finance;"*) ;; *) fail "Categories lacks Finance" ;; esac

    # The desktop's own checker (package desktop-file-utils, installed by
    # scripts/install-deps). Its errors and warnings are faults of ours; its
    # hints are suggestions and only shown.
    if ! command -v desktop-file-validate >/dev/null 2>&1; then
        fail "desktop-file-validate not found (install desktop-file-utils: scripts/install-deps)"
    else
        report=$(desktop-file-validate "$DESKTOP" 2>&1)
        status=$?
        [ -n "$report" ] && echo "$report"
        if [ $status -ne 0 ] || echo "$report" | grep -q -E '(error|warning):'; then
            fail "desktop-file-validate rejects the desktop entry"
        fi
    fi
fi

if [ $failures -ne 0 ]; then
    echo "$failures fault(s) in the installation under $ROOT"
    exit 1
fi
echo "installation under $ROOT complete"
