#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Tavrel developers
# SPDX-License-Identifier: MIT

"""Writes the four source tables of one fiscal year of a large organisation.

    gen_tables.py --out DIR [--rows N] [--seed S] [--start YYYY-MM-DD]
                  [--accounts A] [--persons P]

The folder receives 収支科目マスタ.csv, 担当者マスタ.csv, 残高テーブル.csv and
金銭出納テーブル.csv, as the treasurer's spreadsheet saves them: code page 932,
CR LF after every line, no header line. Every row passes the program's checks:

- the chart holds the opening account 000 (budget = opening cash + bank),
  income majors 1xx and expense majors 2xx; under them middle items with minor
  items, minor items hanging directly under a major item (full code 201..3), and
  majors with nothing below; every major has a budget, middle and minor items
  have one or not;
- the cash book starts with the starting row (first day of the period, last day
  of the twelve-month period as receipt date, account 000, opening cash and
  bank), followed by N rows in date order: receipts and payments on accounts
  of all three levels, transfers between cash and bank, refunds, receipt dates
  before the date, on it or none, description numbers, persons, and now and
  then a text with a space, a comma or a double quote, an amount written with
  thousands separators, or a 0 in the column that does not move. No
  transaction falls on the opening day, so the opening balance is also that
  day's closing balance;
- cash and bank never go below zero;
- the balance table holds the balances at the end of the opening day and of
  the last day of each fiscal month, equal to the cash book's running balances.

The same arguments give the same bytes. A character that code page 932 cannot
hold fails the run, and no file is left half written: the four files are
written beside their final names and renamed only when all are complete.
"""

import argparse
import bisect
import datetime
import os
import random
import sys

KAMOKU_FILE = "収支科目マスタ.csv"
TANTOSHA_FILE = "担当者マスタ.csv"
ZANDAKA_FILE = "残高テーブル.csv"
KINSEN_FILE = "金銭出納テーブル.csv"

OPENING_CODE = "000"

# The smallest chart that still holds every shape on both sides: 000, and for
# income and for expense a major with a middle item and a minor item under it,
# a major with a minor item directly under it, and a major with nothing.
MIN_ACCOUNTS = 13

DEFAULT_ROWS = 100_000
DEFAULT_ACCOUNTS = 240
DEFAULT_PERSONS = 60
DEFAULT_START = "2024-04-01"

# Shares of the cash-book rows, before the income share is fitted to the
# chart (plan_bookings) and before the rules that keep cash and bank from going
# below zero turn a payment into a withdrawal or a receipt.
INCOME_SHARE = 0.33
TRANSFER_SHARE = 0.012
REFUND_SHARE = 0.015
# Income exceeds expense by this factor on average, so that the year ends
# with more money than it began and the guards below are seldom needed.
INCOME_SURPLUS = 1.04

# Lines are encoded and written in slices of this many.
CHUNK_LINES = 50_000


class GeneratorError(Exception):
    """A run that cannot produce valid tables; the text says why."""


# --------------------------------------------------------------------------
# CSV lines as the program reads them

def csv_field(text):
    """The field as the program's line splitter reads it back unchanged: a
    blank (codes 1 to 32) or a comma would end an unquoted field, and a
    double quote would start a quoted one."""
    if any(ch in text for ch in ',"') or any(ord(ch) <= 32 for ch in text):
        return '"' + text.replace('"', '""') + '"'
    return text


def amount_field(value, grouped):
    """An amount as the treasurer's spreadsheet writes it: plain digits, or
    with thousands separators (then quoted, for the commas)."""
    if grouped and abs(value) >= 1000:
        return '"' + f"{value:,}" + '"'
    return str(value)


def encode_lines(file_name, lines):
    """The bytes of lines in code page 932, CR LF after each. A character
    outside the code page is an error, never a substitute."""
    text = "\r\n".join(lines) + "\r\n" if lines else ""
    try:
        data = text.encode("cp932")
        # The codec also takes a few characters that read back as others
        # (the wave dash U+301C comes back as U+FF5E); those are refused too.
        back = data.decode("cp932")
        if back == text:
            return data
        ch = next(a for a, b in zip(text, back) if a != b)
    except UnicodeEncodeError as error:
        ch = error.object[error.start]
    raise GeneratorError(f"{file_name}: the character {ch!r} (U+{ord(ch):04X}) has no code in code page 932")


