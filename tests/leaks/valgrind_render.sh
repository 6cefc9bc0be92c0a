#!/usr/bin/env bash
# Runs tessaly-render under valgrind through at least one whole cycle of every scene
# kind, whole drawings and figure by figure, and fails on any leak or error.
set -u
. "$(dirname "$0")/../support/skip.sh"
valgrind=$1 render=$2
{ [ -n "$valgrind" ] && [ -x "$valgrind" ]; } || skip "valgrind is not installed"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
for build in 0 1; do
  ticks=$([ "$build" = 1 ] && echo 6000 || echo 600)
  if ! "$valgrind" --quiet --leak-check=full --show-leak-kinds=definite,indirect \
      --errors-for-leak-kinds=definite,indirect --error-exitcode=1 \
      "$render" --seed 11 --ticks "$ticks" --cycle-length 1 --build "$build" --size 320x200 \
      -o "$work/garden-$build.png" >/dev/null 2>"$work/log"; then
    echo "valgrind found a problem (build $build):"; cat "$work/log"; status=1
  fi
done
[ $status = 0 ] && echo "no leaks or memory errors over whole passes of every scene kind"
exit $status
