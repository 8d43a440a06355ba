#!/usr/bin/python3
"""The published page in a real browser: headless Chromium against a local
server. Each case compares what the page shows with what the native game
shows for the same seed and keys (`kestrun --frontend headless --dump-png`).

    test_page.py CASE --kestrun BIN --forge BIN --tests DIR --work DIR

Cases: pixels, reload, roster, pad, input-method, idle. Exit status 0 passed,
1 failed, 77 skipped (no web build: `make web`)."""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time
import urllib.parse

from browser import (Chromium, Failure, PageServer, differing_pixels, read_png_rgb,
                     write_png_rgb, WIDTH, HEIGHT)

SKIP = 77
SEED = 1
# The sample with a saved party of three in the bell chamber of floor 1 (the
# adventure test's), where every step meets monsters.
RESUME = "1{Enter}8"           # the scenario, then resume: the camp
BATTLE = RESUME + "0"          # out of the camp: a thief attacks
FOUGHT = BATTLE + "111y111y11"  # two rounds won, the chest forced open
SUSPEND = FOUGHT + "z6y"       # camp, suspend: the roster is saved


class Scenario:
    """The test scenario, built for the native game and published as a page."""

    def __init__(self, args, work):
        self.args = args
        self.work = work
        source = os.path.join(work, "src")
        shutil.copytree(os.path.join(args.tests, "..", "scenarios", "sample"), source)
        shutil.copy(os.path.join(args.tests, "data", "adventure", "roster.toml"), source)
        toml = os.path.join(source, "scenario.toml")
        with open(toml) as f:
            text = f.read()
        with open(toml, "w") as f:
            f.write("\n".join("encounter_chance = 100" if line.startswith("encounter_chance =")
                              else line for line in text.split("\n")))
        self.built = os.path.join(work, "built")
        self.page = os.path.join(work, "page")
        self.run([args.forge, "build", source, self.built, "--new-roster"])
        self.run([args.forge, "web", source, self.page])
        self.runs = 0

    @staticmethod
    def run(command):
        done = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                              text=True)
        if done.returncode != 0:
            raise Failure("%s failed (%d): %s" % (os.path.basename(command[0]),
                                                  done.returncode, done.stdout.strip()))
        return done.stdout

    def fresh_game(self):
        """A copy of the built scenario with its new roster."""
        self.runs += 1
        folder = os.path.join(self.work, "game%d" % self.runs)
        shutil.copytree(self.built, folder)
        return folder

    def native(self, keys, folder=None):
        """The native game's picture after `keys`, from a fresh roster unless
        a folder is given."""
        folder = folder or self.fresh_game()
        picture = os.path.join(self.work, "native%d.png" % self.runs)
        self.run([self.args.kestrun, "--frontend", "headless", "--dir", folder, "--seed",
                  str(SEED), "--keys", keys, "--dump-png", picture])
        return read_png_rgb(picture)[2]


def page_url(server, keys=None, seed=SEED, extra=""):
    query = {"seed": str(seed)}
    if keys:
        query["keys"] = keys
    return server.url + "index.html?" + urllib.parse.urlencode(query) + extra


def fresh_storage(browser, server):
    """The page's store in the browser emptied, as in a browser never used."""
    browser.send("Page.navigate", url="about:blank")
    browser.wait_for("location.href === 'about:blank'", "left the page")
    browser.send("Storage.clearDataForOrigin", origin=server.url.rstrip("/"),
                 storageTypes="indexeddb")


def same_picture(browser, expected, name, work):
    seen = browser.canvas_rgb()
    count, first = differing_pixels(seen, expected)
    if count:
        write_png_rgb(os.path.join(work, name + "-page.png"), WIDTH, HEIGHT, seen)
        write_png_rgb(os.path.join(work, name + "-native.png"), WIDTH, HEIGHT, expected)
        raise Failure("%s: %d pixels differ from the native game's, the first at %s" %
                      (name, count, first))


def case_pixels(scenario, browser, server):
    """The canvas after a key script is the native --dump-png of it."""
    checkpoints = [("title", ""), ("town menu", "1{Enter}"),
                   ("character sheet", RESUME + "12"), ("battle", BATTLE),
                   ("dungeon view", FOUGHT)]
    for name, keys in checkpoints:
        expected = scenario.native(keys)
        fresh_storage(browser, server)
        browser.open(page_url(server, keys))
        browser.wait_idle()
        same_picture(browser, expected, name.replace(" ", "-"), scenario.work)


