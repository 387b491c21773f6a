#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks the result as a desktop and a
# user would meet it: the files are where they belong, the desktop entry and the AppStream
# metadata validate, the manual pages render, the installed programs run and find their
# alarm sound and help, and the completion offers the commands the CLI has.
# Usage: install_test.sh CMAKE BUILD_DIR VERSION DESKTOP_ID
set -uo pipefail

cmake=$1 build=$2 version=$3 id=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
failures=0

fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# Runs a command with no trace of the build tree or the user: an empty home, no data
# folder from the environment.
clean() {
  env -i PATH=/usr/bin:/bin HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" \
    XDG_DATA_HOME="$work/home/.local/share" LANG=C.UTF-8 QT_QPA_PLATFORM=offscreen "$@"
}

mkdir -p "$work/home"
if ! "$cmake" --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1; then
  cat "$work/install.log" >&2
  echo "FAIL: cmake --install" >&2
  exit 1
fi

# ---- the files ---------------------------------------------------------------------------
expected=(
  bin/dayweaver
  bin/dayweaver-cli
  share/dayweaver/alarm.wav
  "share/applications/$id.desktop"
  "share/metainfo/$id.metainfo.xml"
  "share/icons/hicolor/scalable/apps/$id.svg"
  share/man/man1/dayweaver.1.gz
  share/man/man1/dayweaver-cli.1.gz
  share/bash-completion/completions/dayweaver-cli
  share/zsh/vendor-completions/_dayweaver-cli
  share/doc/dayweaver/copyright
  share/doc/dayweaver/changelog.gz
)
for size in 48 64 128 256; do
  expected+=("share/icons/hicolor/${size}x${size}/apps/$id.png")
done
for f in "${expected[@]}"; do
  [ -s "$prefix/$f" ] || fail "not installed: $f"
done
for size in 48 64 128 256; do
  png="$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png"
  # The PNG header holds the width and height at bytes 16-23.
  dims=$(od -An -tu4 --endian=big -j16 -N8 "$png" 2>/dev/null | tr -s ' ' | sed 's/^ //')
  [ "$dims" = "$size $size" ] || fail "$png is not ${size}x${size}: $dims"
done
# Nothing of the build tree is left in the installed programs.
for p in dayweaver dayweaver-cli; do
  readelf -d "$prefix/bin/$p" | grep -i 'rpath\|runpath' | grep -qF "$build" &&
    fail "$p keeps a run path into the build tree"
done

# ---- desktop entry and metadata, one id everywhere -----------------------------------------
desktop="$prefix/share/applications/$id.desktop"
metainfo="$prefix/share/metainfo/$id.metainfo.xml"
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $id.desktop"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli rejects the metainfo"
grep -qx "Icon=$id" "$desktop" || fail "the desktop entry's icon is not $id"
grep -qx "Categories=Office;Calendar;" "$desktop" || fail "the desktop entry's categories"
grep -q "<id>$id</id>" "$metainfo" || fail "the metainfo id is not $id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
  fail "the metainfo does not launch $id.desktop"
grep -q "<release version=\"$version\"" "$metainfo" || fail "the metainfo lacks release $version"

# ---- manual pages ------------------------------------------------------------------------
for page in dayweaver dayweaver-cli; do
  out=$(MANWIDTH=80 clean man -l "$prefix/share/man/man1/$page.1.gz" 2>"$work/man.err")
  [ $? -eq 0 ] || fail "man -l $page.1.gz failed"
  [ -s "$work/man.err" ] && fail "man -l $page.1.gz warns: $(cat "$work/man.err")"
  grep -q "^NAME" <<<"$out" && grep -q "Dayweaver $version" <<<"$out" ||
    fail "the $page page does not render its name and version"
done
# Every command of the CLI has its entry in its page.
usage=$(clean "$prefix/bin/dayweaver-cli" --help)
commands=$(sed -n '/^Commands:/,/^$/p' <<<"$usage" | sed -n 's/^  \([a-z][a-z-]*\).*/\1/p' | sort -u)
[ -n "$commands" ] || fail "dayweaver-cli --help lists no commands"
page=$(MANWIDTH=200 clean man -l "$prefix/share/man/man1/dayweaver-cli.1.gz" 2>/dev/null)
for c in $commands; do
  grep -Eq "^ +$c( |$)" <<<"$page" || fail "the dayweaver-cli page lacks the command $c"
done

# ---- the installed programs ------------------------------------------------------------------
[ "$(clean "$prefix/bin/dayweaver-cli" --version)" = "dayweaver-cli $version" ] ||
  fail "dayweaver-cli --version does not say $version"
[ "$(clean "$prefix/bin/dayweaver" --version)" = "dayweaver $version" ] ||
  fail "dayweaver --version does not say $version"
mkdir -p "$work/data"
clean "$prefix/bin/dayweaver-cli" --data "$work/data" add 2030-01-02 09:30 "Installed check" ||
  fail "the installed dayweaver-cli cannot add a task"
agenda=$(clean "$prefix/bin/dayweaver-cli" --data "$work/data" agenda 2030-01-02)
[ $? -eq 0 ] || fail "the installed dayweaver-cli agenda failed"
grep -q "Installed check" <<<"$agenda" || fail "agenda does not show the added task: $agenda"

files=$(clean "$prefix/bin/dayweaver" --files)
[ $? -eq 0 ] || fail "dayweaver --files reports something missing: $files"
grep -qx "alarm-sound	$prefix/share/dayweaver/alarm.wav	found" <<<"$files" ||
  fail "the installed program does not find its alarm sound in share/dayweaver: $files"
grep -qx "help	:/help/dayweaver.html	Dayweaver Help" <<<"$files" ||
  fail "the installed program does not carry its help: $files"

# ---- completion ------------------------------------------------------------------------------
offered=$(bash -c '
  source "$1"
  COMP_WORDS=(dayweaver-cli ""); COMP_CWORD=1; COMP_LINE="dayweaver-cli "; COMP_POINT=14
  _dayweaver_cli; printf "%s\n" "${COMPREPLY[@]}"' _ \
  "$prefix/share/bash-completion/completions/dayweaver-cli" | sort -u)
[ "$offered" = "$commands" ] ||
  fail "bash completion offers [$(echo $offered)], the CLI has [$(echo $commands)]"
if command -v zsh >/dev/null; then
  zsh -n "$prefix/share/zsh/vendor-completions/_dayweaver-cli" || fail "zsh completion syntax"
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "install: all checks passed under $prefix"
