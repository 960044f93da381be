#!/usr/bin/env python3
"""The real kestrum-lite on its own Xvfb, under openbox or no window manager (--no-wm), driven by
xdotool: windows, keyboard focus, outer sizes and the files left behind. Each @step runs in turn
against one program.
"""
import argparse
import os
import re
import shutil
import sqlite3
import subprocess
import sys
import tempfile
import time

TITLE = "ケストラムLite"
SCREEN_W, SCREEN_H = 1280, 1024
STEPS = []
SCREEN_STEPS = []  # the screen-size pass (--screen, --scale)


def step(function):
    STEPS.append(function)
    return function


def screen_step(function):
    SCREEN_STEPS.append(function)
    return function


class Failure(Exception):
    pass


def expect(condition, what):
    if not condition:
        raise Failure(what)


def wait_for(what, probe, timeout=10.0):
    """Polls probe() until it gives something true, for at most `timeout` seconds."""
    end = time.monotonic() + timeout
    while True:
        value = probe()
        if value:
            return value
        if time.monotonic() > end:
            raise Failure(f"timed out waiting for {what}")
        time.sleep(0.05)


class Desktop:
    """An X server (with openbox unless told otherwise) and the program in a folder of its own."""

    def __init__(self, program, window_manager, folder, screen=(SCREEN_W, SCREEN_H), scale=1):
        self.processes = []
        self.screen, self.scale = screen, scale
        read_end, write_end = os.pipe()
        self.start(["Xvfb", "-displayfd", str(write_end), "-nolisten", "tcp",
                    "-screen", "0", f"{screen[0]}x{screen[1]}x24"], pass_fds=(write_end,))
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            display = pipe.readline().strip()
        expect(display, "Xvfb did not start")
        self.env = {k: v for k, v in os.environ.items() if not k.startswith("QT_")}
        self.env.update(DISPLAY=":" + display, HOME=folder, QT_QPA_PLATFORM="xcb",
                        XDG_RUNTIME_DIR=folder)
        if scale != 1:
            self.env.update(QT_SCALE_FACTOR=f"{scale:g}")
        if window_manager:
            self.start(["openbox", "--sm-disable"])
            wait_for("openbox", lambda: "window id" in self.x(
                "xprop", "-root", "_NET_SUPPORTING_WM_CHECK", check=False))
        self.program_dir = os.path.join(folder, "program")
        os.makedirs(os.path.join(self.program_dir, "tdcs"))
        self.program = os.path.join(self.program_dir, "kestrum-lite")
        shutil.copy(program, self.program)

    def start(self, command, **kwargs):
        self.processes.append(subprocess.Popen(command, env=getattr(self, "env", None),
                                               stdout=subprocess.DEVNULL, **kwargs))
        return self.processes[-1]

    def stop(self):
        for process in reversed(self.processes):
            process.kill()
            process.wait(5)

    def x(self, *command, check=True):
        done = subprocess.run(command, env=self.env, capture_output=True, text=True, timeout=10)
        if check and done.returncode != 0:
            raise Failure(f"{' '.join(command)}: {done.stderr.strip()}")
        return done.stdout

    def file(self, name, contents=None):
        """Reads a file of the program's folder, or writes it when given `contents`."""
        with open(os.path.join(self.program_dir, name), "rb" if contents is None else "wb") as f:
            return f.read() if contents is None else f.write(contents)

    # Windows: X window ids as numbers.
    def windows(self, title):
        found = self.x("xdotool", "search", "--onlyvisible", "--name",
                       "^" + re.escape(title) + "$", check=False)
        return {int(line) for line in found.split()}

    def window(self, title, besides=()):
        """The one visible window of this title other than `besides`, once it is up and has the
        keyboard focus."""
        def probe():
            found = self.windows(title) - set(besides)
            return found.pop() if len(found) == 1 else None
        window = wait_for(f"window '{title}'", probe)
        focused = lambda: self.x("xdotool", "getwindowfocus", check=False).strip()
        wait_for(f"keyboard focus on '{title}'", lambda: focused() == str(window), timeout=5)
        return window

    def closed(self, window, title):
        """Waits until the window has gone and the menu has the keyboard focus again."""
        wait_for(f"window '{title}' to close", lambda: window not in self.windows(title))
        self.window(TITLE)

    def outer(self, window):
        """Left, top, width and height with the window manager's frame, if any."""
        info = self.x("xwininfo", "-id", str(window))
        value = lambda label: int(re.search(label + r":\s+(-?\d+)", info).group(1))
        extents = re.search(r"= (\d+), (\d+), (\d+), (\d+)", self.x(
            "xprop", "-id", str(window), "_NET_FRAME_EXTENTS", check=False))
        left, right, top, bottom = map(int, extents.groups()) if extents else (0, 0, 0, 0)
        return (value("Absolute upper-left X") - left, value("Absolute upper-left Y") - top,
                value("Width") + left + right, value("Height") + top + bottom)

    def keys(self, *keys, delay_ms=100):
        self.x("xdotool", "key", "--delay", str(delay_ms), *keys)

    def click(self, window, x, y, button):
        self.x("xdotool", "mousemove", "--window", str(window), "--sync", str(x), str(y),
               "click", button)


