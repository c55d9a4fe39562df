#!/usr/bin/env bash
# Checks the built help file: every page is inside, says what it must, and links only to pages inside.
set -u
chm=$1
extract=${2:-extract_chmLib}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "VexbaneHelp.chm: $*" >&2; failures=$((failures + 1)); }

[ -f "$chm" ] || { echo "no help file at $chm" >&2; exit 1; }
"$extract" "$chm" "$work" >/dev/null || { echo "$extract could not read $chm" >&2; exit 1; }

# Each page and a phrase (grep -F, case-insensitive) that the page must contain.
while IFS='|' read -r page phrase; do
  [ -z "$page" ] && continue
  if [ ! -f "$work/$page" ]; then
    fail "page $page is missing"
  elif ! grep -qiF -- "$phrase" "$work/$page"; then
    fail "page $page does not mention: $phrase"
  fi
done <<'PAGES'
index.html|stops the windows that web pages open on their own
levels.html|Allow Popup</td><td>Blocking is off
levels.html|Block Ad Popup-Low</td><td>A window may open up to twice as long
levels.html|Block Ad Popup-Default
levels.html|Block Ad Popup-High</td><td>The time after your click is a third shorter
levels.html|Block All Popup</td><td>Every new window is stopped
levels.html|<b>Ctrl</b> key
levels.html|href="allowlist.html"
toggle.html|<b>left click</b> on the Vexbane icon switches blocking off
allowlist.html|<b>anywhere in its address</b>
blocked.html|last 20 windows that were blocked
blocked.html|blocked today</b> and <b>in all
blocked.html|<b>Allow Site</b>
blocked.html|<b>Copy Address</b>
blocked.html|<b>Test</b>
blocked.html|href="allowlist.html"
index.html|href="blocked.html"
index.html|href="blockedhosts.html"
blocked.html|<b>Open</b>
blocked.html|<b>Block Host</b>
blockedhosts.html|blocked even right
blockedhosts.html|Internet Explorer 6 on Windows XP SP2
blockedhosts.html|BlockedHost.dat
allowlist.html|href="blocked.html"
sounds.html|Block.wav
sounds.html|Internal Sound
sounds.html|No Sound
messenger.html|Block Messenger Popup
messenger.html|Allow Messenger Popup
cookies.html|Auto-Clean IE Cookies When IE Exits.
uninstall.html|Please close all opened IE browsers first, then click the OK button!
accounts.html|This account may
accounts.html|subfolder <b>Low</b>
index.html|href="accounts.html"
PAGES

# The contents file and the default topic.
[ -f "$work/VexbaneHelp.hhc" ] || fail "the contents file is missing"
grep -q "index.html" "$work/#SYSTEM" 2>/dev/null || fail "index.html is not the default topic"

# Every local link of every page and of the contents leads to a page inside the file.
for file in "$work"/*.html "$work/VexbaneHelp.hhc"; do
  [ -f "$file" ] || continue
  for target in $(grep -oiE '(href|value)="[^"#:]+\.html"' "$file" | sed -E 's/^[^"]*"//; s/"$//'); do
    [ -f "$work/$target" ] || fail "$(basename "$file") links to missing page $target"
  done
done

pages=$(ls "$work"/*.html | wc -l)
[ "$pages" -ge 9 ] || fail "only $pages pages"
[ "$failures" -eq 0 ] && echo "VexbaneHelp.chm: $pages pages checked"
exit "$failures"
