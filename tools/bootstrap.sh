# Sourced by ./run and ./test: installs the Debian packages the build needs
# when any is missing, then configures and builds into ./build.
set -euo pipefail

# lupdate (qt6-l10n-tools) and its CMake package (qt6-tools-dev) make the
# translation template.
ZAM_PACKAGES=(cmake g++ make qt6-base-dev qt6-multimedia-dev qt6-l10n-tools qt6-tools-dev)
# What the test suite needs besides: the desktop-file and AppStream validators,
# an X server with a window manager and xprop for the watcher on top, what
# building and checking the Debian package takes, a private session bus and
# network namespaces; and quakestat (Debian's qstat), which bench_query_tool
# compares zam-query with.
ZAM_TEST_PACKAGES=(desktop-file-utils appstream xvfb openbox x11-utils dpkg-dev file lintian
                   dbus-daemon iproute2 qstat)

zam_install_missing() {
    local missing=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing missing packages: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    "${sudo[@]}" apt-get update -q
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# Configures ${ZAM_BUILD_DIR:-build} with the given options and builds
# everything, the tests included; ZAM_TARGETS (an array) builds only those.
zam_build() {
    local dir=${ZAM_BUILD_DIR:-build}
    local targets=()
    [ -n "${ZAM_TARGETS+set}" ] && targets=(--target "${ZAM_TARGETS[@]}")
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    cmake --build "$dir" -j"$(nproc)" "${targets[@]}"
}

# What the CI stages add: clang with libFuzzer and the sanitizer runtimes.
ZAM_CHECK_PACKAGES=(clang libclang-rt-14-dev)

# Sanitizer reports fail the test that made them; leaks count too, except
# the few that Qt itself leaves on purpose (tests/fuzz/lsan.supp).
zam_sanitizer_env() {
    export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:abort_on_error=0"
    export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
    export LSAN_OPTIONS="suppressions=$PWD/tests/fuzz/lsan.supp:print_suppressions=0"
}

# The whole suite built with AddressSanitizer and UndefinedBehaviorSanitizer.
zam_sanitizer_tests() {
    ZAM_BUILD_DIR=build-asan zam_build -DZAM_SANITIZE=ON
    (zam_sanitizer_env && cd build-asan && ctest --output-on-failure -j2 "$@")
}

# Every fuzz target for $1 seconds over its seed corpus (clang, libFuzzer).
zam_fuzz() {
    CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZAM_FUZZ=ON \
        >/dev/null
    cmake --build build-fuzz --target zam_fuzzers -j"$(nproc)"
    (zam_sanitizer_env && tests/fuzz/run.sh build-fuzz "$1")
}

# What the Wine stage adds: Wine, and a compiler for a small Windows program
# (the win32 thread model is enough; both models would download twice the size).
ZAM_WINE_PACKAGES=(wine gcc-mingw-w64-x86-64-win32)

# The game started through the real Wine (tests/wine, build-wine): skipped
# with a message when Wine or the compiler cannot be installed.
zam_real_wine() {
    if ! (zam_install_missing "${ZAM_WINE_PACKAGES[@]}"); then
        echo "Wine stage skipped: could not install ${ZAM_WINE_PACKAGES[*]}"
        return 0
    fi
    cmake -S . -B build-wine -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZAM_REAL_WINE=ON >/dev/null
    cmake --build build-wine --target tst_real_wine -j"$(nproc)"
    (cd build-wine && ctest -L wine --output-on-failure -V)
}
