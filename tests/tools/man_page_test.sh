#!/bin/sh
# The tool's manual page names every command and every option its own help
# lists, so the two cannot drift apart unnoticed.
# usage: man_page_test.sh TOOL MANPAGE
tool=$1
page=$(sed 's/\\-/-/g' "$2")
status=0
commands=$("$tool" help | sed -n 's/^  \([a-z][a-z-]*\) .*/\1/p')
[ -n "$commands" ] || { echo "no commands in the tool's help"; exit 1; }
for command in $commands; do
  printf '%s\n' "$page" | grep -q "^\.B.* $command\b\|^\.B $command$" || { echo "command missing: $command"; status=1; }
  [ "$command" = help ] && continue
  for option in $("$tool" help "$command" | grep -o -- '--[a-z][a-z-]*' | sort -u); do
    printf '%s\n' "$page" | grep -q -- "$option" || { echo "option missing: $command $option"; status=1; }
  done
done
exit $status
