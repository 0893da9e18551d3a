#!/usr/bin/env python3
"""Exported pages in a real browser.

Writes a small history (Japanese comments and texts in Shift_JIS, real BMP
and PNG images, names with a 0x5C trail byte and with characters that need
escaping in a URL) and has html_browser_export.exe export it under Wine in all six
layouts.  Then every page is opened in headless Chromium through its DevTools
pipe, as a user would open it from disk, and the rendered document is read
back: the pages carry no character set, so Chromium has to decode them as
Shift_JIS; every image has to load with its real size; every comment and text
has to read as the intended characters; every link has to name a file beside
the page.

  browser_check.py --exporter <exe> --wine-run <tools/wine-run.sh> --work <dir>
"""

import argparse
import json
import os
import pathlib
import select
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import urllib.parse
import zlib

CHROMIUM = "/usr/bin/chromium"
DEADLINE_SECONDS = 60


def fail(message):
    print("browser_check: FAILED: " + message, file=sys.stderr)
    sys.exit(1)


def windows_path(unix_path):
    return "Z:" + str(unix_path).replace("/", "\\")


def bmp(width, height, rgb):
    """A 24-bit bottom-up BMP filled with one colour."""
    row = bytes((rgb[2], rgb[1], rgb[0])) * width
    row += b"\0" * ((4 - len(row) % 4) % 4)
    pixels = row * height
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return header + info + pixels


def png(width, height, rgb):
    """A 24-bit truecolour PNG filled with one colour."""
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
    rows = (b"\0" + bytes(rgb) * width) * height
    ihdr = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + chunk(b"IDAT", zlib.compress(rows))
            + chunk(b"IEND", b""))


# The history: comment, image (in the images folder, or history-relative with
# a leading backslash), image size or the text of a ".txt" image, and the
# attached text file with its contents.
RECORDS = [
    {"comment": "表示テスト：ソフトの能力", "image": "表\\表示.bmp", "size": (40, 30),
     "text": ("説明1.txt", "日本語の説明<タグ>&記号\r\n二行目")},
    {"comment": "カタカナとひらがな", "image": "\\履歴画像.bmp", "size": (33, 21),
     "text": ("予定表.txt", "予定表：ソース能力")},
    {"comment": "記号 & 名前", "image": "a b'&#%.bmp", "size": (17, 9), "text": None},
    {"comment": "テキスト画像", "image": "\\メモ.txt", "image_text": "メモ：<注意>\r\n以上", "text": None},
    {"comment": "半角ｶﾀｶﾅ", "image": "cap5.png", "size": (8, 8), "text": ("説明5.txt", "最後の説明")},
]
PER_PAGE = 3


def write_history(work):
    history = work / "history"
    images = work / "images"
    (images / "表").mkdir(parents=True)
    history.mkdir()
    lines = ["日時,コメント,ファイルパス,テキスト情報"]
    for i, r in enumerate(RECORDS):
        name = r["image"]
        relative = name.startswith("\\")
        target = history / name[1:] if relative else images / name.replace("\\", "/")
        if "size" in r:
            picture = png if name.endswith(".png") else bmp
            target.write_bytes(picture(*r["size"], (40 * i, 200, 100)))
        else:
            target.write_bytes(r["image_text"].encode("cp932"))
        image_field = name if relative else windows_path(images) + "\\" + name
        text_name = ""
        if r["text"]:
            text_name = r["text"][0]
            (history / text_name).write_bytes(r["text"][1].encode("cp932"))
        lines.append("2024/01/02 03:04:%02d,%s,%s,%s" % (i, r["comment"], image_field, text_name))
    (history / "history.csv").write_bytes(("\r\n".join(lines) + "\r\n").encode("cp932"))


class Browser:
    """Headless Chromium driven through --remote-debugging-pipe (fds 3 and 4)."""

    def __init__(self, profile):
        to_browser_r, self.to_browser = os.pipe()
        self.from_browser, from_browser_w = os.pipe()
        args = [CHROMIUM, "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                "--disable-background-networking", "--disable-component-update", "--disable-sync",
                "--disable-extensions", "--lang=ja", "--user-data-dir=" + str(profile),
                "--remote-debugging-pipe", "about:blank"]
        env = dict(os.environ, LANG="ja_JP.UTF-8", LANGUAGE="ja")
        # Chromium's log goes to a file: a pipe nobody reads could fill up and
        # stop the browser.
        self.log_path = pathlib.Path(profile) / "chromium.log"
        with open(self.log_path, "wb") as log:
            self.process = subprocess.Popen(
                ["bash", "-c", 'exec "$0" "$@" 3<&%d 4>&%d' % (to_browser_r, from_browser_w)] + args,
                pass_fds=(to_browser_r, from_browser_w), env=env,
                stdin=subprocess.DEVNULL, stdout=log, stderr=subprocess.STDOUT)
        os.close(to_browser_r)
        os.close(from_browser_w)
        self.pending = b""
        self.next_id = 0
        self.events = []

    def _read_message(self, deadline):
        while b"\0" not in self.pending:
            left = deadline - time.monotonic()
            if left <= 0:
                fail("Chromium did not answer in time")
            ready, _, _ = select.select([self.from_browser], [], [], left)
            if ready:
                chunk = os.read(self.from_browser, 65536)
                if not chunk:
                    log = self.log_path.read_bytes().decode("utf-8", "replace")
                    fail("Chromium closed its DevTools pipe:\n" + log[-3000:])
                self.pending += chunk
        message, self.pending = self.pending.split(b"\0", 1)
        return json.loads(message)

    def call(self, method, params=None, session=None, deadline=None):
        self.next_id += 1
        message = {"id": self.next_id, "method": method, "params": params or {}}
        if session:
            message["sessionId"] = session
        os.write(self.to_browser, json.dumps(message).encode() + b"\0")
        deadline = deadline or time.monotonic() + 30
        while True:
            reply = self._read_message(deadline)
            if reply.get("id") == self.next_id:
                if "error" in reply:
                    fail("%s: %s" % (method, reply["error"]))
                return reply["result"]
            self.events.append(reply)

    def wait_event(self, method, session, deadline):
        while True:
            for i, e in enumerate(self.events):
                if e.get("method") == method and e.get("sessionId") == session:
                    del self.events[i]
                    return e
            self.events.append(self._read_message(deadline))

    def close(self):
        try:
            self.call("Browser.close", deadline=time.monotonic() + 10)
        except SystemExit:
            pass
        try:
            self.process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()


