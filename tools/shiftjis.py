#!/usr/bin/env python3
"""Converts a text file kept in UTF-8 in the repository into what Windows
programs read: Shift_JIS (code page 932) with CR LF line ends.

  shiftjis.py SOURCE TARGET

A character that Shift_JIS cannot hold stops the build instead of turning
into a question mark.
"""

import pathlib
import sys


def shift_jis_bytes(text):
    lines = text.replace("\r\n", "\n").split("\n")
    return "\r\n".join(lines).encode("cp932")


def convert(source, target):
    source = pathlib.Path(source)
    try:
        data = shift_jis_bytes(source.read_text(encoding="utf-8"))
    except UnicodeError as e:
        sys.exit(f"{source}: {e}")
    target = pathlib.Path(target)
    target.parent.mkdir(parents=True, exist_ok=True)
    target.write_bytes(data)


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit("usage: shiftjis.py SOURCE TARGET")
    convert(sys.argv[1], sys.argv[2])