class TableWriter:
    """Writes the tables beside their final names and renames them only when
    every one is complete, so that a failed run leaves the folder as it was."""

    def __init__(self, folder):
        self.folder = folder
        self.pending = []

    def write(self, file_name, lines):
        """lines: any iterable of lines (text without line end)."""
        final = os.path.join(self.folder, file_name)
        temporary = final + ".part"
        self.pending.append((temporary, final))
        with open(temporary, "wb") as out:
            chunk = []
            for line in lines:
                chunk.append(line)
                if len(chunk) == CHUNK_LINES:
                    out.write(encode_lines(file_name, chunk))
                    chunk = []
            if chunk:
                out.write(encode_lines(file_name, chunk))

    def commit(self):
        for temporary, final in self.pending:
            os.replace(temporary, final)
        self.pending = []

    def discard(self):
        for temporary, _ in self.pending:
            try:
                os.remove(temporary)
            except FileNotFoundError:
                pass
        self.pending = []


# --------------------------------------------------------------------------
# The fiscal period

def add_months(day, count):
    """The same day `count` calendar months later, or that month's last day
    when it is shorter."""
    year, month = divmod(day.month - 1 + count, 12)
    year, month = day.year + year, month + 1
    following = datetime.date(year + 1, 1, 1) if month == 12 else datetime.date(year, month + 1, 1)
    last = (following - datetime.timedelta(days=1)).day
    return datetime.date(year, month, min(day.day, last))


def fiscal_month_starts(start):
    """The first days of the twelve fiscal months and the day after the last:
    month k starts on the first day plus k months, each counted from the
    first day, as the program divides the period."""
    return [add_months(start, count) for count in range(13)]


def date_text(day):
    return f"{day.year:04d}/{day.month:02d}/{day.day:02d}"


# --------------------------------------------------------------------------
# Word lists (all in code page 932)

INCOME_MAJORS = [
    "会費収入", "補助金収入", "事業収入", "寄付金収入", "助成金収入", "参加費収入",
    "広告料収入", "受託収入", "販売収入", "協賛金収入", "利用料収入", "雑収入",
]
EXPENSE_MAJORS = [
    "事業費", "会議費", "事務費", "人件費", "通信運搬費", "旅費交通費", "印刷製本費",
    "消耗品費", "光熱水費", "賃借料", "保険料", "修繕費", "委託費", "慶弔費",
    "負担金", "研修費", "広報費", "備品費", "租税公課", "予備費",
]
INCOME_MIDDLES = [
    "一般会費", "特別会費", "賛助会費", "市補助金", "県補助金", "国庫補助金", "夏祭り売上",
    "バザー売上", "講座参加費", "個人寄付", "法人寄付", "広告掲載料", "施設使用料",
    "受取利息", "資源回収奨励金", "共同募金配分金",
]
EXPENSE_MIDDLES = [
    "行事費", "講座運営費", "広報誌発行費", "会場使用料", "通信費", "交通費", "文具費",
    "電気料", "水道料", "ガス料", "複写機リース料", "謝礼", "職員給与", "手数料",
    "清掃費", "防災訓練費", "福利厚生費", "車両費",
]
INCOME_MINORS = [
    "年会費", "月会費", "転入世帯会費", "事業所", "個人", "模擬店売上", "くじ売上",
    "講習会参加費", "見学会参加費", "定期預金利息", "普通預金利息", "御祝儀",
]
EXPENSE_MINORS = [
    "材料費", "景品代", "機材借用", "食糧費", "郵送料", "電話料", "インターネット料",
    "コピー用紙", "トナー", "切手・はがき", "講師謝金", "振込手数料", "弁当代",
    "お茶・菓子", "テント借用", "音響設備", "灯油代", "苗・肥料",
]
# A few names with a blank or a comma, which the master must quote.
ODD_NAMES = ["IT 関連費", "Web サイト運営費", "会報 印刷", "茶菓子, 弁当"]
MEMOS = [
    "", "", "", "", "四半期ごとに振込", "年度途中の加入は月割", "前年度実績に準拠",
    "1口 10,000円", "いわゆる \"特別枠\"", "総会承認済み", "見積書あり", "市へ7月申請",
]

