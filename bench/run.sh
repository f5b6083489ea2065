#!/usr/bin/env bash
# Times velksum against the tools a user would pick instead, on this machine, in one run.
#
#   bench/run.sh [NATIVE_BUILD_DIR [WINDOWS_BUILD_DIR]]
#
# NATIVE_BUILD_DIR defaults to build/native; WINDOWS_BUILD_DIR (optional) adds the Windows
# flavour's velksum.exe under Wine in that build's prefix (no target there: Wine's CNG is not
# Windows'). Environment: ROUNDS (default 7) alternating rounds per comparison, BENCH_TMP
# (default /tmp) for the files, SKIP_1G=1 to leave out the 1 GiB memory run, IDLE_WAIT
# (default 180) the seconds each timing may wait for an idle machine (0: never wait),
# BENCH_ONLY=check to time only the checking of checksum files.
#
# Every comparison runs its commands in turn within each round, the order reversed every
# other round, and reports medians. Outputs are checked to agree before anything is timed.
# On a shared machine each timing first waits until both cores have been idle for a second;
# a timing that had to start without that is counted and reported beside its comparison.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
native=$(cd "${1:-$repo/build/native}" && pwd)
windows=${2:+$(cd "$2" && pwd)}
rounds=${ROUNDS:-7}
velksum=$native/velksum/velksum
[ -x "$velksum" ] || { echo "no velksum at $velksum (build the native flavour first)" >&2; exit 2; }
command -v rhash >/dev/null || { echo "rhash is missing (apt-get install rhash)" >&2; exit 2; }

work=$(mktemp -d "${BENCH_TMP:-/tmp}/velk-bench.XXXXXX")
wine_prefix_up=""
cleanup() {
    if [ -n "$wine_prefix_up" ]; then "$repo/scripts/wine-prefix.sh" down "$wine_prefix_up" || true; fi
    rm -rf "$work"
}
trap cleanup EXIT

rhash_all=(rhash --crc32 --md5 --sha1 --sha224 --sha256 --sha384 --sha512 --sha3-256 --sha3-512
           --blake2b --blake2s)

idle_wait=${IDLE_WAIT:-180}
note=""

# Success once the processors were at least 95% idle over one second.
machine_idle() {
    local a b
    a=($(awk '/^cpu / { print $5 + $6, $2 + $3 + $4 + $5 + $6 + $7 + $8 + $9 }' /proc/stat))
    sleep 1
    b=($(awk '/^cpu / { print $5 + $6, $2 + $3 + $4 + $5 + $6 + $7 + $8 + $9 }' /proc/stat))
    awk -v i=$((b[0] - a[0])) -v t=$((b[1] - a[1])) 'BEGIN { exit !(t > 0 && i / t >= 0.95) }'
}

wait_idle() {
    ((idle_wait > 0)) || return 0
    local start=$SECONDS
    while ((SECONDS - start < idle_wait)); do machine_idle && return 0; done
    echo x >>"$work/loaded"
}

# Seconds taken by one run of the command (output discarded).
seconds() {
    wait_idle
    local start end
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1
    end=$(date +%s%N)
    awk -v a="$start" -v b="$end" 'BEGIN { printf "%.4f\n", (b - a) / 1e9 }'
}

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

report() { printf '%-38s ours %7.3f s   %-24s %7.3f s   ratio %s  %s%s\n' "$@" "$note"; }

