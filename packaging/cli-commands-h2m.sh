#!/bin/sh
# The COMMANDS section of trelmo-cli's manual page as a help2man include file: cli-commands-h2m.sh TRELMO_CLI OUTPUT
# Each command of the help's "Commands" list gets its usage, its summary, and the options and arguments of
# "trelmo-cli COMMAND --help" that are its own (the options every command shares are on the page already, from
# trelmo-cli --help).
set -eu
[ $# -eq 2 ] || { echo "usage: $0 TRELMO_CLI OUTPUT" >&2; exit 2; }
cli="$1"
global="$("$cli" --help)"
commands="$(printf '%s\n' "$global" | awk '/^Commands/ { list = 1; next } list && /^  [a-z]/ { print $1; next } list { exit }')"
shared="$(printf '%s\n' "$global" | awk '/^Options:/ { list = 1; next } list && /^  -/ { print $0 } /^$/ { list = 0 }')"
[ -n "$commands" ] || { echo "$0: no commands in $cli --help" >&2; exit 1; }

{
  echo "[COMMANDS]"
  for command in $commands; do
    "$cli" "$command" --help | awk -v command="$command" -v shared="$shared" '
      # roff: a backslash is written \e, a hyphen \-, and a line must not start with a dot or an apostrophe.
      function roff(text) {
          gsub(/\\/, "\\\\e", text)
          gsub(/-/, "\\\\-", text)
          return text ~ /^[.\047]/ ? "\\&" text : text
      }
      # An entry of the Options or Arguments list: the term (option names and value), the description.
      function entry(line) {
          flush()
          match(line, /^  [^ ]+( [^ ]+)*  +/)
          term = substr(line, 3, RLENGTH - 2)
          sub(/ +$/, "", term)
          text = substr(line, RLENGTH + 1)
      }
      function flush() {
          if (term != "" && !skip(term)) {
              if (section == "Options")
                  printf ".TP\n\\fB%s\\fR%s\n%s\n", roff(substr(term, 1, index(term " ", " ") - 1)),
                         roff(substr(term, index(term " ", " "))), roff(text)
              else
                  printf ".TP\n\\fI%s\\fR\n%s\n", roff(term), roff(text)
          }
          term = ""
      }
      # Options shared by every command, and the command word itself.
      function skip(term,    name) {
          if (section == "Arguments")
              return term == command
          name = term
          sub(/ .*/, "", name)
          return index("\n" shared "\n", "\n  " name " ") > 0 || index("\n" shared "\n", "\n  " name ",") > 0
      }
      NR == 1 {
          sub(/^Usage: +[^ ]+/, "trelmo-cli")
          printf ".SS \"%s\"\n", roff($0)
          next
      }
      /^(Options|Arguments):$/ { flush(); section = substr($0, 1, length($0) - 1); next }
      /^$/ { flush(); next }
      section != "" && /^  [^ ]/ { entry($0); next }
      section != "" && /^   +[^ ]/ { sub(/^ +/, ""); text = text " " $0; next }
      section == "" { print roff($0) }
      END { flush() }
    '
  done
} >"$2"
