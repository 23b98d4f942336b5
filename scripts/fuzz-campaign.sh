#!/usr/bin/env bash
# A fuzzing campaign over every fuzz target: HOURS of fuzzing in all (fractions allowed, e.g. 0.05),
# shared equally by the targets, each spending four fifths of its share in a build with UBSan only
# (several times faster, for the long run) and one fifth with AddressSanitizer and UBSan. Each
# target's corpus starts from fuzz/corpus/<target> (plus real skin containers for the skin
# readers); the inputs that reach new code are merged into it at the end. Prints the executions and
# the rate per target and build; a finding stops nothing but fails the campaign, its input kept
# in the campaign's folder.
#   scripts/fuzz-campaign.sh HOURS
# VARDO_FUZZ_JOBS=N runs N targets at once (default 1: the machine may be shared).
set -euo pipefail
cd "$(dirname "$0")/.."
hours="${1:?usage: fuzz-campaign.sh HOURS}"
jobs="${VARDO_FUZZ_JOBS:-1}"
source scripts/deps.sh
source scripts/fuzz-seeds.sh
vardo_require_packages "${VARDO_BUILD_PACKAGES[@]}" "${VARDO_TEST_PACKAGES[@]}"

echo "== build (seeds: the skin tools and the shipped skins)"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target vardo-skin vardo_skins -j "$(nproc)"
# build-fuzz is the test command's build (ASan and UBSan); build-fuzz-ubsan has UBSan only.
for build in build-fuzz:address,undefined build-fuzz-ubsan:undefined; do
    dir="${build%%:*}"
    echo "== build fuzz targets with ${build#*:} in $dir"
    CC=clang CXX=clang++ cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DVARDO_FUZZ=ON -DVARDO_FUZZ_SANITIZERS="${build#*:}" >/dev/null
    cmake --build "$dir" -j "$(nproc)"
done

campaign="$(mktemp -d /tmp/vardo-fuzz-campaign.XXXXXX)"
targets=()
for target in build-fuzz-ubsan/fuzz/fuzz_*; do
    [ -x "$target" ] && targets+=("$(basename "$target")")
done
[ "${#targets[@]}" -gt 0 ] || { echo "no fuzz target was built" >&2; exit 1; }
share="$(awk -v h="$hours" -v n="${#targets[@]}" 'BEGIN { printf "%d", h * 3600 / n }')"
long=$((share * 4 / 5))
short=$((share - long))
[ "$short" -ge 1 ] || { echo "HOURS gives each target less than 5 seconds" >&2; exit 1; }
echo "== ${#targets[@]} targets, ${long}s with UBSan and ${short}s with ASan each; folder $campaign"

# The corpus a target starts from: its seeds and, for the skin readers, real containers.
prepare_corpus() { # target, folder
    mkdir -p "$2"
    cp -r "fuzz/corpus/$1/." "$2/"
    vardo_fuzz_seeds "$1" "$2" build-fuzz-ubsan
}

# One target in one build for the given seconds; prints "target build runs seconds".
fuzz_one() { # target, build folder, seconds
    local name="$1" dir="$2" seconds="$3" log
    log="$campaign/$name.$(basename "$dir").log"
    "$dir/fuzz/$name" -max_total_time="$seconds" -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$campaign/finding-$name-" "$campaign/corpus-$name" >"$log" 2>&1 ||
        echo "FINDING in $name ($(basename "$dir")): see $log" >&2
    local runs
    runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)"
    echo "$name $(basename "$dir") ${runs:-0} $seconds"
}

run_target() { # target
    local name="$1"
    prepare_corpus "$name" "$campaign/corpus-$name"
    fuzz_one "$name" build-fuzz-ubsan "$long"
    fuzz_one "$name" build-fuzz "$short"
}

export -f vardo_fuzz_seeds prepare_corpus fuzz_one run_target
export campaign long short
printf '%s\n' "${targets[@]}" | xargs -P "$jobs" -I{} bash -c 'run_target {}' \
    >"$campaign/counts.txt"

echo "== executions"
awk '{ printf "%-22s %-28s %12d runs %8d s %8.0f/s\n", $1, $2, $3, $4, $3 / ($4 > 0 ? $4 : 1) }' \
    "$campaign/counts.txt" | sort

echo "== minimise into fuzz/corpus/"
# The seeds stay as they are; only inputs that reach code (edges, not hit counts) they do not are
# added beside them, and only small ones: the large ones grow from the shipped skins, which
# scripts/fuzz-seeds.sh decompresses again at every run.
for name in "${targets[@]}"; do
    before="$(ls "fuzz/corpus/$name" | wc -l)"
    small="$campaign/small-$name"
    mkdir -p "$small"
    find "$campaign/corpus-$name" -type f -size -16k -exec cp {} "$small/" \;
    build-fuzz-ubsan/fuzz/"$name" -merge=1 -use_counters=0 "fuzz/corpus/$name" "$small" \
        >"$campaign/$name.merge.log" 2>&1
    echo "$name: $(($(ls "fuzz/corpus/$name" | wc -l) - before)) inputs added"
done

if ls "$campaign"/finding-* >/dev/null 2>&1; then
    echo "== FINDINGS, kept in $campaign:" >&2
    ls "$campaign"/finding-* >&2
    exit 1
fi
echo "== no finding; logs in $campaign"
