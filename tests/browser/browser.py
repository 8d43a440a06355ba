"""A headless Chromium driven through the DevTools protocol, a static server
for a published page, and the PNG reading and writing the browser tests need.
Only the Debian packages chromium and python3-websocket are used."""

import base64
import functools
import http.server
import json
import os
import shutil
import struct
import subprocess
import tempfile
import threading
import time
import urllib.request
import zlib

try:
    import websocket
except ImportError:
    print("SKIP: python3-websocket is missing (scripts/install-deps.sh installs it)")
    raise SystemExit(77)

WIDTH, HEIGHT = 640, 432
CHROMIUM_FLAGS = [
    "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
    "--disable-background-networking", "--disable-component-update", "--disable-sync",
    "--remote-debugging-port=0", "--remote-allow-origins=*",
]


class Failure(Exception):
    """What a test found wrong, in one sentence."""


class PageServer:
    """Serves a folder on a free port of localhost, as any static server would."""

    def __init__(self, folder):
        handler = functools.partial(_QuietHandler, directory=str(folder))
        self.httpd = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        self.url = "http://127.0.0.1:%d/" % self.httpd.server_address[1]
        self.thread = threading.Thread(target=self.httpd.serve_forever, daemon=True)
        self.thread.start()

    def close(self):
        self.httpd.shutdown()
        self.httpd.server_close()


class _QuietHandler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      ".wasm": "application/wasm", ".js": "text/javascript"}

    def log_message(self, *args):
        pass


