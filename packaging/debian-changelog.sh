#!/bin/sh
# Writes CHANGELOG.md as a Debian changelog, compressed as Debian wants it (gzip -9n):
# debian-changelog.sh CHANGELOG.md PACKAGE "NAME <ADDRESS>" OUTPUT.gz
# Each "## VERSION - YYYY-MM-DD HH:MM UTC" heading starts an entry; its "- " items (continued on indented lines)
# become the entry's "* " items. Other text is left out. The time is kept because two releases may share a day,
# and a Debian changelog wants each entry newer than the one below it.
set -eu
[ $# -eq 4 ] || { echo "usage: $0 CHANGELOG.md PACKAGE 'NAME <ADDRESS>' OUTPUT.gz" >&2; exit 2; }
text="$(awk -v package="$2" -v maintainer="$3" '
function finish() {
    if (version != "")
        printf "\n -- %s  %s\n", maintainer, stamp
}
/^## / {
    finish()
    if (!match($0, /^## [0-9][0-9A-Za-z.+~]* - [0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9] [0-9][0-9]:[0-9][0-9] UTC$/)) {
        print "malformed release heading: " $0 > "/dev/stderr"
        failed = 1
        exit 1
    }
    version = $2
    command = "LC_ALL=C date -u -R -d \"" $4 " " $5 " UTC\""
    stamp = ""
    command | getline stamp
    close(command)
    if (stamp == "") {
        print "no date in: " $0 > "/dev/stderr"
        failed = 1
        exit 1
    }
    if (entries++)
        print ""
    printf "%s (%s) unstable; urgency=medium\n\n", package, version
    next
}
version != "" && /^- / { print "  * " substr($0, 3); next }
version != "" && /^  +[^ ]/ { sub(/^ +/, ""); print "    " $0; next }
END {
    if (failed)
        exit 1
    if (entries == 0) {
        print "no release in the changelog" > "/dev/stderr"
        exit 1
    }
    finish()
}
' "$1")"
printf '%s\n' "$text" | gzip -9n >"$4"
