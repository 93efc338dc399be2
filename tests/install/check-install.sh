#!/bin/sh
# Installs the build tree into an empty folder, the way `cmake --install` and
# the Debian package do, and checks that the desktop finds what it needs there:
# both programs, the icon under the name the desktop entry gives, a desktop
# entry a desktop accepts, and the guide in the folder the program opens.
#
# Usage: check-install.sh CMAKE BUILD_DIR ROOT ICON_SOURCE
#   ROOT is emptied first; ICON_SOURCE is the icon of the source tree.
set -u

CMAKE=$1
BUILD_DIR=$2
ROOT=$3
ICON_SOURCE=$4

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
# copyright file beside it.
GUIDE_DIR=$ROOT/share/doc/tavrel
[ -f "$GUIDE_DIR/説明書.html" ] || fail "share/doc/tavrel/説明書.html is missing"
[ -f "$GUIDE_DIR/copyright" ] || fail "share/doc/tavrel/copyright is missing"

# Nothing lands outside the places above: a stray install rule (a library's
# headers, a test program) would end up in the package.
stray=$(cd "$ROOT" && find . -type f | sed 's|^\./||' | grep -v -E \
    '^(bin/tavrel|bin/tavrel-sumup|share/icons/hicolor/scalable/apps/tavrel\.svg|share/applications/tavrel\.desktop|share/doc/tavrel/.+)$')
[ -z "$stray" ] || fail "files installed outside the expected places:
$stray"

DESKTOP=$ROOT/share/applications/tavrel.desktop
if [ ! -f "$DESKTOP" ]; then
    fail "share/applications/tavrel.desktop is missing"
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
