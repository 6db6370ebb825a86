#!/usr/bin/env bash
# Prepares a fresh Debian machine to build Quarvel and run it under Wine:
# packages, 32-bit execution, and a private Wine prefix.
# Safe to run again: every step checks first and does nothing when done.
#   setup.sh               what building, running and testing need
#   setup.sh --with-clang  also the second compiler (make clang-check)
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
state="$here/build/wine"
mkdir -p "$state"

say() { printf 'setup: %s\n' "$*"; }
fail() { printf 'setup: FAILED: %s\n' "$*" >&2; exit 1; }

as_root() {
  if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi
}

# The compilers of the win32 thread model: the posix model's runtime would
# link the threads library into every executable.
packages=(cmake make python3 g++-mingw-w64-i686-win32 g++-mingw-w64-x86-64-win32 wine wine64 wine32:i386
          xvfb xdotool qemu-user imagemagick xclip googletest fonts-wine fonts-wqy-microhei locales)
case "${1:-}" in
  "") ;;
  --with-clang) packages+=(clang) ;;
  *) fail "unknown option $1 (only --with-clang)" ;;
esac

# A package mirror in the middle of a sync serves indexes that do not match
# their release file for a few minutes; asking again later is the remedy.
# Nothing is installed until an update has gone through whole.
update_package_index() {
  local attempt
  for attempt in 1 2 3 4 5; do
    as_root apt-get update -qq >"$state/apt-update.log" 2>&1 && ! grep -q '^[EW]: Failed to fetch' "$state/apt-update.log" &&
      return
    [ "$attempt" = 5 ] && break
    say "package index incomplete (attempt $attempt of 5); trying again in 30 s"
    sleep 30
  done
  tail -5 "$state/apt-update.log" >&2
  fail "the package mirror is not answering consistently (often a sync in progress): run the command again in a few minutes"
}

install_packages() {
  local missing=()
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && { say "packages present"; return; }
  say "installing: ${missing[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    as_root dpkg --add-architecture i386 || fail "cannot add the i386 architecture"
  fi
  update_package_index
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" \
    >"$state/apt.log" 2>&1 || { tail -20 "$state/apt.log" >&2; fail "apt-get install ${missing[*]}"; }
}

# Some kernels refuse 32-bit Linux executables; the 32-bit Wine loader then
# runs through qemu-i386, registered with binfmt_misc.
enable_32bit() {
  local probe=/usr/lib/wine/wine
  [ -x "$probe" ] || fail "$probe missing (wine32:i386 not installed?)"
  if "$probe" --version >/dev/null 2>&1; then say "32-bit executables run"; return; fi
  say "kernel refuses 32-bit ELF; registering qemu-i386 with binfmt_misc"
  [ -e /proc/sys/fs/binfmt_misc/register ] ||
    as_root mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc || fail "mount binfmt_misc"
  if [ ! -e /proc/sys/fs/binfmt_misc/qemu-i386 ]; then
    printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386:OCF' |
      as_root tee /proc/sys/fs/binfmt_misc/register >/dev/null || fail "register qemu-i386"
  fi
  "$probe" --version >/dev/null 2>&1 || fail "32-bit executables still refused after registering qemu-i386"
  say "32-bit executables run through qemu-i386"
}

# One 64-bit prefix with its 32-bit half: both builds of Quarvel, and the test
# programs of either architecture, must meet in one wineserver to talk to each
# other. Created on its own display and wineserver, both stopped afterwards.
make_prefix() {
  local prefix="$state/prefix"
  if [ -f "$prefix/.quarvel-ready" ]; then say "wine prefix ready"; return; fi
  say "creating wine prefix at $prefix"
  rm -rf "$prefix"
  "$here/tools/with-display" env WINEPREFIX="$prefix" \
    "$here/tools/wine-run" --init >"$state/prefix.log" 2>&1 ||
    { tail -20 "$state/prefix.log" >&2; fail "wine prefix"; }
  touch "$prefix/.quarvel-ready"
  say "wine prefix created"
}

# Debian's Wine 8 looks for its own fonts next to its data directory instead
# of inside it (share/fonts, not share/wine/fonts), finds none of fonts-wine's,
# and falls back to fontconfig's: caption buttons then show Marlett's letters
# instead of its glyphs, and dialogs get another font and another size. The
# prefix's Fonts folder is always searched, so the fonts are linked there.
# Checked on every run: a prefix made before this step existed gets them too.
link_fonts() {
  local source=/usr/share/wine/fonts
  local target="$state/prefix/drive_c/windows/Fonts"
  [ -f "$source/marlett.ttf" ] || fail "$source/marlett.ttf missing (fonts-wine not installed?)"
  [ -d "$target" ] || fail "$target missing (wine prefix incomplete?)"
  local linked=0 font
  for font in "$source"/*; do
    [ "$(readlink "$target/${font##*/}" 2>/dev/null)" = "$font" ] && continue
    ln -sfn "$font" "$target/${font##*/}" || fail "link $font into the prefix"
    linked=$((linked + 1))
  done
  if [ "$linked" = 0 ]; then say "wine fonts in the prefix"; else say "linked $linked wine fonts into the prefix"; fi
}

# Chinese and Japanese text (the fixture's, and Quarvel's when it reads it)
# needs a font with those characters. Wine finds one only where Windows would
# look: linked from the fonts of a control (Tahoma's links name SimSun), or
# chosen by the edit control's script fallback (SimSun again). So the
# WenQuanYi font goes into the prefix under the name SimSun.
add_cjk_font() {
  local font=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc
  local target="$state/prefix/drive_c/windows/Fonts/${font##*/}"
  local key='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes'
  [ -f "$font" ] || fail "$font missing (fonts-wqy-microhei not installed?)"
  [ "$(readlink "$target" 2>/dev/null)" = "$font" ] || ln -sfn "$font" "$target" || fail "link $font into the prefix"
  if grep -q '^"SimSun"="WenQuanYi Micro Hei"' "$state/prefix/system.reg"; then say "CJK font in the prefix"; return; fi
  "$here/tools/with-display" env WINEPREFIX="$state/prefix" WINEDEBUG=-all \
    /usr/lib/wine/wine64 reg add "$key" /v SimSun /t REG_SZ /d "WenQuanYi Micro Hei" /f >"$state/font.log" 2>&1 ||
    { tail -5 "$state/font.log" >&2; fail "CJK font substitute"; }
  say "CJK font added to the prefix"
}

# Wine takes a program's code page from its locale: one end-to-end scenario
# runs Quarvel under a Russian one (code page 1251), which must exist.
add_locale() {
  if locale -a 2>/dev/null | grep -qix 'ru_RU.utf8'; then say "Russian locale present"; return; fi
  as_root localedef -i ru_RU -c -f UTF-8 ru_RU.UTF-8 >"$state/locale.log" 2>&1 ||
    { tail -5 "$state/locale.log" >&2; fail "localedef ru_RU.UTF-8"; }
  say "Russian locale added"
}

install_packages
add_locale
enable_32bit
make_prefix
link_fonts
add_cjk_font
say "done"
