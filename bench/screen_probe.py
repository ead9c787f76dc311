#!/usr/bin/python3
"""What a person in front of the screen sees, timed from a separate process.

Runs a private Xvfb (1920 x 1080 unless told otherwise) with the openbox window manager and
watches the screen through the X DAMAGE extension on the root window: every time anything is
drawn on the screen the server sends an event, and this process reads the pixels it needs.

  firstframe  process start (the moment before the spawn) to the first VISIBLE frame, for the
              real velquo binary and for `feh --fullscreen` on the same JPEG, in alternated pairs
              (velquo first in even pairs, feh first in odd ones; with --baseline an older
              build joins the rounds, each program first in turn). VISIBLE means: the 8 x 8
              pixels at the centre of the screen, read back from the X server, average within
              24 per channel of the picture's own centre when it is scaled to the screen. The
              window being mapped, or painted in the button face colour, does not count. Also
              prints each program's resident memory (VmRSS) once the screen is quiet after
              the first frame.
  welcome     VmRSS with a 4K welcome.jpg up, and once a click has faded it out.
  steps       XTest key press (Space) to screen, per phase of the question cycle (draw,
              countdown, reveal) and per countdown tick. A step has reached the screen at the
              last DAMAGE event of the burst of drawing that follows the key press (the screen
              then stays still for 250 ms); a tick at the last event of the burst that follows
              its due time (the countdown key press plus n seconds).
  pictures    XTest key press (Space) to the question's picture visible in its area, for a
              12-megapixel JPEG and a 4K PNG (a bank with the picture columns, every question
              naming the same file; the answer's picture, a black square, fills the area between
              draws). VISIBLE as for firstframe, at the centre of the fitted picture.

Both print medians, p99 and maxima in milliseconds. Linux only; needs Xvfb, openbox, feh,
ImageMagick's convert and python3-xlib.

  bench/screen_probe.py firstframe --build build/release --pairs 9 --size 4k
  bench/screen_probe.py firstframe --build build/release --pairs 9 --size 1080p
  bench/screen_probe.py steps --build build/release --cycles 40
  bench/screen_probe.py welcome --build build/release
  bench/screen_probe.py pictures --build build/release --cycles 40
"""

import argparse
import os
import re
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time

from Xlib import X, display
from Xlib.ext import damage, xtest  # noqa: F401  (registers the extensions)

SCREEN_W, SCREEN_H = 1920, 1080
# The pictures a hall brings, from an old projector's slides to a camera's largest photo.
PICTURE_SIZES = {"720p": (1280, 720), "1080p": (1920, 1080), "1440p": (2560, 1440),
                 "4k": (3840, 2160), "8k": (7680, 4320)}


def log(*args):
    print(*args, file=sys.stderr, flush=True)


