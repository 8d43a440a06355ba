#!/usr/bin/python3
"""Figures of the sample's web page: its size (what a browser downloads,
gzip-compressed as a web server sends it), the time from opening the address
to the title waiting for a key in headless Chromium, and the processor time
the page uses while the game waits for a key.

    web_page.py BUILD    (BUILD holds kestrun-forge and web/page: `make web`)"""

import gzip
import os
import statistics
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests",
                                "browser"))
from browser import Chromium, PageServer  # noqa: E402

RUNS = 5
IDLE_SECONDS = 10


def gzip_size(path):
    with open(path, "rb") as f:
        return len(gzip.compress(f.read(), 6))


def sizes(page):
    groups = {"script": ["kestrun.js", "page.js", "index.html", "page.css"],
              "wasm": ["kestrun.wasm"], "data": ["scenario.json"]}
    groups["data"] += [os.path.join("scenario", n) for n in os.listdir(os.path.join(page,
                                                                                    "scenario"))]
    total_raw = total_gzip = 0
    for group, names in groups.items():
        raw = sum(os.path.getsize(os.path.join(page, n)) for n in names)
        packed = sum(gzip_size(os.path.join(page, n)) for n in names)
        total_raw += raw
        total_gzip += packed
        print("  %-6s %9d bytes, %8d gzip" % (group, raw, packed))
    print("  total  %9d bytes, %8d gzip" % (total_raw, total_gzip))


def process_tree_cpu(root):
    """Processor seconds used so far by `root` and all its descendants."""
    ticks = os.sysconf("SC_CLK_TCK")
    children = {}
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            with open("/proc/%s/stat" % pid) as f:
                fields = f.read().rsplit(")", 1)[1].split()
            children.setdefault(int(fields[1]), []).append((int(pid), fields))
        except OSError:
            continue
    total, todo = 0, [root]
    while todo:
        for pid, fields in children.get(todo.pop(), []):
            total += int(fields[11]) + int(fields[12])
            todo.append(pid)
    return total / ticks


def main():
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build")
    page = tempfile.mkdtemp(prefix="kestrun-web-bench-")
    forge = os.path.join(build, "kestrun-forge")
    sample = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "scenarios",
                          "sample")
    if os.system("'%s' web '%s' '%s' >/dev/null" % (forge, sample, page)) != 0:
        print("no web build: run `make web`")
        return 1
    print("== web page of the sample: size")
    sizes(page)
    server = PageServer(page)
    times = []
    with Chromium() as browser:
        for _ in range(RUNS):
            browser.send("Page.navigate", url="about:blank")
            started = time.monotonic()
            browser.send("Page.navigate", url=server.url + "index.html")
            browser.wait_for("window.Module && Module.kestrun.state.waitingForKey",
                             "reached the title", 120)
            times.append(time.monotonic() - started)
        print("== web page: opening the address to the title waiting for a key "
              "(headless Chromium, %d runs)" % RUNS)
        print("  median %.0f ms, min %.0f ms, max %.0f ms" % (
            statistics.median(times) * 1000, min(times) * 1000, max(times) * 1000))
        browser.send("Performance.enable")
        before_tasks = {m["name"]: m["value"]
                        for m in browser.send("Performance.getMetrics")["metrics"]}
        before_cpu = process_tree_cpu(browser.process.pid)
        time.sleep(IDLE_SECONDS)
        after_cpu = process_tree_cpu(browser.process.pid)
        after_tasks = {m["name"]: m["value"]
                       for m in browser.send("Performance.getMetrics")["metrics"]}
        busy = after_tasks["TaskDuration"] - before_tasks["TaskDuration"]
        print("== web page: %d s waiting at the title" % IDLE_SECONDS)
        print("  page main thread busy %.1f ms (%.3f%%); all of Chromium %.0f ms of CPU (%.2f%%)"
              % (busy * 1000, busy / IDLE_SECONDS * 100, (after_cpu - before_cpu) * 1000,
                 (after_cpu - before_cpu) / IDLE_SECONDS * 100))
    server.close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
