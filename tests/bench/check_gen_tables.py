#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Tavrel developers
# SPDX-License-Identifier: MIT

"""Checks the benchmark's generator of source tables against the program.

    check_gen_tables.py --case CASE --generator GEN --sumup SUMUP --work DIR

Cases:
  year, drifting-months  a generated year: written as the program reads it,
                         accepted whole by tavrel-sumup, its balance table
                         equal to the cash book's running balances (recomputed
                         here from the cash-book table and from the written
                         cash-in-hand and bank books), cash and bank never
                         below zero, and every kind of row present;
  determinism            the same arguments give the same bytes, another seed
                         other bytes;
  failures               a character outside code page 932 fails the run and
                         leaves the folder as it was; bad options are refused.
"""

import argparse
import datetime
import filecmp
import importlib.util
import os
import shutil
import subprocess
import sys

KAMOKU = "収支科目マスタ.csv"
TANTOSHA = "担当者マスタ.csv"
ZANDAKA = "残高テーブル.csv"
KINSEN = "金銭出納テーブル.csv"
TABLES = [KAMOKU, TANTOSHA, ZANDAKA, KINSEN]
BOOKS = ["11金銭出納簿.csv", "12現金出納簿.csv", "13預金通帳.csv", "14担当者出納簿.csv",
         "15収支科目明細書.csv", "16大科目明細書.csv", "17中科目明細書.csv", "18試算表.csv"]
COLUMNS = {KAMOKU: 6, TANTOSHA: 3, ZANDAKA: 3, KINSEN: 10}

YEARS = {
    "year": ["--rows", "2000", "--accounts", "40", "--persons", "8", "--seed", "7",
             "--start", "2024-04-01"],
    # The smallest chart, and a period starting on the 31st: its months start
    # on 31 January, 29 February, 31 March, 30 April, ... each counted from
    # the first day, so the year ends on 30 January with twelve months.
    "drifting-months": ["--rows", "1500", "--accounts", "13", "--persons", "1", "--seed", "3",
                        "--start", "2024-01-31"],
}


class Failures:
    def __init__(self):
        self.messages = []

    def check(self, condition, message):
        if not condition:
            self.messages.append(message)
        return condition


# --------------------------------------------------------------------------
# Reading files as the program reads them

def is_blank(ch):
    return 1 <= ord(ch) <= 32


def split_line(line):
    """The fields of a line by the program's rules: blanks around fields are
    skipped, an unquoted field runs to the next comma (blanks inside it
    stay), a quoted one to a quote not doubled."""
    fields = []
    i, n = 0, len(line)
    while i < n and is_blank(line[i]):
        i += 1
    if i == n:
        return fields
    while True:
        if i < n and line[i] == '"':
            i += 1
            text = []
            while i < n:
                if line[i] == '"':
                    if i + 1 < n and line[i + 1] == '"':
                        text.append('"')
                        i += 2
                        continue
                    i += 1
                    break
                text.append(line[i])
                i += 1
            fields.append("".join(text))
        else:
            j = i
            while j < n and line[j] != ",":
                j += 1
            end = j
            while end > i and is_blank(line[end - 1]):
                end -= 1
            fields.append(line[i:end])
            i = j
        while i < n and is_blank(line[i]):
            i += 1
        if i >= n:
            return fields
        if line[i] == ",":
            if i == n - 1:
                fields.append("")
                return fields
            i += 1
            while i < n and is_blank(line[i]):
                i += 1


def read_table(failures, path):
    """The rows of a generated table. Checks that it is code page 932 with
    CR LF after every line and nothing else."""
    data = open(path, "rb").read()
    name = os.path.basename(path)
    try:
        text = data.decode("cp932")
    except UnicodeDecodeError as error:
        failures.check(False, f"{name}: not code page 932: {error}")
        return []
    failures.check(text.endswith("\r\n"), f"{name}: the last line has no CR LF")
    lines = text[:-2].split("\r\n") if text.endswith("\r\n") else text.split("\r\n")
    failures.check(not any("\r" in line or "\n" in line for line in lines),
                   f"{name}: a line end other than CR LF")
    # Without a byte-order mark the program reads valid UTF-8 as UTF-8.
    try:
        data.decode("utf-8")
        failures.check(not any(b >= 0x80 for b in data), f"{name}: also valid UTF-8")
    except UnicodeDecodeError:
        pass
    rows = [split_line(line) for line in lines]
    for number, fields in enumerate(rows, 1):
        failures.check(len(fields) == COLUMNS[name],
                       f"{name} line {number}: {len(fields)} fields, not {COLUMNS[name]}: {lines[number - 1]}")
    return rows


