#!/usr/bin/python3
"""Reads the game's accessible tree off the accessibility bus with pyatspi, prints it as a
screen reader sees it, and checks that every control is there under its name.

Usage: ReadTree.py APP_NAME PICTURE_NAME [played]
With "played", the game has been started and one tile slid since: the board shows the move.
"""
import sys
import time

import pyatspi

APP, PICTURE = sys.argv[1], sys.argv[2]
PLAYED = sys.argv[3:] == ["played"]

BUTTONS = ["Game", "Pictures", "Scores", "About", "Minimize", "Close", "New Game", "Add", "Delete"]
SECTIONS = ["Game", "Pictures", "Scores", "About"]
LINKS = ["support@corvalin.example", "https://corvalin.example"]


def find_app(timeout):
    deadline = time.time() + timeout
    while time.time() < deadline:
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == APP:
                return app
        time.sleep(0.2)
    sys.exit(f"no application named {APP!r} on the accessibility bus")


def walk(node, depth, nodes):
    states = node.getState()
    nodes.append((depth, node))
    line = f"{'  ' * depth}[{node.getRoleName()}] {node.name!r}"
    extra = [s for s, state in (("checked", pyatspi.STATE_CHECKED),
                                ("focused", pyatspi.STATE_FOCUSED),
                                ("showing", pyatspi.STATE_SHOWING)) if states.contains(state)]
    print(line + (f" ({', '.join(extra)})" if extra else ""))
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            walk(child, depth + 1, nodes)


def read_tree():
    nodes = []
    walk(find_app(60), 0, nodes)
    return [node for _, node in nodes]


def named(nodes, name, roles):
    return [n for n in nodes if n.name == name and n.getRoleName() in roles]


def check(nodes):
    problems = []

    def expect(ok, what):
        if not ok:
            problems.append(what)

    for name in BUTTONS:
        found = named(nodes, name, ("push button", "toggle button"))
        expect(len(found) == 1, f"button {name!r}: {len(found)} found")
        if name in SECTIONS and found:
            checked = found[0].getState().contains(pyatspi.STATE_CHECKED)
            expect(checked == (name == "Game"), f"section {name!r} checked: {checked}")
    for name in LINKS:
        expect(len(named(nodes, name, ("link",))) == 1, f"link {name!r}")
    expect(len(named(nodes, "Moves: 1" if PLAYED else "Moves: 0", ("label",))) == 1, "moves")
    seconds = [n for n in nodes if n.getRoleName() == "label" and n.name.startswith("Seconds: ")]
    expect(len(seconds) == 1, "the seconds counter")
    expect(len(named(nodes, PICTURE, ("image",))) == 2, f"thumbnail and preview {PICTURE!r}")
    tables = [n for n in nodes if n.getRoleName() == "table" and n.name == "Board"]
    expect(len(tables) == 1, "the board table")
    if tables:
        board = tables[0]
        table = board.queryTable()
        expect((table.nRows, table.nColumns) == (3, 4), f"board {table.nRows} x {table.nColumns}")
        cells = [board.getChildAtIndex(i).name for i in range(board.childCount)]
        home = [f"Tile {n}" for n in range(1, 13)]
        if PLAYED:
            # The last tile is out, and the empty cell has moved one to the left.
            expect(cells[10] == "Empty" and sorted(cells) == sorted(home[:11] + ["Empty"]),
                   f"cells after a move {cells}")
        else:
            expect(cells == home, f"cells {cells}")
    return problems


def main():
    problems = check(read_tree())
    for problem in problems:
        print("MISSING:", problem, file=sys.stderr)
    sys.exit(1 if problems else 0)


if __name__ == "__main__":
    main()
