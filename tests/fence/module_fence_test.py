#!/usr/bin/env python3
"""The fence check on small made-up programs: it passes a program whose includes are all
declared and names the file, the line and the module of every include that is not."""

import importlib.util
import io
import os
import sys
import tempfile
import unittest

checker_source = importlib.util.spec_from_file_location(
    "check_module_fence", os.path.join(sys.argv.pop(1) if len(sys.argv) > 1 else "scripts", "check-module-fence.py")
)
fence = importlib.util.module_from_spec(checker_source)
checker_source.loader.exec_module(fence)


class Program:
    """A source tree, a fake Qt include folder and the module list the build would write."""

    def __init__(self, root):
        self.root = root
        self.src = os.path.join(root, "src")
        self.qt = os.path.join(root, "qt")
        self.lines = {}  # module name -> its line
        for folder, header in (("QtCore", "QTimer"), ("QtWidgets", "QWidget")):
            self.write(os.path.join(self.qt, folder, header), "")

    @staticmethod
    def write(path, text):
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "w", encoding="utf-8") as f:
            f.write(text)

    def file(self, name, *includes):
        path = os.path.join(self.src, name)
        self.write(path, "".join(f"#include {i}\n" for i in includes) + "int x;\n")
        return path

    def module(self, name, files, public=(), private=(), qt=False):
        paths = [os.path.join(self.src, f) for f in files]
        self.lines[name] = f"{name}|{'qt' if qt else 'logic'}|{';'.join(paths)}|{';'.join(public)}|{';'.join(private)}"

    def check(self):
        listing = os.path.join(self.root, "modules.txt")
        self.write(listing, "# name|kind|files|public deps|private deps\n" + "\n".join(self.lines.values()) + "\n")
        return fence.check(fence.read_module_list(listing), self.src, self.qt, out=io.StringIO())


class ModuleFence(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.p = Program(self.tmp.name)
        p = self.p
        # core <- log (public: its header includes core) <- report (private)
        p.file("core/Text.h", "<string>")
        p.file("core/Text.cpp", '"core/Text.h"')
        p.file("log/Log.h", '"core/Text.h"')
        p.file("log/Log.cpp", '"log/Log.h"', '"Log.h"')
        p.module("core", ["core/Text.cpp", "core/Text.h"])
        p.module("log", ["log/Log.cpp", "log/Log.h"], public=["core"])

    def tearDown(self):
        self.tmp.cleanup()

    def test_declared_includes_pass_and_what_a_dependency_passes_on_does_not_count(self):
        p = self.p
        p.file("report/Report.cpp", '"log/Log.h"', "<vector>")
        p.module("report", ["report/Report.cpp"], private=["log"])
        self.assertEqual(p.check(), [])

        # core reaches report's compile through log's public dependency, but report never named it.
        p.file("report/Report.cpp", '"log/Log.h"', '"core/Text.h"')
        faults = p.check()
        self.assertEqual(len(faults), 1, faults)
        self.assertIn("src/report/Report.cpp:2", faults[0])
        self.assertIn("core/Text.h of core, which report does not declare", faults[0])

    def test_public_and_private_follow_what_the_headers_include(self):
        p = self.p
        p.file("report/Report.h", '"log/Log.h"')
        p.file("report/Report.cpp", '"report/Report.h"')
        p.module("report", ["report/Report.cpp", "report/Report.h"], private=["log"])
        faults = p.check()
        self.assertEqual(len(faults), 1, faults)
        self.assertIn("src/report/Report.h:1", faults[0])
        self.assertIn("must declare log under PUBLIC_DEPS", faults[0])

        p.module("report", ["report/Report.cpp", "report/Report.h"], public=["core", "log"])
        faults = p.check()
        self.assertEqual(len(faults), 1, faults)
        self.assertIn("report: PUBLIC_DEPS names core, which none of its headers includes", faults[0])

    def test_qt_headers_by_their_library_and_never_in_logic(self):
        p = self.p
        p.file("log/Clock.cpp", "<QTimer>")
        p.file("log/ui/Window.h", "<QWidget>", "<QTimer>")
        p.file("log/ui/Window.cpp", '"log/ui/Window.h"', '"Hidden.h"')
        p.file("log/ui/Hidden.h")
        p.module("log_clock", ["log/Clock.cpp"])
        p.module("log_ui", ["log/ui/Window.cpp", "log/ui/Window.h"], qt=True)
        faults = sorted(p.check())
        self.assertEqual(len(faults), 3, faults)
        self.assertIn("src/log/Clock.cpp:1: includes <QTimer> of Qt6::Core, but log_clock is a logic module", faults[0])
        self.assertIn('src/log/ui/Window.cpp:2: includes "Hidden.h", which is a header of no module', faults[1])
        self.assertIn("src/log/ui/Window.h:1: includes QWidget of Qt6::Widgets, which log_ui does not declare", faults[2])

        p.file("log/Clock.cpp", "<vector>")
        p.file("log/ui/Window.cpp", '"log/ui/Window.h"')
        p.module("log_ui", ["log/ui/Window.cpp", "log/ui/Window.h"], public=["Qt6::Widgets"], qt=True)
        self.assertEqual(p.check(), [])


if __name__ == "__main__":
    unittest.main(verbosity=2)
