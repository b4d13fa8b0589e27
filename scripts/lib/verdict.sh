# The closing verdict of scripts/test and scripts/windows: every test run and check is recorded
# instead of ending the script when it fails, and the script that started the record prints one
# line per run and check, then "N passed, M failed, K skipped". A step that ends the script
# early (a build, the Wine set-up, a server that does not start) is recorded under its own name
# by end_early. Sourced by those scripts.

verdict_tool=$(dirname "${BASH_SOURCE[0]}")/test_results.py
verdict_owner=""
current_step=""

# begin_verdict FOLDER: records into FOLDER, unless a calling script records already.
begin_verdict() {
  [ -n "${MV_TEST_RESULTS:-}" ] && return 0
  mkdir -p "$1"
  export MV_TEST_RESULTS=$1
  verdict_owner=yes
}

# run_ctest LABEL [CTEST_OPTION]...: runs ctest in the current folder; lists the skipped tests
# with their reasons. With MV_RERUN_ON_WINE_ERROR set, a test that failed because Wine failed
# it (its client lost its server, "wine client error", or the program printed nothing at all)
# runs once more, and that second result counts; the verdict names every such test.
run_ctest() {
  local label=$1 junit rerun_junit="" status=0 rerun_status=0 rerun_names
  shift
  junit=$(mktemp "$MV_TEST_RESULTS/junit.XXXXXX.xml")
  ctest --output-junit "$junit" "$@" || status=$?
  if [ "$status" != 0 ] && [ -n "${MV_RERUN_ON_WINE_ERROR:-}" ]; then
    rerun_names=$(python3 "$verdict_tool" wine-errors "$junit")
    if [ -n "$rerun_names" ]; then
      echo "=== Once more, after Wine failed them: $rerun_names ==="
      rerun_junit=$(mktemp "$MV_TEST_RESULTS/junit.XXXXXX.xml")
      ctest --output-junit "$rerun_junit" "$@" -R "$rerun_names" || rerun_status=$?
    fi
  fi
  python3 "$verdict_tool" junit "$MV_TEST_RESULTS/records" "$label" "$junit" "$status" \
    ${rerun_junit:+"$rerun_junit" "$rerun_status"}
}

# run_check LABEL COMMAND [ARGUMENT]...: a check that passes when COMMAND succeeds.
run_check() {
  local label=$1 status=0
  shift
  "$@" || status=$?
  record_check "$label" "$status"
}

# record_check LABEL STATUS
record_check() {
  python3 "$verdict_tool" check "$MV_TEST_RESULTS/records" "$1" "$2"
}

# begin_step LABEL: prints LABEL as the heading of the step that starts now, which end_early
# names if the script ends before the next step.
begin_step() {
  current_step=$1
  echo "=== $1 ==="
}

# end_early STATUS: for the script's EXIT trap. When the script ends with a failure before
# end_verdict, records the step that was running as failed and, in the recording script,
# prints the verdict.
end_early() {
  local status=$1
  [ "$status" -ne 0 ] && [ -n "$current_step" ] && [ -n "${MV_TEST_RESULTS:-}" ] || return 0
  record_check "$current_step (the script stopped here)" "$status" || true
  end_verdict || true
}

# end_verdict: the recording script prints the verdict and fails when anything failed.
end_verdict() {
  current_step=""
  [ -n "$verdict_owner" ] || return 0
  python3 "$verdict_tool" verdict "$MV_TEST_RESULTS/records"
}