# Sets $note to the count of timings since the last call that started on a busy machine.
loaded_note() {
    local n=0
    [ -f "$work/loaded" ] && n=$(wc -l <"$work/loaded")
    rm -f "$work/loaded"
    note=""
    if ((n > 0)); then note="  [$n timings started on a busy machine]"; fi
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

verdict() { # ratio target
    awk -v r="$1" -v t="$2" 'BEGIN { if (t == "") print ""; else if (r <= t) printf "target <= %s: met", t; else printf "target <= %s: NOT met (%.0f%% over)", t, (r / t - 1) * 100 }'
}

# time_set NAME CMD...: appends one timing of CMD to $work/times.NAME
time_set() {
    local name=$1
    shift
    seconds "$@" >>"$work/times.$name"
}

# compare LABEL PEER TARGET -- CMD_A... -- CMD_B...: alternating rounds, medians, ratio A/B.
compare() {
    local label=$1 peer=$2 target=$3
    shift 4
    local a=() b=()
    while [ "$1" != "--" ]; do a+=("$1"); shift; done
    shift
    b=("$@")
    rm -f "$work/times.a" "$work/times.b"
    for ((r = 1; r <= rounds; r++)); do
        if ((r % 2)); then time_set a "${a[@]}"; time_set b "${b[@]}"
        else time_set b "${b[@]}"; time_set a "${a[@]}"; fi
    done
    local ma mb q
    loaded_note
    ma=$(median <"$work/times.a")
    mb=$(median <"$work/times.b")
    q=$(ratio "$ma" "$mb")
    report "$label" "$ma" "$peer" "$mb" "$q" "$(verdict "$q" "$target")"
}

# Digest text of "velksum -a" / of a peer, for the agreement check.
# (SFV comment lines of rhash are skipped; the whole output is read so no tool sees SIGPIPE.)
first_word() {
    "$@" 2>/dev/null | awk '!/^;/ && !done { $0 = tolower($0); print ($NF ~ /^[0-9a-f]+$/ && $1 !~ /^[0-9a-f]+$/) ? $NF : $1; done = 1 }'
}

echo "== machine"
echo "cpu:   $(awk -F': ' '/^model name/ { print $2; exit }' /proc/cpuinfo)"
echo "cores: $(nproc)"
echo "load:  $(cut -d' ' -f1-3 /proc/loadavg) (1, 5, 15 min)"
echo "peers: $(rhash --version | head -n 1); $(openssl version | cut -d' ' -f1-2); $(b2sum --version | head -n 1)"
echo "rounds per comparison: $rounds (medians)"
echo

big=$work/random-256MiB.bin
head -c $((256 * 1048576)) /dev/urandom >"$big"
cat "$big" >/dev/null # into the page cache

# The all-digest outputs must agree with rhash's before their times mean anything.
ours=$("$velksum" "$big" | awk 'NR > 1 { print $2 }' | sort)
theirs=$("${rhash_all[@]}" "$big" | tr 'A-F ' 'a-f\n' | grep -E '^[0-9a-f]{8,}$' | sort)
[ "$ours" = "$theirs" ] || { echo "velksum and rhash disagree on $big" >&2; exit 1; }

small=$work/small
mkdir -p "$small"
for ((i = 0; i < 2000; i++)); do printf -v f '%s/%04d' "$small" "$i"; head -c 4096 /dev/urandom >"$f"; done
smallnames=()
for ((i = 0; i < 2000; i++)); do printf -v f '%04d' "$i"; smallnames+=("$f"); done
cat "$small"/* >/dev/null

# Checking checksum files: the lists sha256sum writes, checked by both tools. Each check must
# pass in both before it is timed.
(cd "$small" && sha256sum "${smallnames[@]}" >SHA256SUMS)
(cd "$work" && sha256sum "$(basename "$big")" >SHA256SUMS)
for list in "$small/SHA256SUMS" "$work/SHA256SUMS"; do
    (cd "$(dirname "$list")" && "$velksum" -c SHA256SUMS >/dev/null && sha256sum -c SHA256SUMS >/dev/null) ||
        { echo "a check of $list failed" >&2; exit 1; }
done
echo "== checking a checksum file (SHA256SUMS as sha256sum writes it)"
(cd "$small" && compare "velksum -c, 2,000 files of 4 KiB" "sha256sum -c" 1.1 -- "$velksum" -c SHA256SUMS -- sha256sum -c SHA256SUMS)
(cd "$work" && compare "velksum -c, one file of 256 MiB" "sha256sum -c" 1.1 -- "$velksum" -c SHA256SUMS -- sha256sum -c SHA256SUMS)
echo
if [ "${BENCH_ONLY:-}" = check ]; then exit 0; fi

echo "== all eleven digests, 256 MiB of random bytes in the page cache"
compare "velksum FILE (automatic threads)" "rhash, 11 digests" 0.6 -- "$velksum" "$big" -- "${rhash_all[@]}" "$big"
compare "velksum --threads 1 FILE" "rhash, 11 digests" 1.0 -- "$velksum" --threads 1 "$big" -- "${rhash_all[@]}" "$big"
echo

# Each own digest alone against the fastest peer present for it (timed in the same rounds).
declare -A peers=(
    [CRC32]="rhash --crc32"
    [SHA-224]="openssl dgst -sha224|sha224sum|rhash --sha224"
    [SHA3-256]="openssl dgst -sha3-256|rhash --sha3-256"
    [SHA3-512]="openssl dgst -sha3-512|rhash --sha3-512"
    [BLAKE2b]="b2sum|openssl dgst -blake2b512|rhash --blake2b"
    [BLAKE2s]="openssl dgst -blake2s256|rhash --blake2s"
)
echo "== each own digest alone, 256 MiB (peer: the fastest of the listed tools on this machine)"
for name in CRC32 SHA-224 SHA3-256 SHA3-512 BLAKE2b BLAKE2s; do
    IFS='|' read -r -a candidates <<<"${peers[$name]}"
    want=$(first_word "$velksum" -a "$name" "$big")
    usable=()
    for c in "${candidates[@]}"; do
        read -r -a cmd <<<"$c"
        command -v "${cmd[0]}" >/dev/null || continue
        got=$(first_word "${cmd[@]}" "$big")
        if [ "$got" != "$want" ]; then
            echo "  $name: $c disagrees ($got vs $want), left out" >&2
            continue
        fi
        usable+=("$c")
    done
    rm -f "$work"/times.*
    for ((r = 1; r <= rounds; r++)); do
        order=("ours" "${usable[@]}")
        if ! ((r % 2)); then order=("${usable[@]}" "ours"); fi
        for entry in "${order[@]}"; do
            if [ "$entry" = ours ]; then
                time_set ours "$velksum" -a "$name" "$big"
            else
                read -r -a cmd <<<"$entry"
                time_set "peer$(printf '%s' "$entry" | md5sum | cut -c1-8)" "${cmd[@]}" "$big"
            fi
        done
    done
    loaded_note
    mo=$(median <"$work/times.ours")
    best="" bestt=""
    for c in "${usable[@]}"; do
        t=$(median <"$work/times.peer$(printf '%s' "$c" | md5sum | cut -c1-8)")
        if [ -z "$bestt" ] || awk -v x="$t" -v y="$bestt" 'BEGIN { exit !(x < y) }'; then best=$c bestt=$t; fi
    done
    q=$(ratio "$mo" "$bestt")
    report "velksum -a $name" "$mo" "$best" "$bestt" "$q" "$(verdict "$q" 1.2)"
done
echo

echo "== 2,000 files of 4 KiB, all eleven digests"
(cd "$small" && compare "velksum 0000 ... 1999" "rhash, 11 digests" 1.2 -- "$velksum" "${smallnames[@]}" -- "${rhash_all[@]}" "${smallnames[@]}")
echo

peak_kib() { # CMD...: maximum resident set of the command in KiB
    if [ -x /usr/bin/time ]; then
        /usr/bin/time -f '%M' "$@" 2>&1 >/dev/null | tail -n 1
    else
        python3 -c 'import resource, subprocess, sys; subprocess.run(sys.argv[1:], stdout=subprocess.DEVNULL); print(resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss)' "$@"
    fi
}
if [ "${SKIP_1G:-0}" != 1 ]; then
    gig=$work/random-1GiB.bin
    rm -f "$big"
    head -c $((1024 * 1048576)) /dev/urandom >"$gig"
    cat "$gig" >/dev/null
    echo "== peak memory of the all-digest pass on 1 GiB"
    kib=$(peak_kib "$velksum" "$gig")
    awk -v k="$kib" 'BEGIN { printf "%-38s %7.1f MiB  (target <= 16 MiB: %s)\n", "velksum FILE, maximum resident set", k / 1024, k <= 16384 ? "met" : "NOT met" }'
    kib=$(peak_kib "${rhash_all[@]}" "$gig")
    awk -v k="$kib" 'BEGIN { printf "%-38s %7.1f MiB\n", "rhash (11 digests), for comparison", k / 1024 }'
    kib=$(peak_kib "$velksum" --threads 1 "$gig")
    awk -v k="$kib" 'BEGIN { printf "%-38s %7.1f MiB\n", "velksum --threads 1 FILE", k / 1024 }'
    rm -f "$gig"
    head -c $((256 * 1048576)) /dev/urandom >"$big"
    cat "$big" >/dev/null
    echo
fi

if [ -n "$windows" ]; then
    exe=$windows/bin/velksum.exe
    [ -f "$exe" ] || { echo "no velksum.exe in $windows/bin" >&2; exit 2; }
    wine_prefix_up=$windows/wineprefix
    "$repo/scripts/wine-prefix.sh" up "$wine_prefix_up"
    export WINEPREFIX=$wine_prefix_up WINEDEBUG=-all
    wine=/usr/lib/wine/wine64
    echo "== Windows flavour under Wine 8 (velksum.exe; no target)"
    "$wine" "$exe" "Z:$big" >/dev/null # the first start loads the prefix
    compare "velksum.exe FILE (automatic threads)" "rhash, 11 digests" "" -- "$wine" "$exe" "Z:$big" -- "${rhash_all[@]}" "$big"
    compare "velksum.exe --threads 1 FILE" "rhash, 11 digests" "" -- "$wine" "$exe" --threads 1 "Z:$big" -- "${rhash_all[@]}" "$big"
    for name in CRC32 SHA-224 SHA3-256 SHA3-512 BLAKE2b BLAKE2s; do
        IFS='|' read -r -a candidates <<<"${peers[$name]}"
        read -r -a cmd <<<"${candidates[0]}"
        compare "velksum.exe -a $name" "${candidates[0]}" "" -- "$wine" "$exe" -a "$name" "Z:$big" -- "${cmd[@]}" "$big"
    done
    (cd "$small" && compare "velksum.exe 0000 ... 1999" "rhash, 11 digests" "" -- "$wine" "$exe" "${smallnames[@]}" -- "${rhash_all[@]}" "${smallnames[@]}")
fi

echo
echo "load at the end: $(cut -d' ' -f1-3 /proc/loadavg) (1, 5, 15 min; this run's own work included)"
