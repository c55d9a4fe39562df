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
uninstall.html|asks <b>every Internet Explorer window</b> to close
levels.html|0.7 to 1.2 seconds after your click
levels.html|1.4 to 2.4 seconds after your click
levels.html|0.47 to 0.8 seconds after your click
levels.html|5 seconds after you let go of the mouse button
levels.html|3 to 3.5 seconds after you let go of the mouse button
levels.html|2 to 3 seconds after you let go of the mouse button
levels.html|What counts as your click
levels.html|may open one window of its own as it opens
levels.html|title changes between your click and the window
levels.html|Ctrl always opens the window
levels.html|href="wanted.html"
blocked.html|<b>new window</b>
blocked.html|<b>new tab</b>
blocked.html|<b>dialog</b>
blocked.html|<b>no click</b>
blocked.html|<b>late click</b>
blocked.html|<b>Block All Popup</b>
blocked.html|<b>blocked host</b>
blocked.html|<b>page closing</b>
wanted.html|A window I wanted was blocked
wanted.html|<b>Ctrl</b>
wanted.html|<b>Open</b>
wanted.html|<b>Allow Site</b>
wanted.html|<b>left click</b> on the Vexbane icon
allowlist.html|Blocked Hosts</a> list wins over the allow list
index.html|<b>blue</b> while Vexbane is blocking, <b>grey</b>
index.html|<b>at most once a second</b>
index.html|href="about.html"
cookies.html|Vexbane reads it as &quot;1&quot;
cookies.html|none is kept
cookies.html|<b>No</b> deletes nothing
about.html|About Vexbane
PAGES

# The task page comes first in the index's list of links.
first=$(grep -oiE 'href="[^"#:]+\.html"' "$work/index.html" 2>/dev/null | head -1)
[ "$first" = 'href="wanted.html"' ] || fail "index.html links first to ${first:-nothing}, not to wanted.html"

# The About page names the build's version.
grep -qF "Vexbane ${VEXBANE_VERSION:-?}</b>" "$work/about.html" 2>/dev/null ||
  fail "about.html does not name version ${VEXBANE_VERSION:-?}"

# Every page is in the contents and in the project's file list (the index is both in the contents).
for file in "$work"/*.html; do
  page=$(basename "$file")
  grep -q "value=\"$page\"" "$work/VexbaneHelp.hhc" || fail "$page is not in the contents"
done

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
[ "$pages" -ge 12 ] || fail "only $pages pages"
[ "$failures" -eq 0 ] && echo "VexbaneHelp.chm: $pages pages checked"
exit "$failures"