def read_book(path):
    data = open(path, "rb").read()
    text = data[3:].decode("utf-8") if data.startswith(b"\xef\xbb\xbf") else data.decode("cp932")
    return [split_line(line) for line in text.splitlines()]


def parse_date(text):
    year, month, day = text.split("/")
    if len(year) != 4 or len(month) != 2 or len(day) != 2:
        raise ValueError(text)
    return datetime.date(int(year), int(month), int(day))


def parse_amount(text):
    """An amount of the tables or the books; None when empty."""
    return None if text == "" else int(text.replace(",", ""))


def add_months(day, count):
    """The first day of fiscal month `count` of a period from `day`: the same
    day `count` months later, or that month's last day when it is shorter."""
    year, month = divmod(day.month - 1 + count, 12)
    year, month = day.year + year, month + 1
    for last in (31, 30, 29, 28):
        try:
            return datetime.date(year, month, min(day.day, last))
        except ValueError:
            continue
    raise AssertionError(day)


# --------------------------------------------------------------------------

def run_generator(generator, folder, arguments):
    return subprocess.run([sys.executable, generator, "--out", folder] + arguments,
                          capture_output=True, text=True, check=False)


def level_of(full_code):
    parts = full_code.split(".")
    return {1: "major", 2: "middle", 3: "minor"}[len(parts)]


def check_year(failures, generator, sumup, work, arguments):
    folder = os.path.join(work, "tables")
    shutil.rmtree(work, ignore_errors=True)
    result = run_generator(generator, folder, arguments)
    if not failures.check(result.returncode == 0, f"generator failed: {result.stderr}"):
        return
    failures.check(sorted(os.listdir(folder)) == sorted(TABLES), f"files: {os.listdir(folder)}")

    # The program accepts every row.
    env = dict(os.environ, LC_ALL="C.UTF-8")
    run = subprocess.run([sumup, "--today", "2026-12-10", folder], capture_output=True,
                         env=env, check=False)
    log = run.stdout.decode("utf-8", "replace")
    log_lines = log.splitlines()
    failures.check(run.returncode == 0, f"tavrel-sumup exit status {run.returncode}")
    if not failures.check(log_lines and log_lines[-1] == "集計が完了しました。",
                          f"tavrel-sumup did not complete:\n{log}{run.stderr.decode('utf-8', 'replace')}"):
        return
    output = os.path.join(folder, "output")
    for book in BOOKS:
        path = os.path.join(output, book)
        failures.check(os.path.isfile(path) and os.path.getsize(path) > 0, f"book not written: {book}")

    tables = {name: read_table(failures, os.path.join(folder, name)) for name in TABLES}
    kamoku, tantosha, zandaka, kinsen = (tables[name] for name in TABLES)

    # The starting row and the running balances of the cash book.
    start = parse_date(kinsen[0][0])
    last_day = parse_date(kinsen[0][1])
    month_starts = [add_months(start, count) for count in range(13)]
    failures.check(last_day == month_starts[12] - datetime.timedelta(days=1),
                   f"the period {start} - {last_day} is not twelve fiscal months")
    # The program divides the period into the same twelve months: the trial
    # balance has four columns and one per month.
    shisan = read_book(os.path.join(output, "18試算表.csv"))
    failures.check(shisan and len(shisan[0]) == 4 + 12,
                   f"the trial balance has {len(shisan[0]) if shisan else 0} columns, not 16")
    failures.check(kinsen[0][7] == "000", f"starting row account {kinsen[0][7]}")
    cash = parse_amount(kinsen[0][8])
    bank = parse_amount(kinsen[0][9])
    budgets = {row[0]: row[4] for row in kamoku if row[0]}
    failures.check(str(cash + bank) == budgets.get("000"),
                   f"opening {cash} + {bank} is not the budget of 000 ({budgets.get('000')})")

    closing_of_day = {start: (cash, bank)}
    previous = start
    for number, row in enumerate(kinsen[1:], 2):
        day = parse_date(row[0])
        failures.check(previous <= day <= last_day and day != start,
                       f"line {number}: date {day} out of order or on the opening day")
        previous = day
        cash += parse_amount(row[8]) or 0
        bank += parse_amount(row[9]) or 0
        failures.check(cash >= 0 and bank >= 0, f"line {number}: cash {cash} bank {bank} below zero")
        closing_of_day[day] = (cash, bank)

    def balance_at(day):
        known = [d for d in closing_of_day if d <= day]
        return closing_of_day[max(known)]

    # The balance table: the opening day and each fiscal month's last day,
    # equal to the running balances at the end of that day.
    expected_days = [start] + [s - datetime.timedelta(days=1) for s in month_starts[1:]]
    zandaka_days = [parse_date(row[0]) for row in zandaka]
    failures.check(zandaka_days == expected_days, f"balance-table dates {zandaka_days}")
    for row, day in zip(zandaka, zandaka_days):
        failures.check((parse_amount(row[1]), parse_amount(row[2])) == balance_at(day),
                       f"balance table {row}: the cash book has {balance_at(day)}")

    # The same balances as the program's cash-in-hand book and bank book show
    # them: the balance of the last row on or before the day that shows one.
    def book_balance(book, balance_column, day):
        shown = None
        for row in book:
            if row and row[0] and parse_date(row[0]) <= day and row[balance_column] != "":
                shown = parse_amount(row[balance_column])
        return shown

    cash_book = read_book(os.path.join(output, "12現金出納簿.csv"))
    bank_book = read_book(os.path.join(output, "13預金通帳.csv"))
    for row, day in zip(zandaka, zandaka_days):
        shown = (book_balance(cash_book, 8, day), book_balance(bank_book, 6, day))
        failures.check(shown == (parse_amount(row[1]), parse_amount(row[2])),
                       f"balance table {row}: the cash-in-hand and bank books show {shown}")
    closing = read_book(os.path.join(output, "11金銭出納簿.csv"))[-1]
    failures.check((parse_amount(closing[10]), parse_amount(closing[11])) == (cash, bank),
                   f"closing row of the cash book {closing}, expected {cash} {bank}")

    check_variety(failures, kamoku, tantosha, kinsen)


