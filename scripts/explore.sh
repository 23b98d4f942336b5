#!/usr/bin/env bash
# Long campaigns of the operator model (test_operator_model): random sequences of clock, operator
# and world steps on a whole station with real task processes, checked after every step. Runs
# rounds of fresh seeds for MINUTES (default 60), starting from SEED (default: a random one), on
# one core at a low priority, and prints each failing sequence, shrunk, with the RC_PARAMS that
# replays it; at the end the sequences and steps run. Exit status 1 when a sequence failed.
#   scripts/explore.sh [MINUTES] [SEED]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
vardo_require_packages "${VARDO_BUILD_PACKAGES[@]}" "${VARDO_TEST_PACKAGES[@]}"
minutes="${1:-60}"
seed="${2:-$(od -An -N4 -tu4 /dev/urandom | tr -d ' ')}"
# Sequences per round, and the longest sequence.
per_round="${VARDO_EXPLORE_SEQUENCES:-25}"
max_size="${VARDO_EXPLORE_STEPS:-150}"

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARDO_TESTS=ON >/dev/null
cmake --build build --target test_operator_model -j "$(nproc)"

logs="$(mktemp -d /tmp/vardo-explore.XXXXXX)"
# The campaign runs the build of its start, whatever is rebuilt meanwhile.
model="$logs/test_operator_model"
cp build/tests/runner/test_operator_model "$model"
echo "logs in $logs; first seed $seed, $minutes minutes"
end=$((SECONDS + minutes * 60))
round=0 failed=0 sequences=0 steps=0
while [ "$SECONDS" -lt "$end" ]; do
    round_seed=$((seed + round))
    log="$logs/round-$round_seed.log"
    status=0
    QT_QPA_PLATFORM=offscreen RC_PARAMS="seed=$round_seed max_success=$per_round max_size=$max_size" \
        nice -n 10 "$model" --gtest_filter='OperatorModel.*' >"$log" 2>&1 ||
        status=$?
    if counts="$(grep -o 'operator model: [0-9]* sequences, [0-9]* steps' "$log")"; then
        sequences=$((sequences + $(echo "$counts" | awk '{print $3}')))
        steps=$((steps + $(echo "$counts" | awk '{print $5}')))
    fi
    if [ "$status" -eq 0 ]; then
        rm -f "$log"
    else
        failed=$((failed + 1))
        echo "== seed $round_seed: a sequence failed (log: $log)"
        # RapidCheck's report: the shrunk sequence, what failed, and the parameters that replay it.
        sed -n '/^Falsifiable/,/^\[  FAILED  \]/p' "$log"
        grep -o 'RC_PARAMS="reproduce=[^"]*"' "$log" |
            sed "s|\$| QT_QPA_PLATFORM=offscreen $model|" || true
    fi
    round=$((round + 1))
done
echo "operator model campaign: $round rounds from seed $seed, $failed failed;" \
    "$sequences sequences (shrinking included), $steps steps"
[ "$failed" -eq 0 ]