FAMILY_NAMES = [
    "佐藤", "鈴木", "高橋", "田中", "伊藤", "渡辺", "山本", "中村", "小林", "加藤",
    "吉田", "山田", "佐々木", "山口", "松本", "井上", "木村", "林", "斎藤", "清水",
    "山崎", "森", "池田", "橋本", "阿部", "石川", "山下", "中島", "石井", "小川",
]
GIVEN_NAMES = [
    "恵子", "正樹", "直美", "誠", "和子", "健一", "裕子", "隆", "美智子", "浩",
    "幸子", "翔太", "陽子", "大輔", "真由美", "修", "智子", "拓也", "由美", "茂",
]
OFFICERS = ["会計", "会長", "副会長"]
ROLES = ["事務局", "監事", "書記", "広報", "行事担当", "施設管理", "会計, 監査補助", "", "", ""]

PLACE_WORDS = [
    "さくら", "あおば", "ひまわり", "みどり", "東都", "中央", "北星", "南風", "大和",
    "ことぶき", "若葉", "はなみずき", "朝日", "富士", "つばさ",
]
TRADE_WORDS = [
    "商店", "印刷", "電機", "交通", "不動産", "文具店", "薬局", "食品", "建設",
    "損害保険㈱", "信用金庫", "書店", "運送", "設備", "電力", "ガス", "水道局",
]
# Counterparties and descriptions that must be quoted in the CSV file.
ODD_PARTNERS = [
    "Green Leaf, Inc.", "ABC 商事", "\"カフェ\" もみじ", "山田 太郎", "Office Supply Co.",
]
ODD_TEXTS = [
    "お茶, お菓子", "A4 コピー用紙", "講演会 \"未来を語る\" 謝礼", "Tシャツ 50枚, 印刷代込み",
    "\"特別\" 会費", " 前後に空白 ", "タオル,手ぬぐい", "弁当 30個 \"松\"",
]
DESCRIPTION_SUFFIXES = ["", "", "　{month}月分", "　{month}月分", "　追加分", "　精算", "　前払", "　立替分"]

# Marks of the cash book, by direction and by cash (False) or bank (True).
NOTES = {
    (False, False): ["レシート", "領収書", "領"],
    (False, True): ["振込", "引落"],
    (True, False): ["入金", "領", "集金"],
    (True, True): ["振込", "入金"],
}


# --------------------------------------------------------------------------
# The chart of accounts

class Account:
    """One row of the account-title master and, for every account but 000,
    what the cash book books on it."""

    def __init__(self, level, code, full_code, name, sign):
        self.level = level            # "gran", "midd" or "conc"
        self.code = code
        self.full_code = full_code
        self.name = name
        self.sign = sign              # +1 income, -1 expense, 0 the opening account
        self.children = []
        self.budget = None
        self.memo = ""
        self.weight = 0.0
        self.amounts = []
        self.bank_share = 0.0
        self.kind = ""
        self.shape = ""               # of a major item: "tree", "direct" or "empty"
        self.minor_names = {}         # names of the minor items below, for pick_name

    def mean_amount(self):
        return sum(self.amounts) / len(self.amounts) if self.amounts else 0.0


