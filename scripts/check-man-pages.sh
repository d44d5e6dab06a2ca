#!/bin/sh
# Fails when groff has anything to say about a manual page: it reports
# warnings on standard error but still exits with 0.
cd "$(dirname "$0")/.."
status=0
for page in docs/man/*.1; do
  warnings=$(groff -man -ww -z "$page" 2>&1)
  if [ -n "$warnings" ]; then
    printf '%s\n' "$warnings"
    status=1
  fi
done
exit $status
