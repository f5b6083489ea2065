#!/usr/bin/env python3
"""velksum -c against coreutils' own checks, on checksum files the tools write themselves.

  checksum_agreement.py VELKSUM
  checksum_agreement.py VELKSUM WINE_RUN VELKSUM_EXE

Natively: the checksum files of sha256sum, md5sum, b2sum, sha512sum --tag, rhash --bsd and
rhash --sfv (then each tampered with: a changed digest, a missing file, a stray line), each
also as CRLF, UTF-8 with a byte-order mark, UTF-16 LE and UTF-16 BE. On every one `velksum -c`
prints, line for line, what the coreutils tool prints for it (for the re-encoded ones, what
the tool prints for the original), ends with the same warnings and the same exit code.
Hostile files (garbage, a 20 MiB file, a 100 KiB line, NUL bytes, entries outside the
folder) are refused or skipped as velksum promises.
With three arguments the same fixtures go through velksum.exe under Wine, which must print
what the native build prints, and `velksum.exe -a MD5 *.BIN` must expand the pattern.
The data comes from a seed that is printed; VELK_SEED replays it.
"""
import hashlib
import os
import random
import shutil
import subprocess
import sys
import tempfile

failures = []


def check(ok, what):
    if not ok:
        failures.append(what)
        print("FAIL:", what)


def have(tool):
    return shutil.which(tool) is not None


def make_data(folder, rng, portable):
    names = ["plain.bin", "with space.bin", "n\u00e4me \u0444.bin", "UPPER.BIN", "zero.bin"]
    if not portable:  # names Windows cannot hold
        names += ["back\\slash.bin", "line\nbreak.bin"]
    for i, name in enumerate(names):
        size = 0 if name == "zero.bin" else rng.randrange(1, 70000)
        with open(os.path.join(folder, name), "wb") as f:
            f.write(rng.randbytes(size))
    return names


def run(args, cwd, stdin=None):
    r = subprocess.run(args, cwd=cwd, capture_output=True, input=stdin)
    return r.returncode, r.stdout.decode("utf-8", "replace"), r.stderr.decode("utf-8", "replace")


def warnings(err, program):
    return [l.replace(program + ":", "PROG:") for l in err.splitlines() if "WARNING" in l]


def fixtures(folder, names):
    """name -> (checksum file bytes, coreutils tool that reads them or None)."""
    made = {}

    def tool_output(args):
        return subprocess.run(args, cwd=folder, capture_output=True, check=True).stdout

    made["SHA256SUMS"] = (tool_output(["sha256sum"] + names), "sha256sum")
    made["MD5SUMS"] = (tool_output(["md5sum", "-b"] + names), "md5sum")
    made["B2SUMS"] = (tool_output(["b2sum"] + names), "b2sum")
    made["SHA512SUMS"] = (tool_output(["sha512sum", "--tag"] + names), "sha512sum")
    made["names.sha256"] = (tool_output(["sha256sum"] + names[:2]), "sha256sum")
    if have("rhash"):
        plain = [n for n in names if "\\" not in n and "\n" not in n]
        made["rhash-bsd.txt"] = (tool_output(["rhash", "--sha256", "--bsd"] + plain), "sha256sum")
        made["rhash.sfv"] = (tool_output(["rhash", "--sfv"] + plain), None)
    # Tampered copies: one digest changed, one missing file, one stray line.
    for name in list(made):
        data, tool = made[name]
        lines = data.split(b"\n")
        first = next(i for i, l in enumerate(lines) if l and not l.startswith(b";"))
        l = lines[first]
        k = len(l) - 1 if name.endswith(".sfv") else (l.rindex(b"=") + 2 if b") = " in l else 1)
        lines[first] = l[:k] + (b"0" if l[k:k + 1] != b"0" else b"1") + l[k + 1:]
        missing = l.replace(b"plain.bin", b"missing.bin") if b"plain.bin" in l else None
        extra = [missing] if missing else []
        made["bad." + name] = (b"\n".join(lines[:-1] + extra + [b"stray line", b""]), tool)
    return made


def variants(data):
    crlf = data.replace(b"\n", b"\r\n")
    text = crlf.decode("utf-8")
    return {"crlf": crlf, "bom": b"\xef\xbb\xbf" + crlf,
            "utf16le": b"\xff\xfe" + text.encode("utf-16-le"),
            "utf16be": b"\xfe\xff" + text.encode("utf-16-be")}


