# Shared by the scripts: installs the Debian packages the project needs, then configures and
# builds a build folder. Sourced, not run.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

PACKAGES=(
    g++ cmake ninja-build pkg-config
    libgtest-dev libgmock-dev libbenchmark-dev
    qt6-base-dev libgl-dev libusb-1.0-0-dev libzip-dev zlib1g-dev libdivide-dev
    umockdev libumockdev-dev libcap-dev
    clang libclang-rt-14-dev
    xvfb xauth poppler-utils locales desktop-file-utils shared-mime-info
    libglib2.0-bin sdcc
)

ensure_packages() {
    local missing=()
    for package in "${PACKAGES[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed'; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
        "${missing[@]}"
}

# build_tree DIR BUILD_TYPE [cmake options...]
build_tree() {
    local dir="$1" type="$2"
    shift 2
    cmake -S "$ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="$type" "$@" >/dev/null
    cmake --build "$dir" -j"$(nproc)"
}
