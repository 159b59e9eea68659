#!/bin/sh
# run_cli.sh STATUS PATTERN TOOL ARGS... : runs TOOL ARGS, shows its output, and
# passes when it exits with STATUS and a line of its output matches PATTERN.
expected=$1 pattern=$2 tool=$3
shift 3
output=$("$tool" "$@" 2>&1)
status=$?
printf '%s\n' "$output"
if [ "$status" -ne "$expected" ]; then
  echo "run_cli: exit status $status, expected $expected"
  exit 1
fi
printf '%s\n' "$output" | grep -Eq -- "$pattern" || { echo "run_cli: no line matches: $pattern"; exit 1; }