def save(folder, name, data):
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def native_checks(velksum, folder, rng):
    names = make_data(folder, rng, portable=False)
    made = fixtures(folder, names)
    for name, (data, tool) in sorted(made.items()):
        save(folder, name, data)
        mine = run([velksum, "-c", name], folder)
        if tool:
            theirs = run([tool, "-c", name], folder)
            check(mine[0] == theirs[0], "%s: exit %d, %s exits %d" % (name, mine[0], tool, theirs[0]))
            check(mine[1] == theirs[1], "%s: output\n%s\n%s prints\n%s" % (name, mine[1], tool, theirs[1]))
            check(warnings(mine[2], "velksum") == warnings(theirs[2], tool),
                  "%s: warnings %s / %s" % (name, mine[2], theirs[2]))
        else:  # SFV: every entry OK, the tampered copy fails as the reading tool says
            rh = run(["rhash", "-c", name], folder)
            check(mine[0] == (0 if rh[0] == 0 else 1), "%s: exit %d, rhash -c exits %d" % (name, mine[0], rh[0]))
            ok_lines = [l for l in mine[1].splitlines() if l.endswith(": OK")]
            check(len(ok_lines) >= len(names) - 3, "%s: OK lines %s" % (name, mine[1]))
        for kind, converted in variants(data).items():
            # Beside the original, under a name that still tells the algorithm.
            save(folder, kind + "." + name, converted)
            again = run([velksum, "-c", kind + "." + name], folder)
            check(again[0] == mine[0] and again[1] == mine[1] and
                  warnings(again[2], "velksum") == warnings(mine[2], "velksum"),
                  "%s as %s: %s / %s" % (name, kind, again, mine))
    hostile_checks(velksum, folder)


def hostile_checks(velksum, folder):
    h = os.path.join(folder, "hostile")
    os.makedirs(h)
    rng = random.Random(7)
    cases = {
        "garbage.sha256": (rng.randbytes(65536), 1, "no properly formatted checksum lines found"),
        "huge.md5": (b"#" * (20 << 20), 1, "checksum file is larger than 16 MiB"),
        "longline.md5": (b"d41d8cd98f00b204e9800998ecf8427e  " + b"x" * (100 << 10) + b"\n", 1,
                         "line 1 is longer than 64 KiB"),
        "nul.md5": (b"d41d8cd98f00b204e9800998ecf8427e  empty\x00evil\n"
                    b"d41d8cd98f00b204e9800998ecf8427e  empty\n", 0,
                    "WARNING: 1 line is improperly formatted"),
    }
    save(h, "empty", b"")
    for name, (data, code, message) in cases.items():
        save(h, name, data)
        r = run([velksum, "-c", name], h)
        check(r[0] == code and message in r[2], "%s: %s" % (name, r))
    outside = os.path.join(folder, "secret.txt")
    save(folder, "secret.txt", b"")
    empty = hashlib.md5(b"").hexdigest()
    listing = "%s  ../secret.txt\n%s  %s\n%s  sub/../../secret.txt\n%s  empty\n" % (
        empty, empty, outside, empty, empty)
    save(h, "outside.md5", listing.encode())
    r = run([velksum, "-c", "outside.md5"], h)
    check(r[0] == 1, "entries outside the folder fail the check")
    check(r[1] == "../secret.txt: skipped (outside the folder)\n%s: skipped (outside the folder)\n"
                  "sub/../../secret.txt: skipped (outside the folder)\nempty: OK\n" % outside,
          "outside entries skipped, never read: %s" % r[1])
    check("WARNING: 3 listed files were skipped (outside the folder)" in r[2], r[2])


def windows_checks(velksum, wine_run, exe, folder, rng):
    names = make_data(folder, rng, portable=True)
    for name, (data, _) in sorted(fixtures(folder, names).items()):
        save(folder, name, data)
        for kind, converted in [("", data)] + list(variants(data).items()):
            listed = kind + "." + name if kind else name
            save(folder, listed, converted)
            native = run([velksum, "-c", listed], folder)
            windows = run([wine_run, exe, "-c", listed], folder)
            check(windows[0] == native[0] and windows[1] == native[1] and
                  warnings(windows[2], "velksum") == warnings(native[2], "velksum"),
                  "velksum.exe -c %s: %s\nnative: %s" % (listed, windows, native))
    # cmd.exe hands "*.BIN" over as it is: velksum.exe expands it, without regard to case.
    r = run([wine_run, exe, "-a", "MD5", "*.BIN"], folder)
    bins = sorted([n for n in names if n.lower().endswith(".bin")], key=str.lower)
    expected = "".join("%s  %s\n" % (hashlib.md5(open(os.path.join(folder, n), "rb").read())
                                     .hexdigest(), n) for n in bins)
    check(r[0] == 0 and r[1] == expected, "velksum.exe -a MD5 *.BIN: %s\nexpected:\n%s" % (r, expected))
    r = run([wine_run, exe, "-a", "MD5", "*.nothing"], folder)
    check(r[0] == 1 and r[1] == "" and r[2].startswith("velksum: *.nothing: cannot open file"),
          "a pattern without a match is a missing file: %s" % (r,))


def main():
    if len(sys.argv) == 4 and not os.path.exists(sys.argv[1]):
        print("native velksum not built at %s: comparison skipped" % sys.argv[1])
        return 77
    seed = int(os.environ.get("VELK_SEED", random.SystemRandom().randrange(1 << 30)))
    print("seed", seed, "(set VELK_SEED to replay)")
    rng = random.Random(seed)
    with tempfile.TemporaryDirectory(prefix="velksum-check-") as folder:
        if len(sys.argv) == 2:
            native_checks(sys.argv[1], folder, rng)
        else:
            windows_checks(sys.argv[1], sys.argv[2], sys.argv[3], folder, rng)
    print("%d checks failed" % len(failures) if failures else "all checks passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
