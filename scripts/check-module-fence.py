#!/usr/bin/env python3
"""The module fence: every include in a module's files names a header of that module or of a
module it declares, and a header only includes what the module declares public.

The module list is written by corvane_module() at configure time (one line a module:
name|kind|files|public deps|private deps, lists separated by ";"). Each #include of each
file is resolved as the build would find it: quoted names beside the file first, then below
src/; Qt's class headers (<QTimer>) by the Qt module whose include folder holds them. Then:

- a header of another program module must come from a module named in DEPS or PUBLIC_DEPS
  (what a declared module passes on through its own public dependencies does not count: a
  file names what it uses);
- a header that includes another module's header needs that module in PUBLIC_DEPS, since
  every user of the header compiles it too; a PUBLIC_DEPS entry no header needs is reported
  so that it is made private;
- a logic module includes no Qt header at all; a Qt module includes Qt Core freely and the
  other Qt modules (Widgets, Network...) only when it declares them.

--print-needs lists, per module, the modules its headers and its sources include, to write
the declarations from. Exit status 0 when the fence holds, 1 with one line a fault.
"""

import argparse
import os
import re
import sys
from dataclasses import dataclass, field

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
HEADER_SUFFIXES = (".h", ".hpp")


@dataclass
class Module:
    name: str
    qt: bool
    files: list
    public: set
    private: set
    needs_public: dict = field(default_factory=dict)  # dependency -> first header needing it
    needs_private: dict = field(default_factory=dict)


def read_module_list(path):
    modules = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\n")
            if not line or line.startswith("#"):
                continue
            name, kind, files, public, private = line.split("|")

            def items(text):
                return [item for item in text.split(";") if item]

            modules[name] = Module(name, kind == "qt", items(files), set(items(public)), set(items(private)))
    return modules


def qt_header_owners(qt_root):
    """Maps a Qt class header (QTimer) to its library (Qt6::Core)."""
    owners = {}
    if not qt_root or not os.path.isdir(qt_root):
        return owners
    for folder in sorted(os.listdir(qt_root)):
        path = os.path.join(qt_root, folder)
        if not folder.startswith("Qt") or not os.path.isdir(path):
            continue
        library = "Qt6::" + folder[2:]
        for entry in os.listdir(path):
            owners.setdefault(entry, library)
            owners.setdefault(folder + "/" + entry, library)
    return owners


def includes_of(path):
    with open(path, encoding="utf-8", errors="replace") as f:
        for number, line in enumerate(f, 1):
            match = INCLUDE.match(line)
            if match:
                yield number, match.group(1), match.group(2)


def check(modules, source_root, qt_root, print_needs=False, out=sys.stdout):
    owner_of = {}
    for module in modules.values():
        for path in module.files:
            if path.endswith(HEADER_SUFFIXES):
                owner_of[os.path.realpath(path)] = module.name
    qt_owner = qt_header_owners(qt_root)
    faults = []

    def shown(path):
        return os.path.relpath(path, os.path.dirname(source_root))

    for module in modules.values():
        declared = module.public | module.private
        for path in module.files:
            is_header = path.endswith(HEADER_SUFFIXES)
            for number, bracket, name in includes_of(path):
                where = f"{shown(path)}:{number}"
                dependency = None
                candidates = [os.path.join(source_root, name)]
                if bracket == '"':
                    candidates.insert(0, os.path.join(os.path.dirname(path), name))
                found = next((c for c in candidates if os.path.isfile(c)), None)
                if found is not None:
                    found = os.path.realpath(found)
                    dependency = owner_of.get(found)
                    if dependency is None:
                        faults.append(
                            f'{where}: includes "{name}", which is a header of no module '
                            "(name it beside its sources or under HEADERS)"
                        )
                        continue
                    if dependency == module.name:
                        continue
                elif name in qt_owner:
                    dependency = qt_owner[name]
                    if not module.qt:
                        faults.append(f"{where}: includes <{name}> of {dependency}, but {module.name} is a logic module")
                        continue
                    if dependency == "Qt6::Core":
                        continue
                elif bracket == '"' and not name.endswith(".moc"):
                    faults.append(f'{where}: includes "{name}", which is no file of the program')
                    continue
                else:
                    continue  # a system or library header
                needs = module.needs_public if is_header else module.needs_private
                needs.setdefault(dependency, where)
                if dependency not in declared:
                    faults.append(
                        f"{where}: includes {name} of {dependency}, which {module.name} does not declare "
                        f"({'PUBLIC_DEPS' if is_header else 'DEPS'})"
                    )
                elif is_header and dependency not in module.public:
                    faults.append(
                        f"{where}: the header includes {name} of {dependency}, so {module.name} must declare "
                        f"{dependency} under PUBLIC_DEPS, not DEPS"
                    )
        for dependency in sorted(module.public - set(module.needs_public)):
            if dependency in modules or dependency.startswith("Qt6::"):
                faults.append(
                    f"{module.name}: PUBLIC_DEPS names {dependency}, which none of its headers includes: "
                    "declare it under DEPS"
                )
        if print_needs:
            public = sorted(module.needs_public)
            private = sorted(set(module.needs_private) - set(public))
            print(f"{module.name}: PUBLIC_DEPS {' '.join(public)} | DEPS {' '.join(private)}", file=out)
    return faults


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("module_list")
    parser.add_argument("source_root")
    parser.add_argument("--qt-include-root", default="")
    parser.add_argument("--print-needs", action="store_true")
    args = parser.parse_args(argv)
    modules = read_module_list(args.module_list)
    if not modules:
        print(f"{args.module_list}: no modules listed", file=sys.stderr)
        return 1
    faults = check(modules, os.path.realpath(args.source_root), args.qt_include_root, args.print_needs)
    for fault in faults:
        print(fault, file=sys.stderr)
    if faults:
        print(f"The module fence does not hold: {len(faults)} fault(s).", file=sys.stderr)
        return 1
    print(f"The module fence holds: {len(modules)} modules, every include declared.")
    return 0


if __name__ == "__main__":
    sys.exit(main())
