# Sourced by run.sh and test.sh: makes sure the Debian packages the build needs are there.
# As root the missing ones are installed with apt-get; otherwise the exact command is printed.
sweep_need_packages() {
    local missing=() pkg
    for pkg in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "ok installed"; then
            missing+=("$pkg")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -eq 0 ]; then
        echo "Installing missing packages: ${missing[*]}"
        apt-get update -qq || return 1
        DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" || return 1
    else
        echo "Sweep needs these Debian packages first. Run:" >&2
        echo "  sudo apt-get install ${missing[*]}" >&2
        return 1
    fi
}

SWEEP_BUILD_PACKAGES=(cmake g++ ninja-build qt6-base-dev qt6-base-dev-tools qt6-serialport-dev)
# The packaging tests: the desktop-file and AppStream validators, groff for the man pages, and
# what the Python scripting example imports.
SWEEP_TEST_PACKAGES=(googletest libgtest-dev dbus-daemon clang-format desktop-file-utils appstream
    groff-base python3-dbus python3-gi)

# sweep_build DIR [cmake options...]: configures and builds into DIR. The configure step runs
# every time (it is cheap once done) so a folder configured earlier also gets the options given.
sweep_build() {
    local dir=$1
    shift
    cmake -S "$SWEEP_ROOT" -B "$dir" -G Ninja "$@" || return 1
    cmake --build "$dir" -j "$(nproc)" || return 1
}
