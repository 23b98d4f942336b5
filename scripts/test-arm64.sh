#!/usr/bin/env bash
# Cross-builds Vardo and its tests for arm64 in the build root of scripts/buildroot.sh (in
# build-arm64/) and runs the unit, widget, X11 and end-to-end tests there under qemu user
# emulation, against the X test bed of this machine. Not run: the wayland tests (their
# compositors run on this machine, not in the root; the code they test is the X11 one tested
# here), the check of the shipped alert rules (promtool, no arm64 code), and the tests that the
# emulator cannot run, by name, in groups printed with the emulator's reason and a probe's
# evidence (a group of starting programs is run again once the probe shows no fault). Timings
# under emulation say nothing about a real arm64 machine. A skipped test fails the run. Runs as
# root.
set -euo pipefail
cd "$(dirname "$0")/.."
arch=arm64
[ "$(id -u)" -eq 0 ] || { echo "test-arm64.sh builds in a Debian root: run it as root" >&2; exit 1; }

if [ -z "${VARDO_IN_BUILDROOT:-}" ]; then
    source scripts/deps.sh
    vardo_require_packages xvfb xauth x11-xserver-utils x11-utils openbox
    runtime="$(mktemp -d /tmp/vardo-test-arm64.XXXXXX)"
    cleanup() {
        local status=$?
        scripts/xbed.sh stop "$runtime/xbed" || true
        if [ "$status" -eq 0 ]; then rm -rf "$runtime"; else echo "== FAILED: logs in $runtime" >&2; fi
    }
    trap cleanup EXIT
    echo "== X test bed"
    scripts/xbed.sh start "$runtime/xbed"
    scripts/buildroot.sh run "$arch" env VARDO_IN_BUILDROOT=1 \
        VARDO_TEST_DISPLAY_WM="$(cat "$runtime/xbed/wm.display")" \
        VARDO_TEST_DISPLAY_BARE="$(cat "$runtime/xbed/bare.display")" \
        DISPLAY="$(cat "$runtime/xbed/wm.display")" scripts/test-arm64.sh 2>&1 | tee "$runtime/test.log"
    exit "${PIPESTATUS[0]}"
fi

source scripts/cross.sh
echo "== build for $arch"
vardo_cross_prepare "$arch"
cmake -S . -B "build-$arch" -G Ninja "${vardo_cross_arguments[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVARDO_TESTS=ON -DVARDO_BENCH=OFF >/dev/null
cmake --build "build-$arch" -j "$(nproc)"

echo "== what the emulator cannot do"
# The probe, built for this machine and for $arch: how each starts programs.
probe_flags=(-std=c++20 -fPIC -O1)
g++ "${probe_flags[@]}" tools/process-start-probe.cpp $(pkg-config --cflags --libs Qt6Core) \
    -o "build-$arch/process-start-probe-native"
"$DEB_HOST_GNU_TYPE-g++" "${probe_flags[@]}" tools/process-start-probe.cpp \
    $(PKG_CONFIG_LIBDIR="/usr/lib/$DEB_HOST_MULTIARCH/pkgconfig:/usr/share/pkgconfig" pkg-config \
        --cflags --libs Qt6Core) -o "build-$arch/process-start-probe"
native="$("build-$arch/process-start-probe-native")"
emulated="$("build-$arch/process-start-probe")"
echo "natively:"; echo "$native" | sed 's/^/    /'
echo "under emulation:"; echo "$emulated" | sed 's/^/    /'
probed() { echo "$emulated" | sed -n "s/^$1: //p"; }

left_out=()
# Leaves out the named tests, saying why.
leave_out() { # reason test...
    echo "left out: $1"
    shift
    printf '    %s\n' "$@"
    left_out+=("$@")
}
without_raise=()
if [ "$(probed posix_spawn-raised-start)" = "exit 127" ]; then
    echo "qemu carries out posix_spawn's clone(CLONE_VM|CLONE_VFORK) as a plain fork, which returns"
    echo "before the child has run exec: a start that borrows a real-time priority takes the child"
    echo "back to the usual scheduling before the child's own step to its priority, which then fails"
    echo "(exit 127, probe above). The tests run without the right to raise the priority"
    echo "(CAP_SYS_NICE dropped), as a desktop user without rtprio starts them."
    without_raise=(setpriv --inh-caps=-sys_nice --bounding-set=-sys_nice)
    leave_out "they need that right (the start with a borrowed priority itself)" \
        PosixProcessesTest.CreateProcess_TaskAndProgram_KeepTheUsualScheduling \
        PosixProcessesTest.CreateProcess_ChildKeptAtRealTimePriority_IsEndedAndSaysSo
fi
if [ "$(probed posix_spawn-missing-file)" = none ]; then
    leave_out "qemu's fork in place of vfork loses a failed exec: posix_spawn of a missing file \
returns 0 under emulation (natively: $(echo "$native" | sed -n 's/^posix_spawn-missing-file: //p'))" \
        PosixProcessesTest.CreateProcess_MissingProgramOrFolder_FailsWithInfoZeroed \
        HostileTasksTest.UnrunnablePrograms_EachLogsWhyAndHoldsNoProcess
fi
if [ "$(probed qprocess-start)" != started ]; then
    leave_out "Qt's QProcess cannot start a program under qemu ($(probed qprocess-start))" \
        SkinDataTest.ShippedSkinsListUnpackAndPackBackIntoTheSameSkin \
        FleetTest.MetricsDir_WritesAValidFileAtStartTickAndExit
fi
leave_out "a process's resident memory under emulation holds qemu's translated code, which grows as \
new code runs ($(probed resident-kib) KiB for the probe, natively \
$(echo "$native" | sed -n 's/^resident-kib: //p')): the program's own memory cannot be told from it" \
    Windows/SimulatedWeekTest.EveryRowOnceADay_NoLineLost_MemoryAndDescriptorsFlat/TestBed \
    Windows/SimulatedWeekTest.EveryRowOnceADay_NoLineLost_MemoryAndDescriptorsFlat/NoDisplay

echo "== tests under emulation"
runtime="$(mktemp -d /tmp/vardo-test.XXXXXX)"
chmod 700 "$runtime"
export XDG_RUNTIME_DIR="$runtime" QT_QPA_PLATFORM=offscreen
log="$runtime/ctest.log"
status=0
# CTest's names of parameterised tests go on with "  # GetParam() = ...".
exclude='^alert_rules_'
if [ ${#left_out[@]} -gt 0 ]; then
    exclude+="|^($(printf '%s\n' "${left_out[@]}" | sed 's/[][\.*^$(){}+?|]/\\&/g' | paste -sd '|'))( |\$)"
fi
timeout 5400 "${without_raise[@]}" ctest --test-dir "build-$arch" --output-on-failure -j "$(nproc)" \
    --timeout 900 --label-exclude wayland --exclude-regex "$exclude" 2>&1 | tee "$log" || status=1
if grep -q -e '(Skipped)' -e '(Disabled)' "$log"; then
    echo "skipped tests count as failures" >&2
    status=1
fi
echo "left out under emulation: ${#left_out[@]} tests (see above)"
rm -rf "$runtime"
exit "$status"
