#!/usr/bin/env bash
# Installs, from Debian's packages, what building and testing Tuvex needs on a
# Debian 12 machine: the mingw-w64 cross compilers, 32- and 64-bit Wine, a
# virtual X display, a Japanese locale and fonts, clang's sanitizer and fuzzer
# runtimes. Run as root. Does nothing when everything is already there.
set -euo pipefail

packages=(
  cmake make ninja-build g++ clang libclang-rt-14-dev googletest libgtest-dev cppcheck
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-i686
  wine wine32:i386 wine64
  xvfb xauth x11-apps x11-utils imagemagick
  locales fonts-noto-cjk fonts-ipafont-gothic fonts-wine
  zip unzip python3
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if ((${#missing[@]})); then
  if [[ $(id -u) != 0 ]]; then
    echo "install-deps: missing packages (${missing[*]}); run this script as root" >&2
    exit 1
  fi
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  export DEBIAN_FRONTEND=noninteractive
  # A mirror in the middle of a sync serves one index out of step with the
  # others. One more try often finds it whole; when not, the indexes that
  # did arrive may still hold everything needed, so the install goes on.
  if ! apt-get update -q; then
    echo "install-deps: apt-get update failed; trying once more" >&2
    apt-get update -q || echo "install-deps: some package indexes could not be read; installing from those that could" >&2
  fi
  install=(apt-get install -y -q --no-install-recommends)
  if ! "${install[@]}" "${missing[@]}"; then
    # The updates suites may hold a newer amd64 package whose i386 twin has
    # not arrived yet (wine32:i386 cannot then be resolved); the release's
    # own suite has both.
    codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
    if [[ -z $codename ]]; then
      echo "install-deps: could not install ${missing[*]}, and /etc/os-release names no release to fall back on" >&2
      exit 1
    fi
    echo "install-deps: the install could not be resolved; trying again with the release's own packages (-t $codename)" >&2
    if ! "${install[@]}" -t "$codename" "${missing[@]}"; then
      echo "install-deps: could not install ${missing[*]}." >&2
      echo "install-deps: try 'apt-get update' again in a few minutes (a mirror may be syncing), then run this script again" >&2
      exit 1
    fi
  fi
fi

# Wine takes the Windows ANSI code page from the Unix locale: ja_JP.UTF-8 gives 932.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  if [[ $(id -u) != 0 ]]; then
    echo "install-deps: the ja_JP.UTF-8 locale is missing; run this script as root" >&2
    exit 1
  fi
  sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
fi
