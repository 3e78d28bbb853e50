# The running sum of a test run, from each tier's own closing line. Source it;
# tally_summary and tally_ctest add a tier's counts to passed and failed.
passed=0
failed=0

# Adds the counts of the last "<prefix>: N passed, M failed" line of a log.
tally_summary() {
  local out="$1" prefix="$2" line
  line=$(grep -E "^$prefix: [0-9]+ passed, [0-9]+ failed" "$out" | tail -1)
  if [ -z "$line" ]; then
    echo "test: $prefix ran no test" >&2
    failed=$((failed + 1))
    return
  fi
  line=${line##*: }
  passed=$((passed + ${line%% passed*}))
  line=${line##*, }
  failed=$((failed + ${line%% failed*}))
}

# Adds the counts of CTest's "... tests failed out of N" line of a log.
tally_ctest() {
  local out="$1" total bad
  total=$(grep -Eo 'tests failed out of [0-9]+' "$out" | grep -Eo '[0-9]+$' | tail -1)
  bad=$(grep -Eo '[0-9]+ tests failed out of' "$out" | grep -Eo '^[0-9]+' | tail -1)
  if [ -z "$total" ]; then
    echo "test: $2 ran no test" >&2
    failed=$((failed + 1))
    return
  fi
  passed=$((passed + total - bad))
  failed=$((failed + bad))
}