def case_reload(scenario, browser, server):
    """A party suspended in the page resumes where it stood after a reload."""
    folder = scenario.fresh_game()
    scenario.native(SUSPEND, folder)
    expected = scenario.native(RESUME, folder)
    fresh_storage(browser, server)
    browser.open(page_url(server, SUSPEND))
    browser.wait_for("Module.kestrun.state.saves > 0", "stored the roster")
    browser.wait_idle()
    browser.wait_for("document.getElementById('status').textContent.includes('stored')",
                     "told the player the characters are stored")
    browser.open(page_url(server, RESUME))
    browser.wait_idle()
    same_picture(browser, expected, "resumed", scenario.work)


def download_roster(browser):
    browser.evaluate("document.getElementById('download').click()")
    path = os.path.join(browser.downloads, "1-C.DAT")
    for _ in range(600):
        if os.path.exists(path) and not os.path.exists(path + ".crdownload"):
            return path
        time.sleep(0.1)
    raise Failure("the page gave no roster to download")


def load_roster(browser, path):
    document = browser.send("DOM.getDocument")
    node = browser.send("DOM.querySelector", nodeId=document["root"]["nodeId"],
                        selector="#load-file")
    browser.send("DOM.setFileInputFiles", files=[path], nodeId=node["nodeId"])


def case_roster(scenario, browser, server):
    """The roster downloaded from the page plays in the native game, a roster
    the native game saved loads in the page, and a file that is no roster of
    this scenario is refused with the saved one left as it was."""
    fresh_storage(browser, server)
    browser.open(page_url(server, SUSPEND))
    browser.wait_for("Module.kestrun.state.saves > 0", "stored the roster")
    browser.wait_idle()
    downloaded = download_roster(browser)
    folder = scenario.fresh_game()
    shutil.copy(downloaded, os.path.join(folder, "1-C.DAT"))
    # Back in the native game the party resumes where the page left it.
    reference = scenario.fresh_game()
    scenario.native(SUSPEND, reference)
    if scenario.native(RESUME, folder) != scenario.native(RESUME, reference):
        raise Failure("the downloaded roster does not resume where the page suspended")

    # The native game fights on and suspends again; the page takes that roster.
    scenario.native(RESUME + "0z6y", folder)
    expected = scenario.native(RESUME, folder)
    before = browser.evaluate("Module.kestrun.state.frames")
    load_roster(browser, os.path.join(folder, "1-C.DAT"))
    browser.wait_for("!window.Module || Module.kestrun.state.frames < %d" % before, "reloaded")
    browser.wait_for("document.readyState === 'complete' && !!window.Module", "loaded")
    browser.wait_for("Module.kestrun.state.ready", "started")
    browser.wait_idle()
    browser.type_text("1")
    browser.press("Enter")
    browser.type_text("8")
    browser.wait_idle()
    same_picture(browser, expected, "loaded-roster", scenario.work)

    # A scenario file is not a roster: refused, and the saved roster stays.
    saved = browser.evaluate("Array.from(FS.readFile(Module.kestrun.option('saves') + "
                             "'/1-C.DAT')).join(',')")
    load_roster(browser, os.path.join(folder, "1-S.DAT"))
    browser.wait_for("Module.kestrun.state.problem.includes('unchanged')", "refused the file")
    after = browser.evaluate("Array.from(FS.readFile(Module.kestrun.option('saves') + "
                             "'/1-C.DAT')).join(',')")
    if after != saved:
        raise Failure("a refused file changed the saved roster")


def pad_button(browser, label):
    """The centre of the pad's button with `label`."""
    box = browser.evaluate("""(() => {
      const b = Array.from(document.querySelectorAll('#pad button'))
                     .find((e) => e.textContent === %r);
      if (!b) return null;
      const r = b.getBoundingClientRect();
      return [r.left + r.width / 2, r.top + r.height / 2];
    })()""" % label)
    if box is None:
        raise Failure("the pad has no button %s" % label)
    return box


def tap(browser, label):
    x, y = pad_button(browser, label)
    for kind in ("mousePressed", "mouseReleased"):
        browser.send("Input.dispatchMouseEvent", type=kind, x=x, y=y, button="left",
                     clickCount=1)


def case_pad(scenario, browser, server):
    """On a touch screen the pad appears, and its buttons drive the menus:
    the scenario's letter, Enter, then the camp of the resumed party and a
    member's sheet."""
    browser.send("Emulation.setTouchEmulationEnabled", enabled=True, maxTouchPoints=5)
    # A tablet's screen, with room for the game and the pad below it.
    browser.send("Emulation.setDeviceMetricsOverride", width=800, height=1100,
                 deviceScaleFactor=1, mobile=False)
    fresh_storage(browser, server)
    browser.open(page_url(server))
    browser.wait_idle()
    if browser.evaluate("document.getElementById('pad').hidden"):
        raise Failure("no pad on a touch screen")
    for label in ["1", "Enter", "8", "1", "2"]:
        tap(browser, label)
        browser.wait_idle()
    same_picture(browser, scenario.native(RESUME + "12"), "pad", scenario.work)


def case_input_method(scenario, browser, server):
    """Text composed with an input method reaches the game as Shift-JIS: a
    Japanese answer to the title's question is refused as the native game
    refuses it, and the pad's text field sends its text and Enter."""
    fresh_storage(browser, server)
    browser.open(page_url(server, extra="&pad=1"))
    browser.wait_idle()
    browser.evaluate("document.getElementById('keyboard').focus()")
    browser.send("Input.imeSetComposition", text="かな", selectionStart=2, selectionEnd=2)
    browser.send("Input.imeSetComposition", text="仮名", selectionStart=2, selectionEnd=2)
    browser.send("Input.insertText", text="仮名")
    browser.press("Enter")
    browser.wait_idle()
    same_picture(browser, scenario.native("仮名{Enter}"), "composed", scenario.work)

    fresh_storage(browser, server)
    browser.open(page_url(server, extra="&pad=1"))
    browser.wait_idle()
    browser.evaluate("document.getElementById('pad-name').focus()")
    browser.send("Input.insertText", text="名前")
    browser.evaluate("document.getElementById('pad-submit').click()")
    browser.wait_idle()
    same_picture(browser, scenario.native("名前{Enter}"), "pad-field", scenario.work)


def case_idle(scenario, browser, server):
    """While the game waits for a key the page does (almost) nothing: the
    browser's main thread is busy less than 2% of the time."""
    fresh_storage(browser, server)
    browser.open(page_url(server))
    browser.wait_idle()
    busy = idle_share(browser, 3.0)
    print("main thread busy %.2f%% of the time while the game waits for a key" % (busy * 100))
    if busy > 0.02:
        raise Failure("the page is busy %.1f%% of the time while it waits" % (busy * 100))


def idle_share(browser, seconds):
    """The share of `seconds` the page's main thread spent on tasks."""
    browser.send("Performance.enable")

    def task_seconds():
        metrics = browser.send("Performance.getMetrics")["metrics"]
        return {m["name"]: m["value"] for m in metrics}
    before = task_seconds()
    time.sleep(seconds)
    after = task_seconds()
    return (after["TaskDuration"] - before["TaskDuration"]) / (after["Timestamp"] -
                                                               before["Timestamp"])


CASES = {"pixels": case_pixels, "reload": case_reload, "roster": case_roster,
         "pad": case_pad, "input-method": case_input_method, "idle": case_idle}


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("case", choices=sorted(CASES))
    parser.add_argument("--kestrun", required=True)
    parser.add_argument("--forge", required=True)
    parser.add_argument("--tests", required=True)
    parser.add_argument("--keep", help="keep the work folder here")
    args = parser.parse_args()
    web = os.path.join(os.path.dirname(args.forge), "web", "page", "kestrun.wasm")
    if not os.path.exists(web):
        print("SKIP: no web build (%s): run `make web`" % web)
        return SKIP
    if shutil.which(os.environ.get("CHROMIUM", "chromium")) is None:
        print("SKIP: no chromium (scripts/install-deps.sh installs it)")
        return SKIP
    work = args.keep or tempfile.mkdtemp(prefix="kestrun-browser-")
    os.makedirs(work, exist_ok=True)
    try:
        scenario = Scenario(args, work)
        server = PageServer(scenario.page)
        try:
            with Chromium() as browser:
                CASES[args.case](scenario, browser, server)
        finally:
            server.close()
    except Failure as failure:
        print("FAIL: %s (pictures in %s)" % (failure, work))
        return 1
    if not args.keep:
        shutil.rmtree(work, ignore_errors=True)
    print("passed: %s" % args.case)
    return 0


if __name__ == "__main__":
    sys.exit(main())
