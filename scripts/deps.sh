# Sourced by the run and test commands: makes sure the Debian packages they need are installed.
# As root the missing ones are installed; otherwise the one apt-get line to run is printed.

vardo_require_packages() {
    local missing=()
    local package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -eq 0 ]; then
        echo "Installing: ${missing[*]}"
        apt-get update -qq
        DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
    else
        echo "Missing Debian packages. Run as root:"
        echo "  apt-get install -y ${missing[*]}"
        exit 1
    fi
}

VARDO_BUILD_PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev libx11-dev libxrandr-dev libxres-dev
                      libgl-dev fonts-wqy-microhei fonts-dseg)
VARDO_TEST_PACKAGES=(libgtest-dev libgmock-dev librapidcheck-dev libbenchmark-dev clang libclang-rt-14-dev xvfb xauth
                     x11-xserver-utils x11-utils openbox x11-apps xterm libxtst-dev
                     mutter kwin-wayland xwayland dbus-daemon zenity qt6-wayland
                     prometheus prometheus-node-exporter)
# The package build (dpkg-shlibdeps computes the dependencies; CPack finds the binaries with file).
VARDO_PACKAGE_PACKAGES=(dpkg-dev file)
# The package's checks: validators, and a fresh Debian root to install it into.
VARDO_PACKAGE_CHECK_PACKAGES=(desktop-file-utils appstream lintian mmdebstrap)
