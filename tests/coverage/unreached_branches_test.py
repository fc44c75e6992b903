"""The coverage check fails exactly when a branch is neither reached nor listed."""
import io
import json
import os
import sys
import tempfile
import unittest
from contextlib import redirect_stdout

sys.path.insert(0, os.path.dirname(__file__))
import unreached_branches  # noqa: E402


def report(*lines):
    """A gcovr JSON report: (file, line, branch counts) for each line."""
    files = {}
    for file, number, counts in lines:
        files.setdefault(file, []).append(
            {"line_number": number, "count": 1, "branches": [{"count": c} for c in counts]})
    return {"files": [{"file": f, "lines": l} for f, l in files.items()]}


def doc(*rows, section=unreached_branches.SECTION):
    return "\n".join(["# Hardening", "", section, "", "| Branch | Unreached | Why |", "|---|---|---|",
                      *rows, "", "## Next section", "| `sound/x.cpp:1` | 1 | elsewhere |"])


class check(unittest.TestCase):
    def test_passes_only_when_every_unreached_branch_is_listed_with_its_count(self):
        one_missed = report(("sound/wave_file.cpp", 24, [3, 0]), ("gauge/knob_state.cpp", 5, [1, 1]))
        row = "| `sound/wave_file.cpp:24` | 1 | the platform never fails it |"
        cases = [
            ("every branch reached, nothing listed", report(("sound/a.cpp", 1, [1, 2])), doc(), 0),
            ("unreached and listed", one_missed, doc(row), 0),
            ("unreached, not listed", one_missed, doc(), 1),
            ("listed only in another section", one_missed, doc(section="## Other"), 1),
            ("a second branch of a listed line unreached",
             report(("sound/wave_file.cpp", 24, [0, 0])), doc(row), 1),
            ("listed but reached now", report(("sound/wave_file.cpp", 24, [1, 1])), doc(row), 1),
            ("outside gauge/ and sound/", report(("module/dll_entry.cpp", 5, [0, 1])), doc(), 0),
        ]
        for name, coverage, text, expected in cases:
            with self.subTest(name), tempfile.TemporaryDirectory() as folder:
                report_path = os.path.join(folder, "coverage.json")
                doc_path = os.path.join(folder, "hardening.md")
                with open(report_path, "w") as f:
                    json.dump(coverage, f)
                with open(doc_path, "w") as f:
                    f.write(text)
                with redirect_stdout(io.StringIO()) as out:
                    self.assertEqual(unreached_branches.main(report_path, doc_path), expected, out.getvalue())
                if expected:
                    self.assertIn("coverage: sound/wave_file.cpp:24", out.getvalue())


if __name__ == "__main__":
    unittest.main()
