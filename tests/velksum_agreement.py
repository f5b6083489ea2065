#!/usr/bin/env python3
"""velksum against independent implementations, on files made fresh for each run.

  velksum_agreement.py VELKSUM [WINE_RUN VELKSUM_EXE]

With one argument: every digest of `velksum FILE` equals Python's hashlib/zlib, and the
`velksum -a NAME` lines pass the `-c` check of the coreutils tool for that algorithm.
With three: the Windows build's velksum.exe under Wine (platform digests from CNG) prints
exactly the digests the native build prints (platform digests from libcrypto).
The random sizes and contents come from a seed that is printed; VELK_SEED replays it.
"""
import hashlib
import os
import random
import subprocess
import sys
import tempfile
import zlib

REFERENCE = {
    "CRC32": lambda b: "%08x" % (zlib.crc32(b) & 0xFFFFFFFF),
    "MD5": lambda b: hashlib.md5(b).hexdigest(),
    "SHA-1": lambda b: hashlib.sha1(b).hexdigest(),
    "SHA-224": lambda b: hashlib.sha224(b).hexdigest(),
    "SHA-256": lambda b: hashlib.sha256(b).hexdigest(),
    "SHA-384": lambda b: hashlib.sha384(b).hexdigest(),
    "SHA-512": lambda b: hashlib.sha512(b).hexdigest(),
    "SHA3-256": lambda b: hashlib.sha3_256(b).hexdigest(),
    "SHA3-512": lambda b: hashlib.sha3_512(b).hexdigest(),
    "BLAKE2b": lambda b: hashlib.blake2b(b).hexdigest(),
    "BLAKE2s": lambda b: hashlib.blake2s(b).hexdigest(),
}
COREUTILS = {"MD5": "md5sum", "SHA-1": "sha1sum", "SHA-224": "sha224sum", "SHA-256": "sha256sum",
             "SHA-384": "sha384sum", "SHA-512": "sha512sum", "BLAKE2b": "b2sum"}
ORDER = list(REFERENCE)

failures = []


def check(ok, what):
    if not ok:
        failures.append(what)
        print("FAIL:", what)


def make_files(folder, rng):
    sizes = [0, 1, 55, 64, 135, 136, 4096, 1048575, 1048576, 1048577,
             rng.randrange(2, 4) * 1048576 + rng.randrange(1, 99999)]
    sizes += [rng.randrange(0, 300000) for _ in range(4)]
    names = []
    for i, size in enumerate(sizes):
        name = "file %02d.bin" % i if i % 3 else "f\u00e4il \u0444\u0430\u0439\u043b %02d.bin" % i
        path = os.path.join(folder, name)
        with open(path, "wb") as f:
            f.write(rng.randbytes(size))
        names.append(path)
    return names


def parse_all(text):
    """`velksum FILE...` output -> list of {name: digest}, one per file."""
    blocks, current = [], None
    for line in text.splitlines():
        name, sep, digest = line.partition("  ")
        if sep and name in REFERENCE:
            current[name] = digest
        else:
            current = {}
            blocks.append(current)
    return blocks


def native_checks(velksum, files):
    out = subprocess.run([velksum] + files, capture_output=True, check=True).stdout.decode()
    blocks = parse_all(out)
    check(len(blocks) == len(files), "one block per file")
    for path, block in zip(files, blocks):
        data = open(path, "rb").read()
        check(list(block) == ORDER, "catalogue order for %s" % path)
        for name, fn in REFERENCE.items():
            check(block.get(name) == fn(data), "%s of %s (%d bytes)" % (name, path, len(data)))
    for name, tool in COREUTILS.items():
        for tag in ([], ["--tag"]):
            listing = subprocess.run([velksum, "-a", name] + tag + files, capture_output=True,
                                     check=True)
            verdict = subprocess.run([tool, "-c", "--strict", "-"], input=listing.stdout,
                                     capture_output=True)
            check(verdict.returncode == 0, "%s -c accepts velksum -a %s %s: %s" %
                  (tool, name, " ".join(tag), verdict.stdout.decode(errors="replace")[-300:]))
    # A failure is reported per file and does not stop the others.
    missing = os.path.join(os.path.dirname(files[0]), "missing")
    run = subprocess.run([velksum, "-a", "MD5", missing, files[1]], capture_output=True)
    check(run.returncode == 1, "exit code 1 when a file fails")
    check(run.stderr.decode() == "velksum: %s: cannot open file (%s)\n" % (missing, os.strerror(2)),
          "failure line: %s" % run.stderr.decode())
    check(run.stdout.decode().endswith("  %s\n" % files[1]), "the other file still printed")


def flavour_checks(velksum, wine_run, velksum_exe, files):
    native = subprocess.run([velksum] + files, capture_output=True, check=True).stdout.decode()
    windows_paths = ["Z:" + p.replace("/", "\\") for p in files]
    run = subprocess.run([wine_run, velksum_exe] + windows_paths, capture_output=True)
    check(run.returncode == 0, "velksum.exe exit code %d: %s" % (run.returncode, run.stderr[-300:]))
    windows = run.stdout.decode("utf-8")
    nb, wb = parse_all(native), parse_all(windows)
    check(len(nb) == len(files) and len(wb) == len(files), "one block per file in both flavours")
    for path, a, b in zip(files, nb, wb):
        check(a == b and len(a) == 11, "identical digests for %s" % path)
    check(windows.splitlines()[0] == windows_paths[0], "non-ASCII path printed as UTF-8")


def main():
    if len(sys.argv) == 4 and not os.path.exists(sys.argv[1]):
        print("native velksum not built at %s: comparison skipped" % sys.argv[1])
        return 77
    seed = int(os.environ.get("VELK_SEED", random.SystemRandom().randrange(1 << 30)))
    print("seed", seed, "(set VELK_SEED to replay)")
    rng = random.Random(seed)
    with tempfile.TemporaryDirectory(prefix="velksum-") as folder:
        files = make_files(folder, rng)
        if len(sys.argv) == 2:
            native_checks(sys.argv[1], files)
        else:
            flavour_checks(sys.argv[1], sys.argv[2], sys.argv[3], files)
    print("%d checks failed" % len(failures) if failures else "all checks passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
