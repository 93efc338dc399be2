#!/bin/bash
# SPDX-FileCopyrightText: 2026 Tavrel developers
# SPDX-License-Identifier: MIT

# Completes command lines of tavrel-sumup with its bash completion on top of
# the system's bash-completion, the way bash does at a Tab, and compares what
# is offered with what a treasurer expects.
#
# Usage: check-completion.sh COMPLETION_FILE WORK_DIR
#   WORK_DIR is emptied first and holds the folders and tables completed.
# Exit status 77 (skipped) when bash-completion is not installed.
set -u

COMPLETION=$1
WORK=$2
BASH_COMPLETION=/usr/share/bash-completion/bash_completion

if [ ! -f "$BASH_COMPLETION" ]; then
    echo "bash-completion is not installed (scripts/install-deps installs it)"
    exit 77
fi
# shellcheck source=/dev/null
. "$BASH_COMPLETION"
# shellcheck source=/dev/null
. "$COMPLETION" || exit 1

rm -rf "$WORK" && mkdir -p "$WORK" && cd "$WORK" || exit 1
# The current folder: tables of the year, a text file, folders.
mkdir -p 2025年度/output "output 2" && touch 2025年度/収支科目マスタ.csv \
    2025年度/金銭出納テーブル.CSV 2025年度/メモ.txt 残高テーブル.csv 担当者.Csv 読んで.txt

failures=0
# check EXPECTED WORD...: completes the WORD marked with a leading "^" (the
# cursor at its end), else the last one, and expects the offered words,
# sorted in byte order and joined by "|".
check() {
    local expected=$1 i
    shift
    COMP_WORDS=("$@")
    COMP_CWORD=$(($# - 1))
    for ((i = 0; i < $#; i++)); do
        if [[ ${COMP_WORDS[i]} == ^* ]]; then
            COMP_WORDS[i]=${COMP_WORDS[i]#^}
            COMP_CWORD=$i
        fi
    done
    COMP_LINE="${COMP_WORDS[*]}"
    local before="${COMP_WORDS[*]:0:COMP_CWORD + 1}"
    COMP_POINT=${#before}
    COMPREPLY=()
    _tavrel_sumup tavrel-sumup "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}" 2>/dev/null
    local offered
    offered=$(printf '%s\n' "${COMPREPLY[@]}" | sed '/^$/d' | LC_ALL=C sort | paste -sd'|' -)
    if [ "$offered" != "$expected" ]; then
        echo "FAIL: ${COMP_WORDS[*]} (cursor in word $COMP_CWORD): offered \"$offered\", expected \"$expected\""
        failures=$((failures + 1))
    fi
}

TODAY=$(date +%Y-%m-%d)

# Options by name.
check "--pdf|--pdf-books" tavrel-sumup --pd
check "--output" tavrel-sumup --ou
check "--tantosha|--today|--treasurer" tavrel-sumup --t
check "--report-date|--reports" tavrel-sumup 2025年度 --rep
check "--help" tavrel-sumup --he
# A table's FILE without a source folder on the line: the .csv files of the
# current folder in any letter case, and folders, never other files.
check "2025年度|output 2|担当者.Csv|残高テーブル.csv" tavrel-sumup --kamoku ""
check "残高テーブル.csv" tavrel-sumup --zandaka 残
# With the source folder on the line, before or after: names inside it.
check "output/|収支科目マスタ.csv|金銭出納テーブル.CSV" tavrel-sumup 2025年度 --kamoku ""
check "金銭出納テーブル.CSV" tavrel-sumup --kinsen ^金 2025年度
check "収支科目マスタ.csv" tavrel-sumup --output out --tantosha "" --kamoku ^収 -- 2025年度
# An absolute FILE completes as a path.
check "$WORK/残高テーブル.csv" tavrel-sumup 2025年度 --zandaka "$WORK/残"
# The value after "=".
check "残高テーブル.csv" tavrel-sumup --zandaka=残
# Folders only for DIR values and the source folder.
check "2025年度|output 2" tavrel-sumup --output ""
check "2025年度|output 2" tavrel-sumup --next-year ""
check "2025年度|output 2" tavrel-sumup --pdf ""
check "2025年度/output" tavrel-sumup 2025年度/o
# Dates offer today; texts offer nothing.
check "$TODAY" tavrel-sumup --today ""
check "$TODAY" tavrel-sumup --report-date ""
check "" tavrel-sumup --org ""
check "" tavrel-sumup --auditor ""

if [ $failures -ne 0 ]; then
    echo "$failures completion(s) wrong"
    exit 1
fi
echo "tavrel-sumup completes as expected"
