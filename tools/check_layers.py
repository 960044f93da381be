#!/usr/bin/env python3
"""Fails when a folder of src/ includes a folder above it in the README's layer list, or one the
list does not name, and when an engine file includes a window's header. The README holds the one
copy of the order, so the check and the documentation cannot drift apart."""
import pathlib
import re
import sys

ROOT = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).parent.parent)
INCLUDE = re.compile(r'^\s*#\s*include\s+"([a-z_0-9]+)/([^"]+)"')
UI_NAME = re.compile(r'(_window|_dialog|_widget)$|^desktop_')
UI_FOLDERS = {'widgets', 'app'}


def layer_order(readme):
    """The folders of the numbered list after the line 'Layers, from the ground up', in order."""
    lines = readme.read_text(encoding='utf-8').splitlines()
    start = next((i for i, line in enumerate(lines) if line.startswith('Layers, from the ground up')), None)
    if start is None:
        sys.exit(f'{readme}: no "Layers, from the ground up" list')
    order = []
    for line in lines[start + 1:]:
        item = re.match(r'\s*\d+\.\s+`([a-z_0-9]+)/`', line)
        if item:
            order.append(item.group(1))
        elif order and not line.startswith('   '):
            break
    return order


def is_ui(folder, stem):
    return folder in UI_FOLDERS or bool(UI_NAME.search(stem))


def main():
    order = layer_order(ROOT / 'README.md')
    rank = {folder: i for i, folder in enumerate(order)}
    faults = []
    folders = sorted(p.name for p in (ROOT / 'src').iterdir() if p.is_dir())
    faults += [f'src/{f}/: not in the README\'s layer list' for f in folders if f not in rank]
    for path in sorted((ROOT / 'src').glob('*/*')):
        if path.suffix not in ('.h', '.cpp'):
            continue
        here = path.parent.name
        for number, line in enumerate(path.read_text(encoding='utf-8').splitlines(), 1):
            found = INCLUDE.match(line)
            if not found:
                continue
            there, header = found.groups()
            where = f'{path.relative_to(ROOT)}:{number}'
            if there not in rank:
                faults.append(f'{where}: includes {there}/, which the layer list does not name')
            elif here in rank and rank[there] > rank[here]:
                faults.append(f'{where}: {here}/ includes {there}/{header}, a layer above it')
            if not is_ui(here, path.stem) and is_ui(there, pathlib.Path(header).stem):
                faults.append(f'{where}: engine file includes the window header {there}/{header}')
    for fault in faults:
        print(fault)
    print(f'layers: {len(order)} folders, {len(faults)} faults')
    return 1 if faults else 0


if __name__ == '__main__':
    sys.exit(main())
