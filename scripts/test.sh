#!/usr/bin/env bash
# Builds everything and runs every test: native unit tests, the same under
# AddressSanitizer/UBSan, the Win32 adapter tests and the end-to-end tests under Wine.
# Ends with one line "N passed, N skipped, N failed"; Windows tests that passed only on
# their second run are named above it.
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/setup.sh" || exit 1
log="$root/build/test-logs"
mkdir -p "$log"
passed=0; skipped=0; failed=0; second_runs=()

run_ctest() {  # name, build dir, extra ctest args
  local name="$1" dir="$2"; shift 2
  (cd "$dir" && ctest --output-on-failure "$@") 2>&1 | tee "$log/$name.log"
  local line
  line="$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log/$name.log" | tail -1)"
  if [ -z "$line" ]; then failed=$((failed + 1)); return; fi
  local total fail skip
  total="$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")"
  fail="$(sed -E 's/.* ([0-9]+) tests? failed.*/\1/' <<<"$line")"
  # ctest counts a skipped test among those that did not fail; it lists it as "(Skipped)".
  skip="$(grep -cE '^[[:space:]]+[0-9]+ - .* \(Skipped\)$' "$log/$name.log")"
  passed=$((passed + total - fail - skip)); skipped=$((skipped + skip)); failed=$((failed + fail))
  # A test with a failed attempt that still counts as passed passed on its second run.
  local retried
  while read -r retried; do
    [ -n "$retried" ] && second_runs+=("$retried")
  done < <(grep -oE 'Test +#[0-9]+: [^ ]+ \.+\*\*\*(Failed|Timeout|Exception)' "$log/$name.log" |
           sed -E 's/Test +#[0-9]+: ([^ ]+) .*/\1/' | sort -u |
           while read -r test; do
             grep -qE "Test +#[0-9]+: $test \.+ +Passed" "$log/$name.log" && echo "$test"
           done)
}

build_or_fail() {
  if ! "$root/scripts/build.sh" "$1"; then echo "build $1 failed"; failed=$((failed + 1)); return 1; fi
}

if build_or_fail native; then
  run_ctest native "$root/build/native" -j"$(nproc)"
fi
if build_or_fail asan; then
  run_ctest asan "$root/build/asan" -j"$(nproc)"
fi
if build_or_fail win; then
  "$root/scripts/wine-template.sh" "$root/build/wine-template"
  # Real pointer input under Wine on a loaded machine can still lose a race with the
  # display server; a Windows test that fails runs once more, and the log keeps both runs.
  run_ctest win "$root/build/win" -j"$(nproc)" --repeat until-pass:2
fi
if ((${#second_runs[@]})); then
  echo "${#second_runs[@]} passed only on their second run: ${second_runs[*]}"
fi
echo "$passed passed, $skipped skipped, $failed failed"
[ "$failed" -eq 0 ]
