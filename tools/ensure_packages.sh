# Sourced by play.sh and test.sh: installs the Debian packages that are missing.
# Runs one apt-get update before installing, uses sudo when not root, and does
# nothing at all when every package is already there.
ensure_packages() {
  local missing=()
  local pkg
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

GAME_PACKAGES=(cmake g++ make pkg-config freeglut3-dev libglew-dev libglu1-mesa-dev libx11-dev
  libsdl2-mixer-dev libgl1-mesa-dri)
