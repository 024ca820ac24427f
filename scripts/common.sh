# Shared by scripts/test and scripts/demo.

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
JOBS="${PELWICK_JOBS:-$(nproc 2>/dev/null || echo 2)}"

# Installs what scripts/packages.txt (or the list named) lists and is missing; apt-get update
# runs only then.
install_packages() {
    local wanted missing=()
    wanted=$(grep -v -E '^\s*(#|$)' "${1:-$ROOT/scripts/packages.txt}")
    for pkg in $wanted; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" \
            || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
        "${missing[@]}"
}
