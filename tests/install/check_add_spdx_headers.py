#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Tavrel developers
# SPDX-License-Identifier: MIT
"""Checks scripts/add-spdx-headers on a folder of small files of every kind.

    check_add_spdx_headers.py --script PATH --work DIR

Each file gets the two lines in its own comment syntax, where its kind allows
a comment (after a shebang, an XML declaration, a doctype, a roff
preprocessor line), keeps its line ends and permission bits, and keeps what
it had; files that cannot carry a comment are left alone; a file with one of
the lines gets only the other; a second run changes nothing; --check lists
the files that lack the lines and fails only while there are any.
"""

import argparse
import os
import shutil
import stat
import subprocess
import sys

# REUSE-IgnoreStart
C = "SPDX-FileCopyrightText: 2026 Tavrel developers"
L = "SPDX-License-Identifier: MIT"

# (name, text before, text expected after; None: left as it was)
CASES = [
    ("main.cpp", "// The program.\nint main() {}\n",
     f"// {C}\n// {L}\n\n// The program.\nint main() {{}}\n"),
    ("Header.h", "#pragma once\n", f"// {C}\n// {L}\n\n#pragma once\n"),
    ("Empty.h", "", f"// {C}\n// {L}\n"),
    ("Block.cpp.in", "const char* k = \"@V@\";", f"// {C}\n// {L}\n\nconst char* k = \"@V@\";\n"),
    ("Crlf.cpp", "int a;\r\nint b;\r\n", f"// {C}\r\n// {L}\r\n\r\nint a;\r\nint b;\r\n"),
    ("CMakeLists.txt", "project(X)\n", f"# {C}\n# {L}\n\nproject(X)\n"),
    ("Rules.cmake", "\n# Rules.\n", f"# {C}\n# {L}\n\n# Rules.\n"),
    ("Makefile", "all:\n\ttrue\n", f"# {C}\n# {L}\n\nall:\n\ttrue\n"),
    ("run.sh", "#!/bin/sh\nset -eu\n", f"#!/bin/sh\n# {C}\n# {L}\n\nset -eu\n"),
    ("tool", "#!/usr/bin/env python3\n\"\"\"Tool.\"\"\"\n",
     f"#!/usr/bin/env python3\n# {C}\n# {L}\n\n\"\"\"Tool.\"\"\"\n"),
    ("coded.py", "#!/usr/bin/python3\n# -*- coding: utf-8 -*-\nx = 1\n",
     f"#!/usr/bin/python3\n# -*- coding: utf-8 -*-\n# {C}\n# {L}\n\nx = 1\n"),
    ("guide.html", "<!DOCTYPE html>\n<html lang=\"ja\">\n",
     f"<!DOCTYPE html>\n<!-- {C} -->\n<!-- {L} -->\n<html lang=\"ja\">\n"),
    ("part.html", "<p>説明</p>\n", f"<!-- {C} -->\n<!-- {L} -->\n<p>説明</p>\n"),
    ("app.metainfo.xml", "<?xml version=\"1.0\"?>\n<component/>\n",
     f"<?xml version=\"1.0\"?>\n<!-- {C} -->\n<!-- {L} -->\n<component/>\n"),
    ("tool.1", ".TH TOOL 1\n.SH 名前\n", f".\\\" {C}\n.\\\" {L}\n.TH TOOL 1\n.SH 名前\n"),
    ("table.5", "'\\\" t\n.TH TABLE 5\n", f"'\\\" t\n.\\\" {C}\n.\\\" {L}\n.TH TABLE 5\n"),
    ("app.desktop", "[Desktop Entry]\nName=X\n", f"# {C}\n# {L}\n\n[Desktop Entry]\nName=X\n"),
    (".gitignore", "/build/\n", f"# {C}\n# {L}\n\n/build/\n"),
    ("half.cpp", f"// The tool.\n// {L}\nint x;\n", f"// The tool.\n// {C}\n// {L}\nint x;\n"),
    ("half.html", f"<!DOCTYPE html>\r\n<!-- {C} -->\r\n<p/>\r\n",
     f"<!DOCTYPE html>\r\n<!-- {C} -->\r\n<!-- {L} -->\r\n<p/>\r\n"),
    ("done.cpp", f"// {C}\n// {L}\n\nint x;\n", None),
    # Files that cannot carry a comment: .reuse/dep5 covers them.
    ("table.csv", "000,前期繰越金\r\n", None),
    ("icon.svg", "<svg/>\n", None),
    ("README.md", "# Title\n", None),
    ("0123456789abcdef", "\x00\x01binary", None),
    ("notes.txt", "text\n", None),
]
# REUSE-IgnoreEnd


def run(script, args):
    return subprocess.run([sys.executable, script] + args, capture_output=True, text=True)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--script", required=True)
    parser.add_argument("--work", required=True)
    options = parser.parse_args()

    shutil.rmtree(options.work, ignore_errors=True)
    os.makedirs(options.work)
    paths = []
    for name, before, _ in CASES:
        path = os.path.join(options.work, name)
        with open(path, "wb") as out:
            out.write(before.encode())
        paths.append(path)
    os.chmod(os.path.join(options.work, "run.sh"), 0o755)

    failures = []
    lacking = {os.path.join(options.work, n) for n, b, a in CASES if a is not None}
    check = run(options.script, ["--check"] + paths)
    listed = {line.split(": ", 1)[1] for line in check.stdout.splitlines()}
    if check.returncode != 1 or listed != lacking:
        failures.append(f"--check before: status {check.returncode}, listed {sorted(listed)}")

    first = run(options.script, paths)
    if first.returncode != 0:
        failures.append(f"first run: status {first.returncode}: {first.stderr}")
    for (name, before, after), path in zip(CASES, paths):
        with open(path, "rb") as source:
            text = source.read().decode()
        expected = before if after is None else after
        if text != expected:
            failures.append(f"{name}: got {text!r}, expected {expected!r}")
    if not os.stat(os.path.join(options.work, "run.sh")).st_mode & stat.S_IXUSR:
        failures.append("run.sh lost its execute bit")
    leftovers = [n for n in os.listdir(options.work) if n.startswith(".spdx-")]
    if leftovers:
        failures.append(f"temporary files left: {leftovers}")

    contents = {}
    for path in paths:
        with open(path, "rb") as source:
            contents[path] = source.read()
    second = run(options.script, paths)
    for path in paths:
        with open(path, "rb") as source:
            if source.read() != contents[path]:
                failures.append(f"second run changed {os.path.basename(path)}")
    if second.returncode != 0 or second.stdout:
        failures.append(f"second run: status {second.returncode}, output {second.stdout!r}")
    check = run(options.script, ["--check"] + paths)
    if check.returncode != 0 or check.stdout:
        failures.append(f"--check after: status {check.returncode}, output {check.stdout!r}")

    for failure in failures:
        print("FAIL:", failure)
    if failures:
        return 1
    print(f"{len(CASES)} files as expected")
    return 0


if __name__ == "__main__":
    sys.exit(main())
