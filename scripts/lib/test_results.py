#!/usr/bin/env python3
"""Collects the results of the test runs and checks of scripts/test and prints its verdict.

Each run or check adds one record (a JSON line) to RESULTS:
  junit RESULTS LABEL JUNIT CTEST_STATUS [RERUN_JUNIT RERUN_STATUS]
                                          a ctest run, from its --output-junit file; lists
                                          the skipped tests with GoogleTest's reason; the
                                          tests of RERUN_JUNIT count with their second result;
                                          a JUNIT file missing or empty (ctest ended before
                                          its tests ran) is one failure that says so
  wine-errors JUNIT                       prints a ctest -R expression for the failed tests
                                          whose output shows that Wine failed them
  check RESULTS LABEL STATUS              a check that passed when its exit STATUS is 0
  verdict RESULTS                         one line per record, then "N passed, M failed,
                                          K skipped"; exit status 1 when anything failed
                                          or nothing was recorded
"""

import json
import re
import sys
import xml.etree.ElementTree as ElementTree

# CTest marks a test skipped when GoogleTest's output matched the test's skip expression;
# any other test that did not run (its program missing, say) failed.
SKIPPED_BY_TEST = "SKIP_REGULAR_EXPRESSION_MATCHED"
# GoogleTest writes "FILE:LINE: Skipped", the GTEST_SKIP() message, then "[  SKIPPED ] NAME".
SKIP_REASON = re.compile(r"^[^\n]*: Skipped\n(.*?)\n?\[  SKIPPED \]", re.MULTILINE | re.DOTALL)
# Printed by a Wine program whose link to the wineserver broke: Wine's failure, not the test's.
WINE_CLIENT_ERROR = "wine client error:"


def wine_failed_it(output):
    """Whether a failed test's output shows that Wine, not the test, failed: Wine's client
    lost its server, or the program printed nothing at all (a GoogleTest program prints its
    banner first thing, so Wine never got it to its main)."""
    return WINE_CLIENT_ERROR in output or not output.strip()


def skip_reason(output):
    match = SKIP_REASON.search(output.replace("\r", ""))
    reason = " ".join(match.group(1).split()) if match else ""
    return reason or "no reason given"


class NoResults(Exception):
    """A CTest JUnit file that is missing, empty or not XML: ctest ended before it ran a test
    (a test program that could not list its tests, say)."""


def junit_root(path):
    try:
        with open(path, "rb") as file:
            text = file.read()
    except OSError as error:
        raise NoResults(f"ctest wrote no results file ({error.strerror}: {path})") from error
    if not text.strip():
        raise NoResults("ctest left its results file empty")
    try:
        return ElementTree.fromstring(text)
    except ElementTree.ParseError as error:
        raise NoResults(f"ctest's results file is not XML ({error})") from error


def outcomes(path):
    """Answers {name: ("passed" | "failed" | skip reason, output)} of a CTest JUnit file;
    raises NoResults when it has none."""
    answer = {}
    for case in junit_root(path).iter("testcase"):
        status, output = case.get("status"), case.findtext("system-out", "")
        skip = case.find("skipped")
        if status == "run":
            outcome = "passed"
        elif status == "notrun" and skip is not None and skip.get("message") == SKIPPED_BY_TEST:
            outcome = "skipped: " + skip_reason(output)
        elif status == "disabled":
            outcome = "skipped: disabled in CTest"
        else:
            outcome = "failed"
        answer[case.get("name")] = (outcome, output)
    return answer


def wine_errors(junit):
    try:
        found = outcomes(junit)
    except NoResults:
        return  # no test ran: none to run again
    names = [name for name, (outcome, output) in found.items()
             if outcome == "failed" and wine_failed_it(output)]
    if names:
        print("^(" + "|".join(re.escape(name) for name in names) + ")$")


def add(results, record):
    with open(results, "a", encoding="utf-8") as file:
        file.write(json.dumps(record) + "\n")


def outcomes_or_failure(junit, ctest_status):
    """The outcomes of a JUnit file; for one without results, a failure that says why."""
    try:
        return outcomes(junit)
    except NoResults as error:
        return {f"no test results: {error}; ctest's exit status {ctest_status}": ("failed", "")}


def add_junit(results, label, junit, ctest_status, rerun_junit=None, rerun_status="0"):
    found = outcomes_or_failure(junit, ctest_status)
    rerun = {}
    if rerun_junit:
        rerun = outcomes_or_failure(rerun_junit, rerun_status)
        found.update(rerun)
        ctest_status = rerun_status
    failed = [name for name, (outcome, _) in found.items() if outcome == "failed"]
    skipped = [(name, outcome[len("skipped: "):]) for name, (outcome, _) in found.items()
               if outcome.startswith("skipped: ")]
    if ctest_status != "0" and not failed:
        failed.append(f"ctest ended with exit status {ctest_status}")
    print(f"{label}: {len(skipped)} skipped" + (":" if skipped else ""))
    for name, reason in skipped:
        print(f"  {name}: {reason}")
    passed = sum(outcome == "passed" for outcome, _ in found.values())
    add(results, {"label": label, "passed": passed, "failed": failed, "skipped": len(skipped),
                  "rerun": sorted(rerun)})


def add_check(results, label, status):
    add(results, {"label": label, "check": True, "passed": int(status == "0"),
                  "failed": [] if status == "0" else [label], "status": status})


def describe(record):
    if record.get("check"):
        return "passed" if record["passed"] else f"FAILED (exit status {record['status']})"
    failed = record["failed"]
    text = f"{record['passed']} passed, {len(failed)} failed"
    if failed:
        shown = ", ".join(failed[:5]) + (", ..." if len(failed) > 5 else "")
        text += f" ({shown})"
    text += f", {record['skipped']} skipped"
    if record.get("rerun"):
        text += f"; run again after Wine failed them: {', '.join(record['rerun'])}"
    return text


def verdict(results):
    try:
        with open(results, encoding="utf-8") as file:
            records = [json.loads(line) for line in file if line.strip()]
    except FileNotFoundError:
        records = []
    if not records:
        print("=== Verdict ===\nno test run or check was recorded")
        return 1
    width = max(len(record["label"]) for record in records)
    print("=== Verdict ===")
    for record in records:
        print(f"{record['label'] + ':':<{width + 1}} {describe(record)}")
    passed = sum(record["passed"] for record in records)
    failed = sum(len(record["failed"]) for record in records)
    skipped = sum(record.get("skipped", 0) for record in records)
    print(f"{passed} passed, {failed} failed, {skipped} skipped")
    return 1 if failed else 0


def main(arguments):
    command, results, *rest = arguments
    if command == "junit":
        add_junit(results, *rest)
    elif command == "check":
        add_check(results, *rest)
    elif command == "wine-errors":
        wine_errors(results)
    elif command == "verdict":
        return verdict(results)
    else:
        raise SystemExit(f"unknown command {command}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
