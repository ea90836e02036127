#!/usr/bin/env python3
"""Checks that no two source files depend on each other through their #include lines, and that a
folder's internal headers are included only from inside that folder.

A module is a header with its source files (player/start_form.h and player/start_form.cpp). Module A
depends on module B when a file of A includes a header of B. The check fails when the dependencies
form a cycle, the shortest being two modules that include each other, and prints each cycle with the
include lines that close it. Headers under a folder's internal/ (slideshow/internal/x.h) belong to
that folder: a file elsewhere (another library, a program, a benchmark) that includes one fails too.
The fuzz targets (fuzz/) feed a folder's internals directly, as its tests do, and may include them.

    scripts/check_includes.py [source root]      (default: the folder above this script)
"""

import os
import re
import sys

SOURCE_SUFFIXES = (".h", ".cpp")
SKIPPED_FOLDERS = {".git"}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def source_files(root):
    for folder, subfolders, files in os.walk(root):
        # Build trees (build/, build-tsan/, ...) hold generated copies, not sources.
        subfolders[:] = sorted(
            d for d in subfolders if d not in SKIPPED_FOLDERS and not d.startswith("build")
        )
        for name in sorted(files):
            if name.endswith(SOURCE_SUFFIXES):
                yield os.path.relpath(os.path.join(folder, name), root)


def module_of(path):
    return os.path.splitext(path)[0]


def resolve(root, including, included):
    """The project file an include line names, or None for a system or library header."""
    for base in ("", os.path.dirname(including)):
        candidate = os.path.normpath(os.path.join(base, included))
        if os.path.isfile(os.path.join(root, candidate)):
            return candidate
    return None


def include_edges(root):
    """{module: {included module: (including file, included file)}} over every source file."""
    edges = {}
    for path in source_files(root):
        module = module_of(path)
        edges.setdefault(module, {})
        with open(os.path.join(root, path), encoding="utf-8", errors="replace") as text:
            for line in text:
                match = INCLUDE.match(line)
                if not match:
                    continue
                target = resolve(root, path, match.group(1))
                if target is None or module_of(target) == module:
                    continue
                edges[module].setdefault(module_of(target), (path, target))
    return edges


def owner_of_internal(header):
    """The folder whose internal header this is (slideshow for slideshow/internal/x.h), or None."""
    parts = header.split("/")
    if "internal" not in parts[:-1]:
        return None
    return "/".join(parts[: parts.index("internal")])


def internal_intrusions(edges):
    """[(including file, included file)] where a file includes another folder's internal header."""
    found = []
    for targets in edges.values():
        for including, included in targets.values():
            owner = owner_of_internal(included)
            if owner is not None and not including.startswith((owner + "/", "fuzz/")):
                found.append((including, included))
    return sorted(found)


def strongly_connected(edges):
    """The groups of modules that reach each other (Tarjan's algorithm, without recursion)."""
    index, low, on_stack, stack, groups = {}, {}, set(), [], []
    counter = 0
    for start in sorted(edges):
        if start in index:
            continue
        work = [(start, iter(sorted(edges.get(start, {}))))]
        index[start] = low[start] = counter
        counter += 1
        stack.append(start)
        on_stack.add(start)
        while work:
            node, successors = work[-1]
            advanced = False
            for successor in successors:
                if successor not in index:
                    index[successor] = low[successor] = counter
                    counter += 1
                    stack.append(successor)
                    on_stack.add(successor)
                    work.append((successor, iter(sorted(edges.get(successor, {})))))
                    advanced = True
                    break
                if successor in on_stack:
                    low[node] = min(low[node], index[successor])
            if advanced:
                continue
            work.pop()
            if work:
                parent = work[-1][0]
                low[parent] = min(low[parent], low[node])
            if low[node] == index[node]:
                group = []
                while True:
                    member = stack.pop()
                    on_stack.discard(member)
                    group.append(member)
                    if member == node:
                        break
                if len(group) > 1:
                    groups.append(sorted(group))
    return groups


def describe(group, edges):
    members = set(group)
    lines = ["cycle among: " + ", ".join(group)]
    for module in group:
        for target, (including, included) in sorted(edges.get(module, {}).items()):
            if target in members:
                lines.append(f"    {including} includes {included}")
    return "\n".join(lines)


def main(argv):
    root = argv[1] if len(argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    root = os.path.abspath(root)
    edges = include_edges(root)
    groups = strongly_connected(edges)
    for group in groups:
        print(describe(group, edges))
    intrusions = internal_intrusions(edges)
    for including, included in intrusions:
        print(f"{including} includes {included}, internal to another folder")
    if groups or intrusions:
        print(f"{len(groups)} include cycle(s), {len(intrusions)} internal header(s) reached from outside in {root}")
        return 1
    print(f"no include cycles among {len(edges)} modules in {root}, no internal header reached from outside")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
