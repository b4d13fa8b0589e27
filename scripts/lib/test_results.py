#!/usr/bin/env python3
"""Collects the results of the test runs and checks of scripts/test and prints its verdict.

Each run or check adds one record (a JSON line) to RESULTS:
  junit RESULTS LABEL JUNIT CTEST_STATUS  a ctest run, from its --output-junit file; lists
                                          the skipped tests with GoogleTest's reason
  check RESULTS LABEL STATUS              a check that passed when its exit STATUS is 0
  verdict RESULTS                         one line per record, then "N passed, M failed,
                                          K skipped"; exit status 1 when anything failed
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


def skip_reason(output):
    match = SKIP_REASON.search(output.replace("\r", ""))
    reason = " ".join(match.group(1).split()) if match else ""
    return reason or "no reason given"


def read_junit(path):
    """Answers (passed, failed names, [(skipped name, reason)]) of a CTest JUnit file."""
    passed, failed, skipped = 0, [], []
    for case in ElementTree.parse(path).getroot().iter("testcase"):
        name, status = case.get("name"), case.get("status")
        skip = case.find("skipped")
        if status == "run":
            passed += 1
        elif status == "notrun" and skip is not None and skip.get("message") == SKIPPED_BY_TEST:
            skipped.append((name, skip_reason(case.findtext("system-out", ""))))
        elif status == "disabled":
            skipped.append((name, "disabled in CTest"))
        else:
            failed.append(name)
    return passed, failed, skipped


def add(results, record):
    with open(results, "a", encoding="utf-8") as file:
        file.write(json.dumps(record) + "\n")


def add_junit(results, label, junit, ctest_status):
    try:
        passed, failed, skipped = read_junit(junit)
    except (OSError, ElementTree.ParseError) as error:
        passed, failed, skipped = 0, [f"no test results ({error})"], []
    if ctest_status != "0" and not failed:
        failed.append(f"ctest ended with exit status {ctest_status}")
    print(f"{label}: {len(skipped)} skipped" + (":" if skipped else ""))
    for name, reason in skipped:
        print(f"  {name}: {reason}")
    add(results, {"label": label, "passed": passed, "failed": failed, "skipped": len(skipped)})


def add_check(results, label, status):
    add(results, {"label": label, "check": True, "passed": int(status == "0"),
                  "failed": [] if status == "0" else [label]})


def describe(record):
    if record.get("check"):
        return "passed" if record["passed"] else "FAILED"
    failed = record["failed"]
    text = f"{record['passed']} passed, {len(failed)} failed"
    if failed:
        shown = ", ".join(failed[:5]) + (", ..." if len(failed) > 5 else "")
        text += f" ({shown})"
    return text + f", {record['skipped']} skipped"


def verdict(results):
    with open(results, encoding="utf-8") as file:
        records = [json.loads(line) for line in file]
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
    elif command == "verdict":
        return verdict(results)
    else:
        raise SystemExit(f"unknown command {command}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