def stats(values):
    v = sorted(values)
    if not v:
        return "n=0"
    med = v[len(v) // 2] if len(v) % 2 else (v[len(v) // 2 - 1] + v[len(v) // 2]) / 2
    p99 = v[min(len(v) - 1, (len(v) * 99 + 99) // 100 - 1)]
    return "n=%d median=%.1f p99=%.1f max=%.1f min=%.1f" % (len(v), med, p99, v[-1], v[0])


# ---- the X server under watch ------------------------------------------------------------


class Screen:
    def __init__(self, work, width, height):
        self.work = work
        self.procs = []
        rfd, wfd = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(wfd), "-screen", "0", "%dx%dx24" % (width, height),
             "-nolisten", "tcp", "-noreset", "-br"],
            pass_fds=[wfd], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(wfd)
        number = b""
        while not number.endswith(b"\n"):
            chunk = os.read(rfd, 16)
            if not chunk:
                raise RuntimeError("Xvfb did not start")
            number += chunk
        os.close(rfd)
        self.name = ":" + number.decode().strip()
        os.environ["DISPLAY"] = self.name
        self.d = display.Display(self.name)
        self.root = self.d.screen().root
        self.width, self.height = width, height
        self.wm = subprocess.Popen(["openbox", "--sm-disable"], stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        self._wait_wm()
        self.d.damage_query_version()
        self.damage = self.root.damage_create(damage.DamageReportNonEmpty)
        self.d.sync()

    def _wait_wm(self):
        atom = self.d.intern_atom("_NET_SUPPORTING_WM_CHECK")
        deadline = time.monotonic() + 20
        while time.monotonic() < deadline:
            if self.root.get_full_property(atom, X.AnyPropertyType):
                return
            time.sleep(0.02)
        raise RuntimeError("openbox did not start")

    def close(self):
        for p in (self.wm, self.xvfb):
            if p.poll() is None:
                p.terminate()
                p.wait()

    def pixels(self, cx, cy, size):
        img = self.root.get_image(cx - size // 2, cy - size // 2, size, size, X.ZPixmap,
                                  0xFFFFFFFF)
        data = img.data
        n = size * size
        b = sum(data[i * 4] for i in range(n)) / n
        g = sum(data[i * 4 + 1] for i in range(n)) / n
        r = sum(data[i * 4 + 2] for i in range(n)) / n
        return (r, g, b)

    def centre(self):
        return self.pixels(self.width // 2, self.height // 2, 8)

    def events(self, timeout):
        """DAMAGE events until timeout (seconds) passes; yields their arrival times."""
        deadline = time.monotonic() + timeout
        while True:
            while self.d.pending_events():
                e = self.d.next_event()
                if e.type == self.d.extension_event.DamageNotify:
                    self.d.damage_subtract(self.damage)
                    self.d.flush()
                    yield time.monotonic()
            left = deadline - time.monotonic()
            if left <= 0:
                return
            select.select([self.d.fileno()], [], [], left)
            now = time.monotonic()
            if self.d.pending_events() == 0:
                # Nothing yet; pending_events() above read the socket.
                if now >= deadline:
                    return

    def drain(self, quiet):
        """Waits until the screen has not changed for `quiet` seconds."""
        last = time.monotonic()
        while True:
            got = False
            for t in self.events(quiet):
                got = True
                last = t
                break
            if not got and time.monotonic() - last >= quiet:
                return

    def key(self, keysym_name):
        code = self.d.keysym_to_keycode(
            {"space": 0x20, "Return": 0xFF0D}[keysym_name])
        xtest.fake_input(self.d, X.KeyPress, code)
        self.d.flush()
        t = time.monotonic()
        xtest.fake_input(self.d, X.KeyRelease, code)
        self.d.flush()
        return t


def close_enough(a, b, tol=24):
    return all(abs(x - y) <= tol for x, y in zip(a, b))


# ---- installations -----------------------------------------------------------------------


def reference_centre(picture, width, height):
    """The picture's centre 8 x 8 once scaled to the screen, as the screen should show it."""
    out = subprocess.run(
        ["convert", picture, "-resize", "%dx%d!" % (width, height), "-crop",
         "8x8+%d+%d" % (width // 2 - 4, height // 2 - 4), "+repage", "-scale", "1x1!",
         "-depth", "8", "txt:-"], check=True, capture_output=True, text=True).stdout
    m = re.search(r"\((\d+),(\d+),(\d+)", out.splitlines()[-1])
    return tuple(float(x) for x in m.groups())


def make_picture(path, w, h, colours="orange-royalblue", seed=16):
    if not os.path.exists(path):
        subprocess.run(["convert", "-seed", str(seed), "-size", "%dx%d" % (w, h),
                        "plasma:" + colours, "-blur", "0x1", "-quality", "90", path],
                       check=True)
    return path


def set_keys(ini, keys):
    data = open(ini, "rb").read()
    for k, v in keys.items():
        data, n = re.subn(rb"(?m)^" + k.encode() + rb"=[^\r\n]*", (k + "=" + v).encode(), data)
        if n == 0:
            data += ("%s=%s\r\n" % (k, v)).encode()
    open(ini, "wb").write(data)


def make_install(work, build, picture, questions=10000, welcome=None, velquo=None, bank=None):
    inst = os.path.join(work, "install")
    if os.path.exists(inst):
        shutil.rmtree(inst)
    shutil.copytree(os.path.join(build, "demo-install"), inst)
    shutil.copy(velquo or os.path.join(build, "velquo"), os.path.join(inst, "velquo"))
    shutil.copy(picture, os.path.join(inst, "bg.jpg"))
    if welcome:
        shutil.copy(welcome, os.path.join(inst, "welcome.jpg"))
    set_keys(os.path.join(inst, "opt.ini"),
             {"huanying": "1" if welcome else "0", "shijian_sound": "0", "shijian": "3",
              "weizhishezhi": "0"})
    if bank:
        shutil.copy(bank, os.path.join(inst, "db.DLL"))
        return inst
    csv = os.path.join(work, "questions.csv")
    with open(csv, "w", encoding="utf-8") as f:
        f.write("编号,题目,答案\n")
        for i in range(1, questions + 1):
            f.write("%d,第%d题：下面哪一个城市是这道题目的正确答案，请在倒计时结束前回答？,答案%d\n"
                    % (i, i, i))
    subprocess.run([os.path.join(build, "tools", "bank", "velquo-bank"), "build", csv,
                    os.path.join(inst, "db.DLL")], check=True, stdout=subprocess.DEVNULL)
    return inst


def rss_kb(pid):
    try:
        for line in open("/proc/%d/status" % pid):
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    except OSError:
        pass
    return -1


def cpu_ms(pid):
    """User + system CPU time the process (all its threads) has used so far."""
    try:
        fields = open("/proc/%d/stat" % pid).read().rsplit(")", 1)[1].split()
        return (int(fields[11]) + int(fields[12])) * 1000.0 / os.sysconf("SC_CLK_TCK")
    except (OSError, IndexError, ValueError):
        return -1


def stop(p):
    if p.poll() is None:
        p.send_signal(signal.SIGTERM)
        try:
            p.wait(10)
        except subprocess.TimeoutExpired:
            p.kill()
            p.wait()


# ---- first visible frame -----------------------------------------------------------------


# The second, independent reading of "visible": the screen at 15 points (a 5 x 3 grid) as it is
# once it has settled, whatever picture that is (the program's own labels included), instead of
# the centre against the picture scaled by ImageMagick. A quick rough copy painted first and
# refined later counts only when the refined one is up.
GRID = [((2 * i + 1) / 10, (2 * j + 1) / 6) for j in range(3) for i in range(5)]


def grid(scr):
    return [scr.pixels(int(x * scr.width), int(y * scr.height), 8) for x, y in GRID]


def settled_at(samples, final, tol=6):
    """The first time from which every sample matches the final screen at every point."""
    at = None
    for t, points in samples:
        if all(close_enough(a, b, tol) for a, b in zip(points, final)):
            if at is None:
                at = t
        else:
            at = None
    return at


def first_frame(scr, argv, cwd, ref, timeout=30, cpu=None, final=None):
    """Spawns argv; returns (ms to the first visible frame, RSS kB after it, process); appends
    the CPU time it had used when the frame was seen to `cpu`, and the ms to the final screen at
    all 15 grid points to `final`."""
    scr.drain(0.3)
    base = scr.centre()
    if close_enough(base, ref):
        raise RuntimeError("the screen already shows the picture before the start")
    env = dict(os.environ, QT_QPA_PLATFORM="xcb")
    t0 = time.monotonic()
    p = subprocess.Popen(argv, cwd=cwd, env=env, stdout=subprocess.DEVNULL,
                         stderr=subprocess.DEVNULL)
    seen = None
    samples = []
    deadline = t0 + timeout
    while seen is None and time.monotonic() < deadline:
        for t in scr.events(0.005):
            if close_enough(scr.centre(), ref):
                seen = t
            if final is not None:
                samples.append((t, grid(scr)))
            if seen is not None:
                break
        else:
            # Also look now and then without an event, in case one was merged away.
            if close_enough(scr.centre(), ref):
                seen = time.monotonic()
    if seen is None:
        stop(p)
        raise RuntimeError("%s never showed the picture" % argv[0])
    if cpu is not None:
        cpu.append(cpu_ms(p.pid))
    # Until the screen has been still for half a second, sampling every change.
    last = time.monotonic()
    while time.monotonic() - last < 0.5:
        for t in scr.events(0.5):
            last = t
            if final is not None:
                samples.append((t, grid(scr)))
            break
    if final is not None:
        at = settled_at(samples, grid(scr))
        final.append(((at if at is not None else last) - t0) * 1000)
    return (seen - t0) * 1000, rss_kb(p.pid), p


def run_first_frame(args):
    work = tempfile.mkdtemp(prefix="velquo-screen-probe-")
    scr = Screen(work, args.width, args.height)
    try:
        size = PICTURE_SIZES[args.size]
        if args.welcome:
            # The picture is the welcome screen's, over a 1080p background of other colours;
            # the peers show the same welcome.jpg.
            pic = make_picture(os.path.join(args.pictures, "probe-welcome-%dx%d.jpg" % size),
                               *size, colours="black-lime", seed=61)
            bg = make_picture(os.path.join(args.pictures, "probe-1920x1080.jpg"), 1920, 1080)
            inst = make_install(work, args.build, bg, questions=args.questions, welcome=pic,
                                velquo=args.velquo, bank=args.bank)
            shown = os.path.join(inst, "welcome.jpg")
        else:
            pic = make_picture(os.path.join(args.pictures, "probe-%dx%d.jpg" % size), *size)
            inst = make_install(work, args.build, pic, questions=args.questions,
                                velquo=args.velquo, bank=args.bank)
            shown = os.path.join(inst, "bg.jpg")
        ref = reference_centre(pic, args.width, args.height)
        programs = {"velquo": [os.path.join(inst, "velquo")]}
        if args.baseline:
            # An older build in the same installation, run in the same rounds.
            shutil.copy(args.baseline, os.path.join(inst, "velquo-baseline"))
            programs["baseline"] = [os.path.join(inst, "velquo-baseline")]
        if args.bare:
            # The least a Qt program does for the same picture, in the same installation.
            programs["bare_qt"] = [os.path.join(args.build, "bench", "bare_qt_viewer"), shown]
        programs["feh"] = ["feh", "--fullscreen", "--hide-pointer", shown]
        names = list(programs)
        res = {name: [] for name in names}
        rss = {name: [] for name in names}
        cpu = {name: [] for name in names}
        final = {name: [] for name in names}
        for i in range(args.pairs):
            # Each program goes first in turn (with two: velquo first in even rounds).
            order = names[i % len(names):] + names[:i % len(names)]
            line = []
            for name in order:
                ms, kb, p = first_frame(scr, programs[name], inst, ref, cpu=cpu[name],
                                        final=final[name])
                stop(p)
                res[name].append(ms)
                rss[name].append(kb)
                line.append("%s %.1f ms %d kB" % (name, ms, kb))
            log("round %d: %s" % (i + 1, ", ".join(line)))
        print("first visible frame, %s %spicture on a %dx%d screen, openbox, %d alternated rounds"
              % (args.size, "welcome " if args.welcome else "", args.width, args.height,
                 args.pairs))
        for name in names:
            print("  %-8s ms  %s" % (name, stats(res[name])))
        median = {name: sorted(v)[len(v) // 2] for name, v in res.items()}
        pairs = [(a, "feh") for a in names if a != "feh"]
        if args.baseline:
            pairs.append(("velquo", "baseline"))
        if args.bare:
            pairs.append(("velquo", "bare_qt"))
        for a, b in pairs:
            ratios = [x / y for x, y in zip(res[a], res[b])]
            print("  %s/%s per round: %s" % (a, b, stats(ratios)))
            print("  median ratio %s/%s: %.2f" % (a, b, median[a] / median[b]))
        for name in names:
            print("  %-8s ms to the settled screen at 15 points: %s" % (name, stats(final[name])))
            gaps = [f - c for f, c in zip(final[name], res[name])]
            print("  %-8s settled minus centre-visible, ms: %s" % (name, stats(gaps)))
        for name in names:
            print("  %-8s CPU ms used by the first frame: %s" % (name, stats(cpu[name])))
        for name in names:
            print("  %-8s RSS kB after the first frame: %s" % (name, stats(rss[name])))
    finally:
        scr.close()
        shutil.rmtree(work, ignore_errors=True)


# ---- key press to screen -----------------------------------------------------------------


def burst_end(scr, start, quiet, limit, seen=None):
    """Last DAMAGE time of the burst after `start`: the screen then stays still for `quiet`.
    Appends the burst's first DAMAGE time and its number of DAMAGE events to `seen`."""
    last = None
    first = None
    count = 0
    while True:
        got = None
        for t in scr.events(quiet):
            got = t
            break
        if got is None or got - start > limit:
            if got is not None:
                last = got
                count += 1
            if seen is not None and first is not None:
                seen.append((first, count))
            return last
        first = got if first is None else first
        count += 1
        last = got


def run_steps(args):
    work = tempfile.mkdtemp(prefix="velquo-screen-probe-")
    scr = Screen(work, args.width, args.height)
    try:
        pic = make_picture(os.path.join(args.pictures, "probe-3840x2160.jpg"), 3840, 2160)
        ref = reference_centre(pic, args.width, args.height)
        inst = make_install(work, args.build, pic, questions=args.questions, velquo=args.velquo,
                            bank=args.bank)
        ms, kb, p = first_frame(scr, [os.path.join(inst, "velquo")], inst, ref)
        log("velquo up after %.1f ms, %d kB" % (ms, kb))
        try:
            subprocess.run(["xdotool", "search", "--sync", "--name", "^晚会随机出题系统$",
                            "windowactivate", "--sync"], check=True, timeout=20,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        except subprocess.SubprocessError:
            pass
        scr.drain(0.5)
        phases = {"draw": [], "countdown": [], "reveal": [], "tick": []}
        firsts = {"draw": [], "countdown": [], "reveal": []}
        counts = {"draw": [], "countdown": [], "reveal": []}
        missing = 0
        for c in range(args.cycles):
            for phase in ("draw", "countdown", "reveal"):
                t0 = scr.key("space")
                seen = []
                end = burst_end(scr, t0, 0.25, 0.9, seen)
                for first, count in seen:
                    firsts[phase].append((first - t0) * 1000)
                    counts[phase].append(count)
                if end is None:
                    missing += 1
                else:
                    phases[phase].append((end - t0) * 1000)
                if phase == "countdown":
                    for k in (1, 2, 3):
                        due = t0 + k
                        # Skip what came before the tick was due.
                        while time.monotonic() < due - 0.1:
                            for _ in scr.events(due - 0.1 - time.monotonic()):
                                pass
                        first = None
                        for t in scr.events(due + 0.6 - time.monotonic()):
                            if t >= due - 0.05:
                                first = t
                                break
                        if first is None:
                            missing += 1
                            continue
                        end = burst_end(scr, first, 0.1, 0.5) or first
                        phases["tick"].append((end - due) * 1000)
                    scr.drain(0.25)
            if (c + 1) % 10 == 0:
                log("cycle %d: velquo RSS %d kB" % (c + 1, rss_kb(p.pid)))
        print("key press (XTest) to the last DAMAGE of its repaint, 4K bg.jpg on %dx%d, openbox,"
              " %d cycles" % (args.width, args.height, args.cycles))
        for name in ("draw", "countdown", "reveal", "tick"):
            print("  %-9s ms  %s" % (name, stats(phases[name])))
        for name in ("draw", "countdown", "reveal"):
            print("  %-9s first DAMAGE ms  %s; DAMAGE events a step %s" % (
                name, stats(firsts[name]), stats(counts[name])))
        alls = phases["draw"] + phases["countdown"] + phases["reveal"] + phases["tick"]
        print("  all       ms  %s" % stats(alls))
        print("  steps or ticks without a repaint: %d" % missing)
        print("  velquo RSS after the run: %d kB" % rss_kb(p.pid))
        stop(p)
    finally:
        scr.close()
        shutil.rmtree(work, ignore_errors=True)


# ---- key press to the question's picture -------------------------------------------------

# The picture area set in opt.ini for the probe: the right half of a 1920 x 1080 screen.
PICTURE_AREA = (960, 200, 900, 700)


def fitted(size, area):
    scale = min(area[0] / size[0], area[1] / size[1])
    return (max(1, min(area[0], round(size[0] * scale))),
            max(1, min(area[1], round(size[1] * scale))))


def fitted_centre(picture, size):
    """The centre 8 x 8 of the picture scaled to `size`."""
    out = subprocess.run(
        ["convert", picture, "-resize", "%dx%d!" % size, "-crop",
         "8x8+%d+%d" % (size[0] // 2 - 4, size[1] // 2 - 4), "+repage", "-scale", "1x1!",
         "-depth", "8", "txt:-"], check=True, capture_output=True, text=True).stdout
    m = re.search(r"\((\d+),(\d+),(\d+)", out.splitlines()[-1])
    return tuple(float(x) for x in m.groups())


def wait_for_pixels(scr, x, y, want, limit):
    """Seconds (monotonic) at which the 8 x 8 at x, y first matched `want`; None past `limit`."""
    deadline = time.monotonic() + limit
    while time.monotonic() < deadline:
        if close_enough(scr.pixels(x, y, 8), want):
            return time.monotonic()
        for _ in scr.events(min(0.05, max(0.0, deadline - time.monotonic()))):
            break
    return None


def run_pictures(args):
    work = tempfile.mkdtemp(prefix="velquo-screen-probe-")
    scr = Screen(work, args.width, args.height)
    test_bank = os.path.join(args.build, "tests", "velquo-test-bank")
    try:
        bg = make_picture(os.path.join(args.pictures, "probe-1920x1080.jpg"), 1920, 1080)
        ref_bg = reference_centre(bg, args.width, args.height)
        inst = make_install(work, args.build, bg, questions=1, velquo=args.velquo)
        ax, ay, aw, ah = PICTURE_AREA
        set_keys(os.path.join(inst, "opt.ini"),
                 {"tupian_left": str(ax), "tupian_top": str(ay), "tupian_width": str(aw),
                  "tupian_height": str(ah)})
        media = os.path.join(inst, "题库素材")
        os.makedirs(media, exist_ok=True)
        subprocess.run(["convert", "-size", "64x64", "xc:black", os.path.join(media, "answer.png")],
                       check=True)
        black = (0.0, 0.0, 0.0)
        print("key press (XTest) to the question's picture visible at its centre, %dx%d, area"
              " %dx%d, openbox, %d draws each" % (args.width, args.height, aw, ah, args.cycles))
        for label, size, name, kind in (("12 MP JPEG", (4000, 3000), "bench.jpg", "media-bench-jpeg"),
                                        ("4K PNG", (3840, 2160), "bench.png", "media-bench-png")):
            picture = make_picture(os.path.join(args.pictures, "probe-media-red-yellow-%dx%d.%s"
                                                % (size[0], size[1], name.rsplit(".", 1)[1])),
                                   size[0], size[1], colours="red-yellow", seed=7)
            shutil.copy(picture, os.path.join(media, name))
            subprocess.run([test_bank, kind, os.path.join(inst, "db.DLL")], check=True)
            shown = fitted(size, (aw, ah))
            want = fitted_centre(picture, shown)
            cx = ax + (aw - shown[0]) // 2 + shown[0] // 2
            cy = ay + (ah - shown[1]) // 2 + shown[1] // 2
            if close_enough(want, black) or close_enough(want, ref_bg):
                raise RuntimeError("the picture's centre is too like the black or the background")
            ms, kb, p = first_frame(scr, [os.path.join(inst, "velquo")], inst, ref_bg)
            log("velquo up after %.1f ms, %d kB" % (ms, kb))
            try:
                subprocess.run(["xdotool", "search", "--sync", "--name", "^晚会随机出题系统$",
                                "windowactivate", "--sync"], check=True, timeout=20,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            except subprocess.SubprocessError:
                pass
            scr.drain(0.5)
            samples = []
            finals = []
            missing = 0
            # The second reading: 3 x 3 points of the shown picture as they are once the area has
            # settled (the sharp picture that follows a quick first one included).
            left, top = ax + (aw - shown[0]) // 2, ay + (ah - shown[1]) // 2
            points = [(left + shown[0] * (2 * i + 1) // 6, top + shown[1] * (2 * j + 1) // 6)
                      for j in range(3) for i in range(3)]
            for _ in range(args.cycles):
                t0 = scr.key("space")  # the draw
                seen = wait_for_pixels(scr, cx, cy, want, 3.0)
                if seen is None:
                    missing += 1
                    scr.drain(0.15)
                else:
                    samples.append((seen - t0) * 1000)
                    changes = [(seen, [scr.pixels(x, y, 8) for x, y in points])]
                    last = time.monotonic()
                    while time.monotonic() - last < 0.15:
                        for t in scr.events(0.15):
                            last = t
                            changes.append((t, [scr.pixels(x, y, 8) for x, y in points]))
                            break
                    at = settled_at(changes, [scr.pixels(x, y, 8) for x, y in points])
                    finals.append(((at if at is not None else last) - t0) * 1000)
                scr.key("space")  # the countdown
                scr.drain(0.15)
                scr.key("space")  # the reveal: the black answer picture
                if wait_for_pixels(scr, cx, cy, black, 3.0) is None:
                    missing += 1
                scr.drain(0.15)
            print("  %-10s ms  %s  (misses %d)  VmRSS %d kB"
                  % (label, stats(samples), missing, rss_kb(p.pid)))
            print("  %-10s ms to the settled picture at 9 points: %s" % (label, stats(finals)))
            stop(p)
    finally:
        scr.close()
        shutil.rmtree(work, ignore_errors=True)


# ---- the welcome picture's memory ---------------------------------------------------------


def run_welcome(args):
    work = tempfile.mkdtemp(prefix="velquo-screen-probe-")
    scr = Screen(work, args.width, args.height)
    try:
        bg = make_picture(os.path.join(args.pictures, "probe-1920x1080.jpg"), 1920, 1080)
        welcome = make_picture(os.path.join(args.pictures, "probe-welcome-3840x2160.jpg"), 3840,
                               2160, colours="black-lime", seed=61)
        inst = make_install(work, args.build, bg, questions=args.questions, welcome=welcome,
                            velquo=args.velquo)
        up = reference_centre(welcome, args.width, args.height)
        down = reference_centre(bg, args.width, args.height)
        if close_enough(up, down):
            raise RuntimeError("the two pictures' centres are alike")
        ms, kb, p = first_frame(scr, [os.path.join(inst, "velquo")], inst, up)
        print("welcome screen (4K welcome.jpg) visible after %.1f ms; VmRSS %d kB" % (ms, kb))
        xtest.fake_input(scr.d, X.MotionNotify, root=scr.root.id, x=args.width // 2,
                         y=args.height // 2)
        xtest.fake_input(scr.d, X.ButtonPress, 1)
        xtest.fake_input(scr.d, X.ButtonRelease, 1)
        scr.d.flush()
        t0 = time.monotonic()
        while not close_enough(scr.centre(), down):
            if time.monotonic() - t0 > 20:
                raise RuntimeError("the welcome screen did not go")
            for _ in scr.events(0.02):
                break
        print("  click to the main screen uncovered: %.1f ms" % ((time.monotonic() - t0) * 1000))
        scr.drain(1.0)
        print("  VmRSS after the welcome screen closed: %d kB" % rss_kb(p.pid))
        stop(p)
    finally:
        scr.close()
        shutil.rmtree(work, ignore_errors=True)


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("mode", choices=["firstframe", "steps", "welcome", "pictures"])
    ap.add_argument("--build", default="build/release")
    ap.add_argument("--velquo", help="another velquo binary to run in the installation (an "
                    "older build, to compare); the build's own by default")
    ap.add_argument("--baseline", help="firstframe: an older velquo binary run in the same "
                    "rounds, for a before-and-after figure the host's drift does not spoil")
    ap.add_argument("--bare", action="store_true", help="firstframe: the bare Qt viewer "
                    "(bench/bare_qt_viewer) joins the rounds, the peer a Qt program is held to")
    ap.add_argument("--pictures", default=tempfile.gettempdir(),
                    help="where the generated test pictures are kept between runs")
    ap.add_argument("--size", choices=list(PICTURE_SIZES), default="4k")
    ap.add_argument("--pairs", type=int, default=9)
    ap.add_argument("--cycles", type=int, default=40)
    ap.add_argument("--questions", type=int, default=10000)
    ap.add_argument("--welcome", action="store_true", help="firstframe: the picture is "
                    "welcome.jpg with the welcome screen on (huanying=1), the peers showing it")
    ap.add_argument("--bank", help="firstframe: this bank file as db.DLL instead of --questions "
                    "made through velquo-bank (velquo-test-bank large-1k ... large-1m)")
    ap.add_argument("--width", type=int, default=SCREEN_W)
    ap.add_argument("--height", type=int, default=SCREEN_H)
    args = ap.parse_args()
    args.build = os.path.abspath(args.build)
    if args.mode == "firstframe":
        run_first_frame(args)
    elif args.mode == "welcome":
        run_welcome(args)
    elif args.mode == "pictures":
        run_pictures(args)
    else:
        run_steps(args)


if __name__ == "__main__":
    main()