# Kinds of money movement: range of a typical amount in yen, how often it is
# paid through the bank, the rounding unit, the relative weight of the kind.
EXPENSE_KINDS = {
    "petty": ((300, 15_000), 0.08, 1, 8.0),
    "bill": ((5_000, 200_000), 0.92, 1, 3.0),
    "large": ((100_000, 2_000_000), 1.0, 1000, 0.4),
}
INCOME_KINDS = {
    "dues": ((1_000, 60_000), 0.45, 100, 6.0),
    "sales": ((500, 40_000), 0.1, 10, 3.0),
    "grant": ((300_000, 8_000_000), 1.0, 1000, 0.3),
    "interest": ((1, 900), 1.0, 1, 0.3),
}


def pick_name(rng, words, used):
    """A name from words; a word already used (as counted in used) gets a
    number, so that names under one parent do not repeat."""
    base = words[rng.randrange(len(words))]
    count = used.get(base, 0) + 1
    used[base] = count
    return base if count == 1 else f"{base}（{count}）"


def build_chart(rng, account_count):
    """The accounts in file order: 000, the income majors, the expense
    majors, each followed by its middle items and minor items."""
    rest = account_count - 1
    majors = max(6, min(rest // 7, 180))
    income_majors = min(90, max(3, round(majors * 0.4)))
    expense_majors = min(99, max(3, majors - income_majors))

    opening = Account("gran", OPENING_CODE, OPENING_CODE, "前期繰越金", 0)
    opening.memo = "前年度決算の次期繰越（現金＋預金）"

    sides = []
    for sign, count, first in ((1, income_majors, 1), (-1, expense_majors, 2)):
        # The first three majors of each side have the three shapes; the rest
        # are mostly trees.
        shapes = ["tree", "direct", "empty"] + [
            rng.choices(["tree", "direct", "empty"], [0.6, 0.25, 0.15])[0] for _ in range(count - 3)]
        words = INCOME_MAJORS if sign > 0 else EXPENSE_MAJORS
        used = {}
        side = []
        for index, shape in enumerate(shapes):
            code = f"{first}{index * 100 // count:02d}"
            major = Account("gran", code, code, pick_name(rng, words, used), sign)
            major.shape = shape
            side.append(major)
        sides.append(side)

    middle_words = {1: INCOME_MIDDLES, -1: EXPENSE_MIDDLES}
    minor_words = {1: INCOME_MINORS, -1: EXPENSE_MINORS}
    used_names = {1: {}, -1: {}}

    def add_middle(major):
        code = str(10 * (len(major.children) + 1))
        words = middle_words[major.sign]
        name = ODD_NAMES[rng.randrange(len(ODD_NAMES))] if rng.random() < 0.03 else \
            pick_name(rng, words, used_names[major.sign])
        middle = Account("midd", code, f"{major.code}.{code}", name, major.sign)
        major.children.append(middle)
        return middle

    def add_minor(parent, major):
        code = str(len(parent.children) + 1)
        full = f"{major.code}.{parent.code}.{code}" if parent is not major else f"{major.code}..{code}"
        name = pick_name(rng, minor_words[major.sign], parent.minor_names)
        minor = Account("conc", code, full, name, major.sign)
        parent.children.append(minor)
        return minor

    placed = 1 + sum(len(side) for side in sides)
    for side in sides:
        for major in side:
            if major.shape == "tree":
                add_middle(major)
                placed += 1
            elif major.shape == "direct":
                add_minor(major, major)
                placed += 1
        # A minor item under a middle item on each side.
        add_minor(side[0].children[0], side[0])
        placed += 1
    if placed > account_count:
        raise GeneratorError(f"--accounts must be at least {placed}")

    growing = [major for side in sides for major in side if major.shape != "empty"]
    for _ in range(account_count - placed):
        major = growing[rng.randrange(len(growing))]
        if major.shape == "direct":
            add_minor(major, major)
        elif rng.random() < 0.3:
            add_middle(major)
        else:
            middle = major.children[rng.randrange(len(major.children))]
            add_minor(middle, major)

    accounts = [opening]

    def walk(item):
        accounts.append(item)
        for child in item.children:
            walk(child)

    for side in sides:
        for major in side:
            walk(major)
    return accounts


def plan_bookings(rng, accounts):
    """Gives every account its weight among the cash-book rows, its amounts
    and how often it is paid through the bank."""
    for account in accounts[1:]:
        kinds = INCOME_KINDS if account.sign > 0 else EXPENSE_KINDS
        names = list(kinds)
        kind = rng.choices(names, [kinds[name][3] for name in names])[0]
        (low, high), bank_share, unit, _ = kinds[kind]
        account.kind = kind
        account.bank_share = bank_share
        typical = low * (high / low) ** rng.random()
        account.amounts = [max(unit, round(typical * (0.25 + 2.5 * rng.random() ** 2) / unit) * unit)
                           for _ in range(32)]
        # Most rows are booked on the lowest items; a few on an item that
        # has items below it. Grants and large payments come seldom.
        leaf = not account.children
        account.weight = (rng.choice([1, 1, 2, 3, 5, 8]) if leaf else 0.08)
        if kind in ("grant", "large"):
            account.weight *= 0.15

    income = [a for a in accounts if a.sign > 0]
    expense = [a for a in accounts if a.sign < 0]
    for side, share in ((income, INCOME_SHARE), (expense, 1 - INCOME_SHARE)):
        total = sum(a.weight for a in side)
        for account in side:
            account.weight *= share / total

    # The year's income must exceed its expense. A chart whose income
    # accounts happen to be small gets larger receipts, within reason, and
    # more of them for the rest.
    expected_in = sum(a.weight * a.mean_amount() for a in income)
    expected_out = sum(a.weight * a.mean_amount() for a in expense)
    needed = INCOME_SURPLUS * expected_out / expected_in
    factor = min(5.0, max(0.2, needed))
    for account in income:
        unit = INCOME_KINDS[account.kind][2]
        account.amounts = [max(unit, round(x * factor / unit) * unit) for x in account.amounts]
        account.weight *= needed / factor
    total = sum(a.weight for a in income) + sum(a.weight for a in expense)
    for account in income + expense:
        account.weight /= total


def set_budgets(rng, accounts, rows, opening_total):
    """Budgets near what the year will book: always on a major item, on about
    two thirds of the middle and minor items, and never on all or none of
    them."""
    def expected(account):
        own = rows * account.weight * account.mean_amount()
        return own + sum(expected(child) for child in account.children)

    budgeted = {account: account.level == "gran" or rng.random() < 0.65 for account in accounts}
    for level in ("midd", "conc"):
        items = [account for account in accounts if account.level == level]
        if all(budgeted[item] for item in items):
            budgeted[items[-1]] = False
        if not any(budgeted[item] for item in items):
            budgeted[items[0]] = True

    # One factor per major item, so that the budgets below a major item add
    # up to about its own.
    factor = 1.0
    for account in accounts:
        if account.sign == 0:
            account.budget = opening_total
            continue
        if account.level == "gran":
            factor = 0.85 + 0.3 * rng.random()
        if not budgeted[account]:
            continue
        value = expected(account) * factor
        unit = 1000 if value >= 100_000 else 100
        account.budget = int(round(value / unit) * unit)
        if account.memo == "" and rng.random() < 0.2:
            account.memo = MEMOS[rng.randrange(len(MEMOS))]


def kamoku_lines(accounts):
    for account in accounts:
        budget = "" if account.budget is None else str(account.budget)
        name = csv_field(account.name)
        memo = csv_field(account.memo)
        if account.level == "gran":
            fields = [account.code, name, "", "", budget, memo]
        elif account.level == "midd":
            fields = ["", account.code, name, "", budget, memo]
        else:
            fields = ["", "", account.code, name, budget, memo]
        yield ",".join(fields)


# --------------------------------------------------------------------------
# Persons

def make_persons(rng, count):
    width = max(2, len(str(count)))
    combos = [(f, g) for f in FAMILY_NAMES for g in GIVEN_NAMES]
    rng.shuffle(combos)
    persons = []
    for index in range(count):
        family, given = combos[index % len(combos)]
        code = f"{index + 1:0{width}d}"
        role = OFFICERS[index] if index < len(OFFICERS) else ROLES[rng.randrange(len(ROLES))]
        persons.append((code, f"{family}　{given}", role))
    return persons


def tantosha_lines(persons):
    for code, name, memo in persons:
        yield ",".join([code, csv_field(name), csv_field(memo)])


# --------------------------------------------------------------------------
# The cash book

def pool(rng, items, weights, size=512):
    """A list to draw from with one random number: items repeated in
    proportion to their weights."""
    return rng.choices(items, weights, k=size)


class CashBook:
    """The rows of the cash book after the starting row, with the running
    balances that the balance table records."""

    def __init__(self, rng, accounts, persons, start, rows):
        self.rng = rng
        self.start = start
        self.rows = rows
        starts = fiscal_month_starts(start)
        self.last_day = starts[12] - datetime.timedelta(days=1)
        self.days = (self.last_day - start).days + 1
        self.day_texts = [date_text(start + datetime.timedelta(days=d)) for d in range(self.days)]
        # The balance table: the opening day and the last day of each month.
        self.checkpoints = [0] + [(s - start).days - 1 for s in starts[1:]]

        postable = accounts[1:]
        self.postable = postable
        self.cum_weights = []
        total = 0.0
        for account in postable:
            total += account.weight
            self.cum_weights.append(total)
        self.total_weight = total
        income = [a for a in postable if a.sign > 0]
        self.income_pool = pool(rng, income, [a.weight for a in income])

        # What each account's rows say, made CSV-ready once.
        self.partners = {}
        self.texts = {}
        self.refund_texts = {}
        places = [p + t for p in PLACE_WORDS for t in TRADE_WORDS]
        people = [f"{f}　{g}" for f in FAMILY_NAMES for g in GIVEN_NAMES]
        for account in postable:
            choices = places if account.kind in ("bill", "large", "grant", "interest") else people + places
            self.partners[account.full_code] = [csv_field(rng.choice(choices)) for _ in range(6)] + [""]
            texts = [account.name + DESCRIPTION_SUFFIXES[rng.randrange(len(DESCRIPTION_SUFFIXES))]
                     .format(month=rng.randrange(1, 13)) for _ in range(5)]
            self.texts[account.full_code] = [csv_field(t) for t in texts]
            self.refund_texts[account.full_code] = csv_field("返金　" + texts[0])
        self.odd_partners = [csv_field(t) for t in ODD_PARTNERS]
        self.odd_texts = [csv_field(t) for t in ODD_TEXTS]

        codes = [code for code, _, _ in persons]
        self.person_pool = pool(rng, codes, [1 / (i + 1) ** 0.8 for i in range(len(codes))]) \
            if codes else [""]

        # Typical sizes of the cash in hand: the treasurer keeps about a
        # month of small payments and takes the rest to the bank.
        petty = [a.mean_amount() for a in postable if a.sign < 0 and a.bank_share < 0.5]
        small = sum(petty) / len(petty) if petty else 5_000
        self.cash_target = max(50_000, int(round(small * 40, -4)))
        expense_flow = sum(a.weight * a.mean_amount() for a in postable if a.sign < 0)
        self.opening_cash = self.cash_target + rng.randrange(1, 10_000)
        self.opening_bank = int(expense_flow * max(rows, 2000) * 0.25) + rng.randrange(1, 1_000_000)
        self.balances = []
        self.closing = (self.opening_cash, self.opening_bank)
        self.number = 0

    def day_offsets(self):
        """The days of the rows, in order. Weekdays are busier than weekends
        and the days around the month's end busier than the rest; the opening
        day has no rows."""
        weights = []
        for offset in range(1, self.days):
            day = self.start + datetime.timedelta(days=offset)
            weight = (1.0, 1.0, 1.0, 1.0, 1.0, 0.6, 0.3)[day.weekday()]
            if day.day >= 25:
                weight *= 1.6
            weights.append(weight)
        offsets = self.rng.choices(range(1, self.days), weights, k=self.rows)
        offsets.sort()
        return offsets

    def starting_line(self):
        return ",".join([self.day_texts[0], self.day_texts[-1], "", "", "", "前期繰越", "",
                         OPENING_CODE, str(self.opening_cash), str(self.opening_bank)])

    def movement(self, cash, bank):
        """What one row does with the money, given the balances before it:
        (account or None for a transfer, change of cash, change of bank,
        whether it is a refund). Neither balance goes below zero."""
        random = self.rng.random
        cash_target = self.cash_target
        r = random()
        if r < TRANSFER_SHARE or cash > 4 * cash_target and r < 0.3:
            # The treasurer takes spare cash to the bank, or fetches some.
            if cash > cash_target:
                moved = min(cash, max(1000, (cash - cash_target // 2) // 1000 * 1000))
                return None, -moved, moved, False
            if bank >= 10_000:
                moved = min(bank // 1000 * 1000, cash_target)
                return None, moved, -moved, False

        postable = self.postable
        index = bisect.bisect_right(self.cum_weights, random() * self.total_weight)
        account = postable[min(index, len(postable) - 1)]
        amount = account.amounts[int(random() * 32)]
        refund = random() < REFUND_SHARE
        if refund:
            amount = max(1, amount // 5)
        # A receipt is positive, a payment negative; a refund goes against
        # its account's usual direction.
        value = amount if (account.sign > 0) != refund else -amount
        through_bank = random() < account.bank_share
        if value < 0 and (bank if through_bank else cash) < -value:
            if not through_bank and bank >= -value + cash_target:
                # Not enough cash: the treasurer fetches it from the bank.
                moved = min(bank, (-value + cash_target) // 1000 * 1000 + 1000)
                return None, moved, -moved, False
            if not refund and (cash if through_bank else bank) >= -value:
                through_bank = not through_bank
            else:
                # Nothing to pay with: the row becomes a receipt.
                account = self.income_pool[int(random() * len(self.income_pool))]
                value = account.amounts[int(random() * 32)]
                through_bank = random() < account.bank_share
                refund = False
        return (account, 0, value, refund) if through_bank else (account, value, 0, refund)

    def booking_fields(self, offset, account, cash_change, bank_change, refund):
        """The fields of a receipt or payment on account."""
        random = self.rng.random
        day_texts = self.day_texts
        day = day_texts[offset]
        r = random()
        if r < 0.35:
            receipt = ""
        elif r < 0.65:
            receipt = day
        else:
            receipt = day_texts[max(0, offset - 1 - int(random() * 14))]
        if random() < 0.3:
            self.number += 1
            number = str(self.number)
        else:
            number = ""
        code = account.full_code
        r = random()
        if r < 0.006:
            partner = self.odd_partners[int(random() * len(self.odd_partners))]
        else:
            partner = self.partners[code][int(random() * 7)]
        if refund:
            text = self.refund_texts[code]
        elif 0.006 <= r < 0.012:
            text = self.odd_texts[int(random() * len(self.odd_texts))]
        else:
            text = self.texts[code][int(random() * 5)]
        person = "" if random() < 0.08 else self.person_pool[int(random() * 512)]
        notes = NOTES[cash_change + bank_change > 0, bank_change != 0]
        note = notes[int(random() * len(notes))]
        # Now and then the spreadsheet writes the thousands separators, or a
        # 0 in the column that does not move.
        grouped = random() < 0.02
        other = "0" if random() < 0.01 else ""
        cash_text = amount_field(cash_change, grouped) if cash_change else other
        bank_text = amount_field(bank_change, grouped) if bank_change else other
        return [day, receipt, note, partner, number, text, person, code, cash_text, bank_text]

    def lines(self):
        """The lines of the cash book; afterwards balances and closing hold
        what the balance table records."""
        yield self.starting_line()
        random = self.rng.random
        checkpoints = self.checkpoints
        next_checkpoint = 1
        self.balances = [(0, self.opening_cash, self.opening_bank)]
        self.number = 0
        cash = self.opening_cash
        bank = self.opening_bank

        for offset in self.day_offsets():
            while checkpoints[next_checkpoint] < offset:
                self.balances.append((checkpoints[next_checkpoint], cash, bank))
                next_checkpoint += 1
            account, cash_change, bank_change, refund = self.movement(cash, bank)
            cash += cash_change
            bank += bank_change
            if account is None:
                note = "預入" if cash_change < 0 else "引出"
                person = self.person_pool[int(random() * 512)]
                fields = [self.day_texts[offset], "", note, "", "", "資金移動", person, "",
                          str(cash_change), str(bank_change)]
            else:
                fields = self.booking_fields(offset, account, cash_change, bank_change, refund)
            yield ",".join(fields)

        while next_checkpoint < len(checkpoints):
            self.balances.append((checkpoints[next_checkpoint], cash, bank))
            next_checkpoint += 1
        self.closing = (cash, bank)

    def zandaka_lines(self):
        for offset, cash, bank in self.balances:
            yield ",".join([self.day_texts[offset], str(cash), str(bank)])


# --------------------------------------------------------------------------

def parse_start(text):
    try:
        day = datetime.date.fromisoformat(text)
    except ValueError:
        raise argparse.ArgumentTypeError(f"not a date YYYY-MM-DD: {text!r}") from None
    if not 1900 <= day.year <= 9000:
        raise argparse.ArgumentTypeError(f"year out of range: {text!r}")
    return day


def non_negative(text):
    value = int(text)
    if value < 0:
        raise argparse.ArgumentTypeError(f"must not be negative: {text}")
    return value


def generate(folder, rows, seed, start, account_count, person_count):
    """Writes the four tables into folder; returns the cash book (its period
    and balances) for the summary."""
    if account_count < MIN_ACCOUNTS:
        raise GeneratorError(f"--accounts must be at least {MIN_ACCOUNTS}")
    if person_count < 1:
        raise GeneratorError("--persons must be at least 1")
    rng = random.Random(seed)
    accounts = build_chart(rng, account_count)
    plan_bookings(rng, accounts)
    persons = make_persons(rng, person_count)
    book = CashBook(rng, accounts, persons, start, rows)
    set_budgets(rng, accounts, rows, book.opening_cash + book.opening_bank)

    os.makedirs(folder, exist_ok=True)
    writer = TableWriter(folder)
    try:
        writer.write(KINSEN_FILE, book.lines())
        writer.write(ZANDAKA_FILE, book.zandaka_lines())
        writer.write(KAMOKU_FILE, kamoku_lines(accounts))
        writer.write(TANTOSHA_FILE, tantosha_lines(persons))
        writer.commit()
    except BaseException:
        writer.discard()
        raise
    return book


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--out", required=True, help="folder of the four tables (created when missing)")
    parser.add_argument("--rows", type=non_negative, default=DEFAULT_ROWS,
                        help=f"cash-book rows after the starting row (default {DEFAULT_ROWS:,})")
    parser.add_argument("--seed", type=int, default=1, help="random seed (default 1)")
    parser.add_argument("--start", type=parse_start, default=parse_start(DEFAULT_START),
                        help=f"first day of the fiscal period (default {DEFAULT_START})")
    parser.add_argument("--accounts", type=int, default=DEFAULT_ACCOUNTS,
                        help=f"rows of the account-title master, 000 included "
                             f"(default {DEFAULT_ACCOUNTS}, at least {MIN_ACCOUNTS})")
    parser.add_argument("--persons", type=int, default=DEFAULT_PERSONS,
                        help=f"rows of the person master (default {DEFAULT_PERSONS})")
    args = parser.parse_args(argv)
    try:
        book = generate(args.out, args.rows, args.seed, args.start, args.accounts, args.persons)
    except GeneratorError as error:
        sys.exit(f"gen_tables.py: {error}")
    cash, bank = book.closing
    print(f"{args.out}: {args.accounts} accounts, {args.persons} persons, {args.rows:,} cash-book rows, "
          f"{book.day_texts[0]} - {book.day_texts[-1]}, closing cash {cash:,} bank {bank:,}")


if __name__ == "__main__":
    main()
