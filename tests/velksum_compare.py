#!/usr/bin/env python3
"""velksum --compare, run as a user runs it, on files made fresh for each run.

  velksum_compare.py VELKSUM              the native build
  velksum_compare.py WINE_RUN VELKSUM_EXE the Windows build under Wine (paths through drive Z:)

Identical copies, one byte changed at the end of a 3 MiB file, different sizes, an unreadable
file and bad usage: the line printed and the exit code of each.
"""
import os
import random
import subprocess
import sys
import tempfile

failures = []


def check(ok, what):
    if not ok:
        failures.append(what)
        print("FAIL:", what)


def main():
    command = sys.argv[1:]
    under_wine = len(command) == 2

    def shown(path):
        return "Z:" + path.replace("/", "\\") if under_wine else path

    def run(*args):
        result = subprocess.run(command + list(args), capture_output=True, timeout=300)
        return result.returncode, result.stdout.decode("utf-8"), result.stderr.decode("utf-8")

    rng = random.Random(21)
    with tempfile.TemporaryDirectory(prefix="velksum-compare-") as folder:
        def write(name, data):
            path = os.path.join(folder, name)
            with open(path, "wb") as f:
                f.write(data)
            return shown(path)

        data = rng.randbytes(3 << 20)
        original = write("original \u00e4.bin", data)
        copy = write("copy.bin", data)
        changed = write("changed.bin", data[:-1] + bytes([data[-1] ^ 1]))
        shorter = write("shorter.bin", data[:-1])
        empty_a = write("empty a", b"")
        empty_b = write("empty b", b"")
        missing = shown(os.path.join(folder, "missing.bin"))

        cases = [
            ((original, copy), 0, "identical\n"),
            ((empty_a, empty_b), 0, "identical\n"),
            # CRC32 comes first in the catalogue and sees the last byte too.
            ((original, changed), 1, "different: CRC32 differs\n"),
            ((changed, original), 1, "different: CRC32 differs\n"),
            ((original, shorter), 1,
             "different: %s is 3145728 bytes, %s is 3145727 bytes\n" % (original, shorter)),
            (("--threads", "1", original, copy), 0, "identical\n"),
        ]
        for args, code, out in cases:
            got = run("--compare", *args)
            check(got[0] == code, "exit %d for %s, not %d: %s" % (got[0], args, code, got[2]))
            check(got[1] == out, "output for %s: %r" % (args, got[1]))
            check(got[2] == "", "no error text for %s: %r" % (args, got[2]))

        for args in [(original, missing), (missing, original)]:
            got = run("--compare", *args)
            check(got[0] == 2, "exit 2 when a file cannot be read: %d" % got[0])
            check(got[1] == "", "no verdict without both files: %r" % got[1])
            check(got[2].startswith("velksum: %s: cannot open file" % missing),
                  "the unreadable file named: %r" % got[2])

        for args in [(original,), (original, copy, changed), ("-c", original, copy),
                     ("-a", "MD5", original, copy), ("--tag", original, copy)]:
            got = run("--compare", *args)
            check(got[0] == 2, "usage error for %s: exit %d" % (args, got[0]))
            check(got[1] == "", "nothing on output for %s" % (args,))
            check("usage: velksum" in got[2], "usage shown for %s: %r" % (args, got[2]))

    print("%d checks failed" % len(failures) if failures else "all checks passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