class Chromium:
    """One headless Chromium with a fresh profile and one page to drive."""

    def __init__(self, executable=None, log=None):
        self.profile = tempfile.mkdtemp(prefix="kestrun-chromium-")
        self.downloads = os.path.join(self.profile, "downloads")
        os.mkdir(self.downloads)
        executable = executable or os.environ.get("CHROMIUM", "chromium")
        self.process = subprocess.Popen(
            [executable, *CHROMIUM_FLAGS, "--user-data-dir=" + self.profile, "about:blank"],
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
            stderr=log or subprocess.DEVNULL)
        self.port = self._debugging_port()
        self.next_id = 0
        self.events = []
        self.socket = websocket.create_connection(self._page_socket(), timeout=120,
                                                  suppress_origin=True)
        self.send("Page.enable")
        self.send("Runtime.enable")
        self.send("Browser.setDownloadBehavior", behavior="allow", downloadPath=self.downloads)

    def _debugging_port(self):
        port_file = os.path.join(self.profile, "DevToolsActivePort")
        for _ in range(600):
            if self.process.poll() is not None:
                raise Failure("chromium exited with status %d" % self.process.returncode)
            if os.path.exists(port_file):
                with open(port_file) as f:
                    first = f.readline().strip()
                if first:
                    return int(first)
            time.sleep(0.1)
        raise Failure("chromium did not open its debugging port")

    def _page_socket(self):
        with urllib.request.urlopen("http://127.0.0.1:%d/json" % self.port) as response:
            targets = json.load(response)
        for target in targets:
            if target.get("type") == "page":
                return target["webSocketDebuggerUrl"]
        raise Failure("chromium shows no page")

    def send(self, method, **params):
        self.next_id += 1
        call = self.next_id
        self.socket.send(json.dumps({"id": call, "method": method, "params": params}))
        while True:
            message = json.loads(self.socket.recv())
            if message.get("id") == call:
                if "error" in message:
                    raise Failure("%s: %s" % (method, message["error"].get("message")))
                return message.get("result", {})
            if "method" in message:
                self.events.append(message)

    def evaluate(self, expression, awaited=False):
        result = self.send("Runtime.evaluate", expression=expression, returnByValue=True,
                           awaitPromise=awaited)
        if "exceptionDetails" in result:
            raise Failure("the page failed: %s" % result["exceptionDetails"].get("text"))
        return result["result"].get("value")

    def wait_for(self, expression, what, timeout=120):
        """Polls until `expression` is true; a hang fails after `timeout`."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if self.evaluate(expression):
                return
            time.sleep(0.05)
        problem = self.evaluate("window.Module && Module.kestrun.state.problem") or ""
        raise Failure("the page never %s %s" % (what, problem))

    def open(self, url):
        self.send("Page.navigate", url=url)
        self.wait_for("document.readyState === 'complete' && !!window.Module", "loaded")

    def wait_idle(self, timeout=120):
        """Until the game waits for the player with every key taken."""
        self.wait_for("Module.kestrun.state.ready && Module.kestrun.state.waitingForKey && "
                      "Module.kestrun.pending() === 0", "waited for a key", timeout)

    def canvas_rgb(self):
        data = self.evaluate("""(() => {
          const d = document.getElementById('canvas').getContext('2d')
                            .getImageData(0, 0, %d, %d).data;
          const rgb = new Uint8Array(d.length / 4 * 3);
          for (let i = 0, j = 0; i < d.length; i += 4) {
            rgb[j++] = d[i]; rgb[j++] = d[i + 1]; rgb[j++] = d[i + 2];
          }
          let text = '';
          for (let i = 0; i < rgb.length; i += 8192) {
            text += String.fromCharCode.apply(null, rgb.subarray(i, i + 8192));
          }
          return btoa(text);
        })()""" % (WIDTH, HEIGHT))
        return base64.b64decode(data)

    def screenshot(self, path):
        shot = self.send("Page.captureScreenshot", format="png")
        with open(path, "wb") as f:
            f.write(base64.b64decode(shot["data"]))

    def press(self, key):
        """A named key (Enter, ArrowUp, Escape...) as the keyboard sends it."""
        codes = {"Enter": 13, "Escape": 27, "ArrowUp": 38, "ArrowDown": 40, "ArrowLeft": 37,
                 "ArrowRight": 39, "Backspace": 8}
        for kind in ("rawKeyDown", "keyUp"):
            self.send("Input.dispatchKeyEvent", type=kind, key=key, code=key,
                      windowsVirtualKeyCode=codes.get(key, 0))

    def type_text(self, text):
        """Characters as a keyboard types them, one by one."""
        for ch in text:
            self.send("Input.dispatchKeyEvent", type="keyDown", key=ch, text=ch)
            self.send("Input.dispatchKeyEvent", type="keyUp", key=ch)

    def close(self):
        try:
            self.socket.close()
        finally:
            self.process.terminate()
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
            shutil.rmtree(self.profile, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()


def read_png_rgb(path):
    """The pixels of an 8-bit RGB or RGBA PNG, as RGB bytes."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise Failure("%s is not a PNG" % path)
    pos, idat, header = 8, b"", None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour not in (2, 6) or interlace:
        raise Failure("%s: only 8-bit RGB or RGBA PNGs are read here" % path)
    channels = 3 if colour == 2 else 4
    raw = zlib.decompress(idat)
    stride = width * channels
    rows, previous, pos = [], bytearray(stride), 0
    for _ in range(height):
        kind, line = raw[pos], bytearray(raw[pos + 1:pos + 1 + stride])
        pos += 1 + stride
        _unfilter(kind, line, previous, channels)
        rows.append(line)
        previous = line
    pixels = b"".join(bytes(r) for r in rows)
    if channels == 4:
        pixels = b"".join(pixels[i:i + 3] for i in range(0, len(pixels), 4))
    return width, height, pixels


def _unfilter(kind, line, previous, bpp):
    for i in range(len(line)):
        left = line[i - bpp] if i >= bpp else 0
        up = previous[i]
        if kind == 1:
            line[i] = (line[i] + left) & 0xFF
        elif kind == 2:
            line[i] = (line[i] + up) & 0xFF
        elif kind == 3:
            line[i] = (line[i] + (left + up) // 2) & 0xFF
        elif kind == 4:
            corner = previous[i - bpp] if i >= bpp else 0
            p = left + up - corner
            pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
            line[i] = (line[i] + (left if pa <= pb and pa <= pc else up if pb <= pc else corner)) & 0xFF


def write_png_rgb(path, width, height, pixels):
    """Saves RGB bytes as a PNG, to look at what a test saw."""
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(
            ">I", zlib.crc32(kind + body) & 0xFFFFFFFF)
    stride = width * 3
    raw = b"".join(b"\x00" + pixels[y * stride:(y + 1) * stride] for y in range(height))
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2,
                                                                   0, 0, 0))
                + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


def differing_pixels(a, b):
    """How many pixels differ, and where the first one is."""
    count, first = 0, None
    for i in range(0, min(len(a), len(b)), 3):
        if a[i:i + 3] != b[i:i + 3]:
            count += 1
            if first is None:
                first = ((i // 3) % WIDTH, (i // 3) // WIDTH)
    return count, first