READ_PAGE = """JSON.stringify({
  charset: document.characterSet,
  title: document.title,
  images: Array.from(document.images).map(i => ({
      src: i.getAttribute('src'), complete: i.complete, width: i.naturalWidth, height: i.naturalHeight})),
  links: Array.from(document.links).map(a => a.getAttribute('href')),
  cells: Array.from(document.querySelectorAll('td')).map(td => td.innerText)
})"""


def words(text):
    return " ".join(text.split())


def check_page(layout, page_file, document, records):
    where = "layout %d %s" % (layout, page_file.name)
    if document["charset"] != "Shift_JIS":
        fail("%s decoded as %s, not Shift_JIS" % (where, document["charset"]))
    if document["title"] != "タイトル":
        fail("%s: title reads %r" % (where, document["title"]))
    cells = [words(c) for c in document["cells"]]
    expected_images = {}
    for r in records:
        if words(r["comment"]) not in cells:
            fail("%s: comment %r not found in %r" % (where, r["comment"], cells))
        name = r["image"].split("\\")[-1]
        if "size" in r:
            expected_images[name] = r["size"]
        else:
            text = words(r["image_text"])
            if not any(c == text for c in cells):
                fail("%s: text of %s reads wrong; cells %r" % (where, name, cells))
        if r["text"] and layout < 4:
            text = words(r["text"][1])
            if text not in cells:
                fail("%s: text of %s reads wrong; cells %r" % (where, r["text"][0], cells))
    seen = {}
    for image in document["images"]:
        name = urllib.parse.unquote(image["src"])
        if not image["complete"] or image["width"] == 0:
            fail("%s: image %r did not load" % (where, image["src"]))
        seen[name] = (image["width"], image["height"])
    if seen != expected_images:
        fail("%s: images %r, expected %r" % (where, seen, expected_images))
    for href in document["links"]:
        target = page_file.parent / urllib.parse.unquote(href)
        if not target.is_file():
            fail("%s: link %r names no file beside the page" % (where, href))
    if layout in (2, 3, 5) and len(document["links"]) != len(records):
        fail("%s: %d links for %d records" % (where, len(document["links"]), len(records)))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--exporter", required=True)
    parser.add_argument("--wine-run", required=True)
    parser.add_argument("--work", required=True)
    args = parser.parse_args()
    if not os.access(CHROMIUM, os.X_OK):
        fail(CHROMIUM + " is missing: the setup installs Debian's chromium package")

    work = pathlib.Path(args.work).resolve()
    shutil.rmtree(work, ignore_errors=True)
    work.mkdir(parents=True)
    write_history(work)
    exported = subprocess.run([args.wine_run, args.exporter, windows_path(work)], capture_output=True, timeout=120)
    if exported.returncode != 0:
        fail("export under Wine failed:\n" + exported.stdout.decode(errors="replace") +
             exported.stderr.decode(errors="replace"))

    deadline = time.monotonic() + DEADLINE_SECONDS
    profile = tempfile.mkdtemp(prefix="gyrolens-chromium-")
    browser = Browser(profile)
    try:
        target = browser.call("Target.createTarget", {"url": "about:blank"})["targetId"]
        session = browser.call("Target.attachToTarget", {"targetId": target, "flatten": True})["sessionId"]
        browser.call("Page.enable", session=session)
        checked = 0
        for layout in range(6):
            pages = sorted((work / ("layout%d" % layout)).glob("page*.htm"))
            if [p.name for p in pages] != ["page1.htm", "page2.htm"]:
                fail("layout %d wrote %r" % (layout, [p.name for p in pages]))
            for n, page_file in enumerate(pages):
                browser.call("Page.navigate", {"url": page_file.as_uri()}, session=session)
                browser.wait_event("Page.loadEventFired", session, deadline)
                result = browser.call("Runtime.evaluate", {"expression": READ_PAGE, "returnByValue": True},
                                      session=session)
                document = json.loads(result["result"]["value"])
                check_page(layout, page_file, document, RECORDS[n * PER_PAGE:(n + 1) * PER_PAGE])
                checked += 1
    finally:
        browser.close()
        shutil.rmtree(profile, ignore_errors=True)
    print("browser_check: %d pages in 6 layouts read as Shift_JIS with every image loaded" % checked)


if __name__ == "__main__":
    main()
