"""Makes the panel builders' package with CPack and checks what is in it.

usage: package_contents.py CPACK BUILD_DIR VERSION
"""
import pathlib
import subprocess
import sys
import tempfile
import unittest
import zipfile

CPACK, BUILD_DIR, VERSION = sys.argv[1:4]
BUILD = pathlib.Path(BUILD_DIR)


class package_contents(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.scratch = tempfile.TemporaryDirectory()
        subprocess.run([CPACK, "--config", str(BUILD / "CPackConfig.cmake"), "-B", cls.scratch.name],
                       check=True, capture_output=True)
        cls.package = zipfile.ZipFile(pathlib.Path(cls.scratch.name) / f"panel_dimmer-{VERSION}.zip")

    @classmethod
    def tearDownClass(cls):
        cls.package.close()
        cls.scratch.cleanup()

    def text(self, name):
        return self.package.read(name).decode("ascii")

    def test_files_lie_in_the_simulators_folders(self):
        files = sorted(name for name in self.package.namelist() if not name.endswith("/"))
        self.assertEqual(files, ["Click sound/click.wav", "Gauges/panel_dimmer.gau", "LICENSE.txt", "README.txt"])

    def test_gauge_and_click_are_the_ones_built(self):
        self.assertEqual(self.package.read("Gauges/panel_dimmer.gau"), (BUILD / "panel_dimmer.gau").read_bytes())
        self.assertEqual(self.package.read("Click sound/click.wav"), (BUILD / "click.wav").read_bytes())

    def test_texts_have_windows_line_ends(self):
        for name in ("README.txt", "LICENSE.txt"):
            text = self.text(name)
            self.assertIn("\r\n", text, name)
            self.assertEqual(text.count("\n"), text.count("\r\n"), f"{name} has a line end without CR")

    def test_readme_tells_a_panel_builder_what_to_know(self):
        readme = self.text("README.txt")
        for needed in (VERSION, "gauge05=panel_dimmer!6 position panel dimmer - by Orlicet,", '"ligar"',
                       "0x000100D6", "0x00010208",
                       r"HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Microsoft Games\Flight Simulator\7.0",
                       "Removing", "only if", "MIT licence",
                       "DirectX 7", "11,025 to 48,000 Hz", "WAVE_FORMAT_EXTENSIBLE"):
            self.assertIn(needed, readme)

    def test_licence_is_mit(self):
        self.assertTrue(self.text("LICENSE.txt").startswith("MIT License\r\n"))


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
