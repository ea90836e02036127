#!/usr/bin/env python3
"""Tests of scripts/check_includes.py on small source trees written for each case."""

import os
import shutil
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import check_includes  # noqa: E402


class IncludeCycles(unittest.TestCase):
    def tree(self, files):
        root = tempfile.mkdtemp()
        self.addCleanup(shutil.rmtree, root)
        for path, includes in files.items():
            os.makedirs(os.path.join(root, os.path.dirname(path)), exist_ok=True)
            with open(os.path.join(root, path), "w", encoding="utf-8") as text:
                text.write("".join(f'#include "{name}"\n' for name in includes))
                text.write("#include <QString>\n")
        return root

    def cycles(self, files):
        edges = check_includes.include_edges(self.tree(files))
        return check_includes.strongly_connected(edges)

    def test_two_files_that_include_each_others_headers_are_a_cycle(self):
        found = self.cycles({
            "app/a.h": [], "app/a.cpp": ["app/a.h", "app/b.h"],
            "app/b.h": [], "app/b.cpp": ["app/b.h", "app/a.h"],
        })
        self.assertEqual(found, [["app/a", "app/b"]])

    def test_a_longer_ring_and_a_folder_relative_include_are_found(self):
        found = self.cycles({
            "lib/x.h": ["y.h"], "lib/y.h": [], "lib/y.cpp": ["lib/z.h"],
            "lib/z.h": [], "lib/z.cpp": ["x.h"], "lib/free.cpp": ["lib/x.h"],
        })
        self.assertEqual(found, [["lib/x", "lib/y", "lib/z"]])

    def test_one_way_includes_a_files_own_header_and_build_trees_are_no_cycle(self):
        found = self.cycles({
            "top/form.h": ["low/part.h"], "top/form.cpp": ["top/form.h", "low/part.h"],
            "low/part.h": [], "low/part.cpp": ["low/part.h", "missing/elsewhere.h"],
            # A generated copy in a build tree must not count as a source.
            "build-x/low/part.cpp": ["top/form.h"],
        })
        self.assertEqual(found, [])

    def test_the_report_names_the_include_lines_and_the_exit_code_fails(self):
        root = self.tree({"a/p.h": ["a/q.h"], "a/q.h": ["a/p.h"]})
        edges = check_includes.include_edges(root)
        text = check_includes.describe(check_includes.strongly_connected(edges)[0], edges)
        self.assertIn("a/p.h includes a/q.h", text)
        self.assertIn("a/q.h includes a/p.h", text)
        self.assertEqual(check_includes.main(["check", root]), 1)
        self.assertEqual(check_includes.main(["check", self.tree({"a/p.h": ["a/q.h"], "a/q.h": []})]), 0)


class InternalHeaders(unittest.TestCase):
    tree = IncludeCycles.tree

    def test_only_the_owning_folder_and_its_tests_reach_an_internal_header(self):
        root = self.tree({
            "lib/internal/part.h": [], "lib/front.cpp": ["lib/internal/part.h"],
            "lib/tests/part_test.cpp": ["lib/internal/part.h"],
            "app/main.cpp": ["lib/internal/part.h", "lib/front.h"], "lib/front.h": [],
            "bench/internal/own.h": [], "bench/run.cpp": ["bench/internal/own.h"],
            "fuzz/part_fuzz.cpp": ["lib/internal/part.h"],
        })
        edges = check_includes.include_edges(root)
        self.assertEqual(check_includes.internal_intrusions(edges), [("app/main.cpp", "lib/internal/part.h")])
        self.assertEqual(check_includes.main(["check", root]), 1)


if __name__ == "__main__":
    unittest.main()
