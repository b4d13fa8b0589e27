"""scripts/lib/test_results.py on crafted CTest results, run as scripts/lib/verdict.sh runs it."""

import json
import os
import subprocess
import sys
import tempfile
import unittest

TOOL = os.path.join(os.path.dirname(__file__), "..", "..", "scripts", "lib", "test_results.py")

JUNIT = """<?xml version="1.0" encoding="UTF-8"?>
<testsuite name="Linux" tests="3">
  <testcase name="Suite.Passes" status="run"/>
  <testcase name="Suite.Fails" status="fail"><failure message="Failed"/></testcase>
  <testcase name="Suite.Skips" status="notrun">
    <skipped message="SKIP_REGULAR_EXPRESSION_MATCHED"/>
    <system-out>a_test.cpp:12: Skipped
no server here

[  SKIPPED ] Suite.Skips (0 ms)</system-out>
  </testcase>
</testsuite>
"""


class TestResultsScriptTest(unittest.TestCase):
    def setUp(self):
        folder = tempfile.TemporaryDirectory()
        self.addCleanup(folder.cleanup)
        self.folder = folder.name
        self.records = os.path.join(self.folder, "records")

    def run_tool(self, *arguments):
        return subprocess.run([sys.executable, TOOL, *arguments], capture_output=True, text=True)

    def file(self, name, text):
        path = os.path.join(self.folder, name)
        with open(path, "w", encoding="utf-8") as file:
            file.write(text)
        return path

    def recorded(self):
        with open(self.records, encoding="utf-8") as file:
            return [json.loads(line) for line in file]

    def test_counts_passed_failed_and_skipped_tests_with_the_reason(self):
        run = self.run_tool("junit", self.records, "Linux", self.file("j.xml", JUNIT), "8")
        self.assertEqual(run.returncode, 0, run.stderr)
        self.assertIn("Suite.Skips: no server here", run.stdout)
        [record] = self.recorded()
        self.assertEqual((record["passed"], record["failed"], record["skipped"]),
                         (1, ["Suite.Fails"], 1))

    def test_a_run_without_results_is_one_failure_that_says_why(self):
        cases = {
            "missing": (os.path.join(self.folder, "none.xml"), "ctest wrote no results file"),
            "empty": (self.file("empty.xml", ""), "ctest left its results file empty"),
            "cut short": (self.file("cut.xml", "<testsuite"), "results file is not XML"),
        }
        for what, (junit, reason) in cases.items():
            with self.subTest(what):
                run = self.run_tool("junit", self.records, what, junit, "8")
                self.assertEqual(run.returncode, 0, run.stderr)
                record = self.recorded()[-1]
                self.assertEqual(record["passed"], 0)
                [failure] = record["failed"]
                self.assertIn(reason, failure)
                self.assertIn("exit status 8", failure)
                wine = self.run_tool("wine-errors", junit)
                self.assertEqual((wine.returncode, wine.stdout), (0, ""), wine.stderr)

    def test_runs_again_only_the_failures_that_wine_caused(self):
        junit = self.file("wine.xml", """<testsuite name="Wine">
  <testcase name="Suite.ClientLost" status="fail">
    <system-out>[ RUN      ] Suite.ClientLost
wine client error:0: write: Bad file descriptor</system-out></testcase>
  <testcase name="Suite.NeverStarted" status="fail"><system-out>
</system-out></testcase>
  <testcase name="Suite.Fails" status="fail">
    <system-out>[ RUN      ] Suite.Fails
a_test.cpp:3: Failure</system-out></testcase>
  <testcase name="Suite.Passes" status="run"/>
</testsuite>""")
        run = self.run_tool("wine-errors", junit)
        self.assertEqual((run.returncode, run.stdout), (0, "^(Suite\\.ClientLost|Suite\\.NeverStarted)$\n"),
                         run.stderr)

    def test_the_verdict_fails_and_names_the_failures(self):
        self.run_tool("check", self.records, "Debian package", "0")
        self.run_tool("check", self.records, "Wine set-up (the script stopped here)", "2")
        run = self.run_tool("verdict", self.records)
        self.assertEqual(run.returncode, 1)
        self.assertIn("Wine set-up (the script stopped here): FAILED (exit status 2)", run.stdout)
        self.assertIn("1 passed, 1 failed, 0 skipped", run.stdout)

    def test_a_verdict_with_nothing_recorded_fails(self):
        run = self.run_tool("verdict", self.records)
        self.assertEqual(run.returncode, 1, run.stderr)
        self.assertIn("no test run or check was recorded", run.stdout)


if __name__ == "__main__":
    unittest.main()
