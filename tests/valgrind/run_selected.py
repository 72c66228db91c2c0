"""Runs a GoogleTest program under a checker with a test filter, and fails
unless every pattern of the filter picked at least one test that ran.

A gtest filter that matches nothing runs "0 tests" and passes, so a renamed
test would leave its memory check green without having looked at anything.

    run_selected.py --filter 'A.*:B.C' -- valgrind ... ./tests
"""

import argparse
import fnmatch
import json
import subprocess
import sys
import tempfile
from pathlib import Path


def ran_tests(report: Path) -> list[str]:
    """Full names of the tests that ran to their end (skipped ones did not)."""
    data = json.loads(report.read_text())
    return [f"{suite['name']}.{test['name']}"
            for suite in data.get("testsuites", [])
            for test in suite.get("testsuite", [])
            if test.get("status") == "RUN" and test.get("result") == "COMPLETED"]


def main() -> int:
    parser = argparse.ArgumentParser()
    parser.add_argument("--filter", required=True, help="positive gtest patterns joined by ':'")
    parser.add_argument("command", nargs=argparse.REMAINDER, help="-- the checker and the tests")
    args = parser.parse_args()
    command = args.command[1:] if args.command[:1] == ["--"] else args.command
    if not command:
        parser.error("no command to run")

    with tempfile.TemporaryDirectory(prefix="vomba-selected-") as folder:
        report = Path(folder) / "report.json"
        code = subprocess.call([*command, f"--gtest_filter={args.filter}",
                                f"--gtest_output=json:{report}"])
        if code != 0:
            print(f"run_selected: the run ended with {code}", flush=True)
            return code
        if not report.exists():
            print(f"run_selected: the tests wrote no report to {report}", flush=True)
            return 1
        ran = ran_tests(report)

    missing = [pattern for pattern in args.filter.split(":")
               if not any(fnmatch.fnmatchcase(name, pattern) for name in ran)]
    print(f"run_selected: {len(ran)} tests ran to their end", flush=True)
    if missing:
        print(f"run_selected: no test ran for {', '.join(missing)}: a filter that picks "
              f"nothing checks nothing", flush=True)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
