#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Gridlark need,
# and only those that are missing, so that a second run costs a dpkg query.
set -euo pipefail

groups="${*:-build}"
packages=()
for group in $groups; do
  case "$group" in
    build) packages+=(cmake ninja-build g++ make libgtest-dev libgmock-dev libbenchmark-dev
                      libcli11-dev libcadical-dev qt6-base-dev qt6-svg-dev fonts-liberation) ;;
    test)  packages+=(qqwing valgrind desktop-file-utils appstream man-db xauth parallel lintian poppler-utils chromium) ;;
    fuzz)  packages+=(clang libclang-rt-14-dev) ;;
    bench) packages+=(qqwing hyperfine time) ;;
    art)   packages+=(fonts-noto-cjk python3 python3-pil python3-fonttools) ;;
    gui)   packages+=(xvfb x11-utils imagemagick openbox xdotool) ;;
    package) packages+=(dpkg-dev file) ;;
    *) echo "install-deps: unknown group '$group'" >&2; exit 64 ;;
  esac
done

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == *"install ok installed"* ]] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
# A fresh machine may have empty package lists; update once if the first try fails.
if ! $sudo apt-get install -y --no-install-recommends "${missing[@]}"; then
  $sudo apt-get update
  $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi
