#!/bin/sh
# SPDX-FileCopyrightText: 2026 Tavrel developers
# SPDX-License-Identifier: MIT

# Checks the files of the package with the tools a distribution checks them
# with, and fails on anything those tools say.
#
# Usage: check-tool.sh man PAGE...        groff (every warning), lexgrog
#        check-tool.sh appstream METAINFO appstreamcli validate --no-net
#        check-tool.sh reuse SOURCE_DIR   reuse lint
# Exit status 77 (skipped) when the tool is not installed;
# scripts/install-deps installs them all.
set -u

skip() {
    echo "skipped: $*"
    exit 77
}

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

kind=$1
shift
case $kind in
man)
    command -v groff >/dev/null 2>&1 || skip "groff is not installed (package groff-base)"
    for page in "$@"; do
        # As man renders the page on a UTF-8 terminal: preconv (-k) for the
        # Japanese text, the utf8 device; -ww turns on every warning, among
        # them a line that cannot be broken within the width.
        report=$(groff -k -ww -z -man -Tutf8 "$page" 2>&1)
        [ -z "$report" ] || { echo "$report"; fail "groff warns about $page"; }
        # The NAME line as apropos and whatis read it (man-db's lexgrog).
        if command -v lexgrog >/dev/null 2>&1; then
            lexgrog "$page" || fail "lexgrog finds no NAME line in $page"
        fi
    done
    ;;
appstream)
    command -v appstreamcli >/dev/null 2>&1 || skip "appstreamcli is not installed (package appstream)"
    appstreamcli validate --no-net "$1" || fail "appstreamcli rejects $1"
    ;;
reuse)
    command -v reuse >/dev/null 2>&1 || skip "reuse is not installed (package reuse)"
    # reuse asks git which files belong to the project; without it, build
    # trees inside the source tree would count as files of the project.
    if ! command -v git >/dev/null 2>&1 || ! git -C "$1" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
        skip "$1 is not a git work tree: reuse cannot tell the project's files from build output"
    fi
    reuse --root "$1" lint || fail "reuse lint: some files lack their copyright and licence (scripts/add-spdx-headers adds them)"
    ;;
*)
    echo "check-tool.sh: unknown check $kind"
    exit 2
    ;;
esac

[ $failures -eq 0 ] || exit 1
