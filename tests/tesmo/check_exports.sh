#!/usr/bin/env bash
# The shared library exports exactly the functions its header declares, under
# their plain names, and nothing else.
set -euo pipefail
lib=$1 header=$2 expected_count=$3

declared=$(grep -oE 'TESMO_CALL [A-Za-z_0-9]+\(' "$header" | sed -E 's/TESMO_CALL //; s/\($//' | sort)
exported=$(nm -D --defined-only "$lib" | awk '$2 ~ /^[TtWwDdBbRr]$/ {print $3}' | sort)

if [ "$declared" != "$exported" ]; then
  echo "declared but not exported:"; comm -23 <(echo "$declared") <(echo "$exported")
  echo "exported but not declared:"; comm -13 <(echo "$declared") <(echo "$exported")
  exit 1
fi
count=$(echo "$exported" | wc -l)
if [ "$count" -ne "$expected_count" ]; then
  echo "expected $expected_count exports, found $count"
  exit 1
fi
echo "libtesmo exports exactly the $count declared functions"
