"""Every branch of gauge/ and sound/ is reached, or named with its reason.

unreached_branches.py COVERAGE_JSON DOC: compares the branches that gcovr's
JSON report (scripts/coverage.sh) shows unreached with the table of DOC's
section "Branches the suite does not reach", whose rows begin
| `FILE:LINE` | UNREACHED | ...
Fails, naming each, on an unreached branch the table does not list and on a
row whose branches are now reached; prints the rows the table should have.
"""
import json
import re
import sys

CHECKED_FOLDERS = ("gauge/", "sound/")
SECTION = "## Branches the suite does not reach"
ROW = re.compile(r"^\| `([^`:]+):(\d+)` \| (\d+) \|")


def unreached_in_report(report):
    """{(file, line): count of branches never taken} for the checked folders."""
    unreached = {}
    for source in report["files"]:
        if not source["file"].startswith(CHECKED_FOLDERS):
            continue
        for line in source["lines"]:
            missed = sum(1 for branch in line["branches"] if branch["count"] == 0)
            if missed:
                unreached[(source["file"], line["line_number"])] = missed
    return unreached


def listed_in_doc(text):
    """{(file, line): count} from the rows of the doc's section."""
    listed = {}
    in_section = False
    for row in text.splitlines():
        if row.startswith("## "):
            in_section = row.strip() == SECTION
        elif in_section and (match := ROW.match(row)):
            listed[(match[1], int(match[2]))] = int(match[3])
    return listed


def differences(unreached, listed):
    """One line for each branch that is neither reached nor listed, and each stale row."""
    found = []
    for place in sorted(unreached.keys() | listed.keys()):
        where = f"{place[0]}:{place[1]}"
        missed, named = unreached.get(place, 0), listed.get(place, 0)
        if missed > named:
            found.append(f"{where}: {missed} branch(es) unreached, {named} listed with a reason")
        elif missed < named:
            found.append(f"{where}: listed with {named} unreached branch(es), but {missed} are: "
                         "update the row")
    return found


def main(report_path, doc_path):
    with open(report_path) as report_file:
        unreached = unreached_in_report(json.load(report_file))
    with open(doc_path) as doc:
        listed = listed_in_doc(doc.read())
    found = differences(unreached, listed)
    for line in found:
        print(f"coverage: {line}")
    if found:
        print(f"The rows {doc_path} should have (each with its reason):")
        for (file, line), missed in sorted(unreached.items()):
            print(f"| `{file}:{line}` | {missed} | ... |")
        return 1
    print(f"coverage: every branch of {', '.join(CHECKED_FOLDERS)} reached or listed"
          f" ({sum(unreached.values())} listed in {doc_path})")
    return 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