def check_variety(failures, kamoku, tantosha, kinsen):
    """Every kind of row the benchmark is meant to exercise is there."""
    seen = set()
    major = ""
    has_middle = False
    for index, row in enumerate(kamoku):
        if row[0]:
            major = row[0]
            has_middle = False
            following = kamoku[index + 1] if index + 1 < len(kamoku) else None
            if major != "000" and (following is None or following[0]):
                seen.add(("major with nothing below", major[0]))
            continue
        side = major[0]
        if row[1]:
            has_middle = True
            level = "middle"
        else:
            level = "minor"
            seen.add(("minor under a middle item" if has_middle else "minor under a major item", side))
        seen.add(f"{level} with a budget" if row[4] else f"{level} without a budget")

    persons = {row[0] for row in tantosha}
    for row in kinsen[1:]:
        cash = parse_amount(row[8]) or 0
        bank = parse_amount(row[9]) or 0
        account = row[7]
        if not account:
            seen.add("deposit" if cash < 0 else "withdrawal")
        else:
            side = account[0]
            seen.add((f"row on a {level_of(account)} item", side))
            if ".." in account:
                seen.add(("row on a minor item under a major item", side))
            if (side == "1") != (cash + bank > 0):
                seen.add(("refund", side))
        if row[1] == "":
            seen.add("receipt date empty")
        elif row[1] == row[0]:
            seen.add("receipt date on the date")
        else:
            seen.add("receipt date earlier")
            failures.check(parse_date(row[1]) < parse_date(row[0]), f"receipt after the date: {row}")
        if row[4]:
            seen.add("description number")
        if row[6]:
            seen.add("person")
            failures.check(row[6] in persons, f"unknown person {row[6]}")
        if "," in row[8] + row[9]:
            seen.add("amount with thousands separators")
        for text in row[2:7]:
            for ch, name in ((" ", "space"), (",", "comma"), ('"', "double quote")):
                if ch in text:
                    seen.add(f"text with a {name}")

    wanted = []
    for side in "12":
        wanted += [(kind, side) for kind in (
            "major with nothing below", "minor under a middle item", "minor under a major item",
            "row on a major item", "row on a middle item", "row on a minor item",
            "row on a minor item under a major item", "refund")]
    wanted += ["middle with a budget", "middle without a budget", "minor with a budget",
               "minor without a budget", "deposit", "withdrawal", "receipt date empty", "receipt date on the date",
               "receipt date earlier", "description number", "person",
               "amount with thousands separators", "text with a space", "text with a comma",
               "text with a double quote"]
    for item in wanted:
        failures.check(item in seen, f"the generated year has no {item}")