def drill(d, lesson):
    return d.window(f"{TITLE}   {lesson}")


def check_drill_frame(d, lesson, width, height):
    window = drill(d, lesson)
    expected = ((SCREEN_W - width) // 2, (SCREEN_H - height) // 2, width, height)
    wait_for(f"drill window at {expected}, not {d.outer(window)}",
             lambda: d.outer(window) == expected, timeout=3)
    return window


def leave_drill_by_keyboard(d, window, enter="Return"):
    d.keys("Tab", enter)
    d.closed(window, "drill")


@step
def start(d):
    d.file("kestruml.ini", b"1,0,0,1,0,5,0\r\ne2e\r\n")
    d.file("tdcs/e2e.tdc", b"Amount=1\r\nText[1]=f\r\n")
    d.app = d.start([d.program])
    d.menu = d.window(TITLE)


@step
def alt_digits_open_their_lessons_and_tab_enter_leaves_them(d):
    for key, lesson in (("alt+0", "Lesson0"), ("alt+6", "lesson6")):
        d.keys(key)
        leave_drill_by_keyboard(d, drill(d, lesson), enter="KP_Enter")
    d.keys("alt+1")
    window = check_drill_frame(d, "lesson1", 573, 422)
    expect(not d.windows(TITLE), "the menu stays visible beside the drill")
    leave_drill_by_keyboard(d, window)


def leave_result_by_alt_m(d, result, lesson):
    d.keys("alt+m")
    d.closed(result, "結果")
    expect(not d.windows(f"{TITLE}   {lesson}"), "the drill stays visible")


@step
def a_run_with_wrong_and_command_keys_ends_in_the_result_and_alt_m_leaves_it(d):
    d.keys("alt+u")
    drill(d, "e2e")
    # Delete neither starts the run nor counts; x starts it; j is the one wrong key; Alt + j is
    # a command, not a key typed. Each item is one "f", and keys in the pause after an item are
    # dropped, hence the slow typing.
    d.keys("Delete", "x", "f", "j", "Delete", "Insert", "F5", "alt+j", "f", "f", "f", "f",
           delay_ms=400)
    leave_result_by_alt_m(d, d.window(f"{TITLE}  結果"), "e2e")


@step
def count_message_from_a_right_click_then_alt_3_at_once(d):
    d.click(d.menu, 24 + 84, 64 + 2 * 40 + 16, "3")  # the LESSON 2 panel, never practised
    box = d.window(TITLE, besides={d.menu})
    d.keys("Return")
    d.closed(box, "the count message")
    expect(not d.windows("グラフ   lesson2"), "the graph window shows for nothing to plot")
    d.keys("alt+3")
    leave_drill_by_keyboard(d, drill(d, "lesson3"))


@step
def options_choose_size_l(d):
    d.keys("alt+o")
    options = d.window("オプション")
    d.keys("alt+l", "Return")
    d.closed(options, "オプション")
    d.keys("alt+1")
    leave_drill_by_keyboard(d, check_drill_frame(d, "lesson1", 904, 627))


@step
def a_set_made_in_the_problem_set_window_is_practised_from_the_menu(d):
    d.keys("alt+d")
    editor = d.window("問題集設定")
    d.keys("Tab", "ctrl+a", "m", "i", "n", "e", "alt+n")  # the name field follows the list
    for text in ("f", "ff"):  # all f, so the run is typed whatever the order of the items
        d.keys("alt+a", *text, "Return")
    d.keys("alt+s", "alt+u")
    wait_for("line 2 of kestruml.ini", lambda: d.file("kestruml.ini").endswith(b"\r\nmine\r\n"))
    d.keys("alt+c")
    d.closed(editor, "問題集設定")
    d.keys("alt+u")
    drill(d, "mine")
    d.keys("x")
    wait_for("the result", lambda: d.windows(f"{TITLE}  結果") or d.keys("f", delay_ms=0) or
             time.sleep(0.3), timeout=20)
    leave_result_by_alt_m(d, d.window(f"{TITLE}  結果"), "mine")


@step
def a_renamed_set_takes_its_history_along_and_back(d):
    def stored_under(name):
        with sqlite3.connect(os.path.join(d.program_dir, "kestrum.sqlite3")) as db:
            return db.execute("SELECT count(*) FROM attempts WHERE kind = 1 AND lesson = ?",
                              (name.decode(),)).fetchone()[0]

    d.keys("alt+d")
    editor = d.window("問題集設定")
    for old, new in ((b"mine", b"renamed"), (b"renamed", b"mine")):
        d.keys("alt+m", "ctrl+a", *new.decode(), "alt+r")
        wait_for(f"the history under {new}", lambda: attempts(d.file("score.dat"), 1, new) and
                 stored_under(new) == 1)
        expect(not attempts(d.file("score.dat"), 1, old) and not stored_under(old),
               f"history left under {old}")
        expect(d.file("kestruml.ini").endswith(b"\r\n" + new + b"\r\n"), "kestruml.ini")
    d.keys("Escape")
    d.closed(editor, "問題集設定")


@step
def a_kana_lesson_from_the_menu_is_typed_by_key_position_and_recorded(d):
    d.keys("alt+k")
    course = d.window(f"{TITLE}   かな入力")
    d.keys("alt+1")
    drill_window = d.window(f"{TITLE}   かな入力 ホームポジション")
    # Every item of the home-row lesson is a pair of kana written "aabb aabb abab abab", the first
    # of は し と ち き け, the second of の く ま り れ. Struck with all candidates of its place
    # in turn, any item comes out whole, the other keys being misses; の comes first of the
    # second kana, so no key that would press a button follows the last kana to the result.
    first, second = ["f", "d", "s", "a", "g", "apostrophe"], ["k", "h", "j", "l", "semicolon"]
    candidates = {"a": first, "b": second, " ": ["space"]}

    def type_item():
        for place in "aabb aabb abab abab":
            d.keys(*candidates[place], delay_ms=1)
        time.sleep(0.4)  # the pause after an item drops keys

    d.keys("space")  # the start key
    wait_for("the kana result", lambda: d.windows(f"{TITLE}  結果") or type_item(), timeout=90)
    result = d.window(f"{TITLE}  結果")
    # Its heat map, on the kana keyboard, comes and goes by keyboard.
    d.keys("alt+k")
    check_and_close(d, "苦手キー   kana1", ["alt+c"])
    d.window(f"{TITLE}  結果")
    d.keys("alt+m")
    wait_for("the result to close", lambda: result not in d.windows(f"{TITLE}  結果"))
    expect(d.window(f"{TITLE}   かな入力") == course, "not back on the course")
    expect(drill_window not in d.windows(f"{TITLE}   かな入力 ホームポジション"), "drill shown")
    runs = attempts(d.file("score.dat"), 0, b"kana1")
    expect(len(runs) == 1, f"the kana run recorded as {runs}")
    with sqlite3.connect(os.path.join(d.program_dir, "kestrum.sqlite3")) as db:
        stored = db.execute("SELECT speed, accuracy, keys > 200 FROM attempts "
                            "WHERE kind = 0 AND lesson = 'kana1'").fetchall()
    expect(stored == [(runs[0][0], runs[0][1], 1)], f"the stored kana run {stored}")
    d.keys("alt+m")
    d.closed(course, "かな入力")


@step
def alt_c_closes_the_program(d):
    d.keys("alt+c")
    expect(d.app.wait(10) == 0, f"exit code {d.app.returncode}")


def attempts(score_dat, kind, name):
    """The (speed, accuracy) attempts of one lesson's entry in score.dat: kind, length of the name,
    name, count, then two bytes of speed and one of accuracy for each."""
    entry = re.search(re.escape(bytes([kind, len(name)]) + name) + b"(.)", score_dat, re.S)
    at, count = (entry.end(), entry[1][0]) if entry else (0, 0)
    return [(score_dat[i] << 8 | score_dat[i + 1], score_dat[i + 2])
            for i in range(at, at + 3 * count, 3)]


@step
def files_afterwards(d):
    expect(d.file("kestruml.ini") == b"1,0,0,1,0,5,2\r\nmine\r\n", "kestruml.ini")
    score_dat = d.file("score.dat")
    runs = attempts(score_dat, 1, b"e2e")
    # Five correct keys and one wrong one: 5 × 100 / 6.
    expect(len(runs) == 1 and runs[0][1] == 83, f"the run recorded as {runs}")
    expect(not attempts(score_dat, 0, b"lesson1"), "an abandoned run was recorded")
    mine = attempts(score_dat, 1, b"mine")
    expect(len(mine) == 1 and mine[0][1] == 100, f"the set's run recorded as {mine}")
    # The attempt store keeps the same run with its keys; the miss counts against the f expected.
    with sqlite3.connect(os.path.join(d.program_dir, "kestrum.sqlite3")) as db:
        run = db.execute("SELECT id, kind, speed, accuracy, keys, misses, duration_ms > 0, "
                         "started_at LIKE '____-__-__T__:__:__Z' FROM attempts "
                         "WHERE lesson = 'e2e'").fetchall()
        expect(run and run[0][1:] == (1, runs[0][0], 83, 6, 1, 1, 1), f"the stored run {run}")
        keys = db.execute("SELECT ch, hits, misses FROM key_stats WHERE attempt_id = ?",
                          (run[0][0],)).fetchall()
        expect(keys == [("f", 5, 1)], f"the stored keys {keys}")


# The screen-size pass: every window the menu and the result window open lies whole on the
# screen, centred within a pixel (of the program's own, `scale` pixels of the screen), and its
# own close button works from the keyboard.
def check_fits(d, window, what):
    screen_w, screen_h = d.screen

    def placed():
        left, top, width, height = d.outer(window)
        inside = left >= 0 and top >= 0 and left + width <= screen_w and top + height <= screen_h
        off = (abs(left - (screen_w - width) // 2), abs(top - (screen_h - height) // 2))
        return inside and max(off) <= d.scale
    # The window is centred again once the window manager has framed it.
    wait_for(f"{what} wholly on the {d.screen} screen and centred, not at {d.outer(window)}",
             placed, timeout=3)


def check_and_close(d, title, keys, besides=()):
    window = d.window(title, besides)
    check_fits(d, window, title)
    d.keys(*keys)
    wait_for(f"'{title}' to close", lambda: window not in d.windows(title))


@screen_step
def sized_start(d):
    # Two attempts of the set already recorded, so that its graph has something to draw.
    d.file("score.dat", bytes([1, 3]) + b"e2e" + bytes([2, 0, 90, 80, 0, 120, 90]))
    d.file("kestruml.ini", b"1,0,0,0,0,5,0\r\ne2e\r\n")
    d.file("tdcs/e2e.tdc", b"Amount=1\r\nText[1]=f\r\n")
    d.app = d.start([d.program])
    d.menu = d.window(TITLE)
    check_fits(d, d.menu, "the menu")


@screen_step
def sized_windows_of_the_menu(d):
    for opener, title, close in (("alt+o", "オプション", "Escape"),
                                 ("alt+v", "バージョン情報", "Return"),
                                 ("alt+d", "問題集設定", "alt+c"),
                                 ("alt+p", "成績の推移", "alt+c"),
                                 ("alt+w", TITLE, "Return")):  # too few keys struck yet
        d.keys(opener)
        check_and_close(d, title, [close], besides={d.menu})
        d.window(TITLE)
    d.keys("alt+0")
    window = drill(d, "Lesson0")
    check_fits(d, window, "lesson 0")
    d.keys(*["space"] * 16)
    leave_drill_by_keyboard(d, window)
    d.keys("alt+k")
    course = d.window(f"{TITLE}   かな入力")
    check_fits(d, course, "the kana course")
    d.keys("alt+1")
    window = drill(d, "かな入力 ホームポジション")
    check_fits(d, window, "the kana drill")
    d.keys("Tab", "Return")
    wait_for("the kana drill to close",
             lambda: window not in d.windows(f"{TITLE}   かな入力 ホームポジション"))
    expect(d.window(f"{TITLE}   かな入力") == course, "not back on the kana course")
    d.keys("alt+m")
    d.closed(course, "かな入力")


@screen_step
def sized_result_and_its_windows(d):
    d.keys("alt+u")
    check_fits(d, drill(d, "e2e"), "the drill window")
    d.keys("x")
    result = f"{TITLE}  結果"
    wait_for("the result", lambda: d.windows(result) or d.keys("f", delay_ms=0) or
             time.sleep(0.3), timeout=20)
    check_fits(d, d.window(result), "the result window")
    for opener, title, close in (("alt+g", "グラフ   e2e", "Return"),
                                 ("alt+k", "苦手キー   e2e", "alt+c")):
        d.keys(opener)
        check_and_close(d, title, [close])
        d.window(result)
    leave_result_by_alt_m(d, d.window(result), "e2e")
    d.keys("alt+c")

def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("program")
    parser.add_argument("--no-wm", action="store_true", help="run without a window manager")
    parser.add_argument("--screen", help="the screen-size pass on a screen of WxH pixels")
    parser.add_argument("--scale", type=float, default=1, help="the screen-size pass at this scale")
    args = parser.parse_args()
    sized = args.screen is not None or args.scale != 1
    screen = tuple(map(int, args.screen.split("x"))) if args.screen else (SCREEN_W, SCREEN_H)
    with tempfile.TemporaryDirectory(prefix="kestrum-e2e-") as folder:
        desktop = Desktop(os.path.abspath(args.program), not args.no_wm, folder, screen,
                          args.scale)
        try:
            for function in SCREEN_STEPS if sized else STEPS:
                started = time.monotonic()
                function(desktop)
                print(f"ok   {function.__name__} ({time.monotonic() - started:.1f} s)")
        except Failure as failure:
            print(f"FAIL {function.__name__}: {failure}")
            return 1
        finally:
            desktop.stop()
    return 0


if __name__ == "__main__":
    sys.exit(main())
