# Installs the Debian/Ubuntu packages the build, the tests and the program need. Sourced by
# run.sh and test.sh; `drx_install_packages` skips everything when they are all present.

# Needed to build both builds and run their tests.
DRX_REQUIRED_PACKAGES="cmake make g++ libgtest-dev googletest g++-mingw-w64-x86-64-posix
  mingw-w64-tools wine64 wine fonts-wine xvfb xauth xdotool x11-utils imagemagick netpbm"
# libFuzzer (clang), the DXF reader the exporter tests check against, and the readers of the
# other export formats: used where present, skipped with a note where a release lacks them.
DRX_OPTIONAL_PACKAGES="clang libclang-rt-14-dev python3-ezdxf ghostscript epstool hp2xx libwmf-bin
  dime librecad"

drx_package_installed() {
  [ "$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null)" = "install ok installed" ]
}

drx_package_available() {
  candidate=$(apt-cache policy "$1" 2>/dev/null | sed -n 's/^ *Candidate: *//p')
  [ -n "$candidate" ] && [ "$candidate" != "(none)" ]
}

drx_install_packages() {
  missing=""
  for package in $DRX_REQUIRED_PACKAGES $DRX_OPTIONAL_PACKAGES; do
    drx_package_installed "$package" || missing="$missing $package"
  done
  if [ -z "$missing" ]; then
    echo "== packages: all present"
    return 0
  fi
  sudo=""
  if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null 2>&1; then
      echo "== packages missing and no sudo to install them:$missing" >&2
      return 1
    fi
    sudo="sudo"
  fi
  echo "== packages: installing$missing"
  export DEBIAN_FRONTEND=noninteractive
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -q </dev/null || return 1
  installable=""
  for package in $missing; do
    if drx_package_available "$package"; then
      installable="$installable $package"
    elif echo " $DRX_REQUIRED_PACKAGES " | tr '\n' ' ' | grep -q " $package "; then
      echo "== packages: required package $package is not available here" >&2
      return 1
    else
      echo "== packages: optional package $package is not available here; skipped"
    fi
  done
  # shellcheck disable=SC2086
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q $installable </dev/null
}