def check_determinism(failures, generator, work):
    shutil.rmtree(work, ignore_errors=True)
    arguments = ["--rows", "3000", "--accounts", "30", "--persons", "5", "--seed", "11"]
    first, second, other = (os.path.join(work, name) for name in ("first", "second", "other"))
    for folder, seed in ((first, "11"), (second, "11"), (other, "12")):
        result = run_generator(generator, folder, arguments[:-1] + [seed])
        failures.check(result.returncode == 0, f"generator failed: {result.stderr}")
    for name in TABLES:
        failures.check(filecmp.cmp(os.path.join(first, name), os.path.join(second, name), shallow=False),
                       f"{name} differs between two runs with the same seed")
    failures.check(not filecmp.cmp(os.path.join(first, KINSEN), os.path.join(other, KINSEN), shallow=False),
                   "another seed gives the same cash book")


def check_failures(failures, generator, work):
    shutil.rmtree(work, ignore_errors=True)
    spec = importlib.util.spec_from_file_location("gen_tables", generator)
    module = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(module)

    # Characters outside code page 932 are refused, never replaced.
    for text, code in (("caf\u00e9", "U+00E9"), ("1\u301c2", "U+301C")):
        try:
            module.encode_lines("x.csv", ["ok", text])
            failures.check(False, f"{text!r} was encoded")
        except module.GeneratorError as error:
            failures.check(code in str(error), f"message does not name {code}: {error}")

    # A run that meets such a character leaves the old tables untouched and
    # no part of a new one.
    folder = os.path.join(work, "tables")
    result = run_generator(generator, folder, ["--rows", "100", "--accounts", "13", "--persons", "2"])
    failures.check(result.returncode == 0, f"generator failed: {result.stderr}")
    before = {name: open(os.path.join(folder, name), "rb").read() for name in TABLES}
    module.FAMILY_NAMES = ["Zo\u00eb"]
    try:
        module.generate(folder, 200, 5, datetime.date(2024, 4, 1), 20, 4)
        failures.check(False, "a name outside code page 932 was written")
    except module.GeneratorError as error:
        failures.check("U+00EB" in str(error), f"message: {error}")
    failures.check(sorted(os.listdir(folder)) == sorted(TABLES), f"files left: {os.listdir(folder)}")
    for name in TABLES:
        failures.check(open(os.path.join(folder, name), "rb").read() == before[name],
                       f"{name} changed by a failed run")

    # Options the generator cannot honour.
    for arguments, message in ((["--accounts", "12"], "--accounts must be at least 13"),
                               (["--persons", "0"], "--persons must be at least 1"),
                               (["--rows", "-1"], "must not be negative"),
                               (["--start", "2024-02-30"], "not a date")):
        result = run_generator(generator, os.path.join(work, "refused"), arguments)
        failures.check(result.returncode != 0 and message in result.stderr,
                       f"{arguments}: status {result.returncode}, {result.stderr.strip()}")
        failures.check(not os.path.exists(os.path.join(work, "refused", KINSEN)),
                       f"{arguments}: tables written")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--case", required=True, choices=list(YEARS) + ["determinism", "failures"])
    parser.add_argument("--generator", required=True)
    parser.add_argument("--sumup")
    parser.add_argument("--work", required=True)
    args = parser.parse_args()

    failures = Failures()
    if args.case in YEARS:
        check_year(failures, args.generator, args.sumup, args.work, YEARS[args.case])
    elif args.case == "determinism":
        check_determinism(failures, args.generator, args.work)
    else:
        check_failures(failures, args.generator, args.work)
    for message in failures.messages[:40]:
        print(f"FAIL: {message}")
    if failures.messages:
        sys.exit(1)
    print(f"{args.case}: ok")


if __name__ == "__main__":
    main()
