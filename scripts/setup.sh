#!/usr/bin/env bash
# Installs what a fresh Debian machine lacks to build and test the project.
set -euo pipefail
packages=(cmake g++ make libgtest-dev libgmock-dev libsqlite3-dev sqlite3 libxml2-dev libxml2-utils libncurses-dev tmux)
# The desktop front end: Qt 6 Widgets, a Japanese face made to the widths of the Windows one
# the dialogs were laid out for (IPA P Gothic for MS P Gothic), xcb to try the display before
# Qt opens it, and an X server without a screen for its tests (xvfb-run needs xauth).
packages+=(qt6-base-dev libxcb1-dev qt6-qpa-plugins fonts-ipafont-gothic xvfb xauth)
# clang and its runtime (libFuzzer, sanitizers) build the fuzzing harnesses (scripts/fuzz.sh).
packages+=(clang libclang-rt-14-dev)
# The format check of scripts/lint.sh.
packages+=(clang-format)
# The Debian package of scripts/package.sh: dpkg-shlibdeps finds its dependencies among the
# ELF files that file(1) picks out; man reads the manual pages it carries.
packages+=(dpkg-dev file man-db)
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "installing: ${missing[*]}"
  sudo_cmd=()
  [[ $(id -u) -ne 0 ]] && sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
