# Debian packages the build and the tests need; sourced by run.sh and test.sh.
CADENZIO_GUI_PACKAGES=(qt6-base-dev libmpv-dev fonts-nanum pkg-config)
CADENZIO_RUN_PACKAGES=(cmake g++ make "${CADENZIO_GUI_PACKAGES[@]}")
CADENZIO_TEST_PACKAGES=(cmake g++ make clang libclang-rt-14-dev libgtest-dev libbenchmark-dev
                        "${CADENZIO_GUI_PACKAGES[@]}" xvfb xauth imagemagick)

# Installs the named packages that are not installed yet (apt-get update first).
install_missing() {
  local missing=()
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}
