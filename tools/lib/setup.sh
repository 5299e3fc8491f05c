# Sourced by tools/test and tools/run: installs, with apt-get, whatever the build and the tests need and the
# machine lacks. Runs as root on a Debian machine.

SUITE_PACKAGES=(
    cmake ninja-build g++ python3 imagemagick xvfb xauth
    googletest libgtest-dev
    clang libclang-rt-dev
    g++-mingw-w64-x86-64
    wine wine64
    wspanish
    wixl msitools
    osslsigncode openssl
    debootstrap
)

ensure_packages() {
    local missing=() p
    for p in "${SUITE_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "== Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# Configures (once) and builds the Windows tree; $1 is the build folder.
build_windows() {
    local dir=$1
    [ -f "$dir/build.ninja" ] || cmake -S "$ROOT" -B "$dir" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$dir"
}

build_native() {
    local dir=$1
    [ -f "$dir/build.ninja" ] || cmake -S "$ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
    cmake --build "$dir"
}
