#!/usr/bin/env python3
"""Builds GyrolensHelp.chm from the help folder.

The pages, the contents (.hhc), the index (.hhk) and the project (.hhp) are
kept in UTF-8; each is converted to Shift_JIS with CR LF (the pages declare
charset=Shift_JIS, which HTML Help reads) and the project is compiled with
chmcmd.

  make-help.py [--chmcmd PATH] HELP_FOLDER OUT_FOLDER   -> OUT_FOLDER/GyrolensHelp.chm
"""

import argparse
import pathlib
import shutil
import subprocess
import sys

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
import shiftjis  # noqa: E402

PROJECT = "GyrolensHelp.hhp"
OUTPUT = "GyrolensHelp.chm"
SUFFIXES = {".htm", ".css", ".hhp", ".hhc", ".hhk"}
CHARSET_META = '<meta http-equiv="Content-Type" content="text/html; charset=Shift_JIS">'


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--chmcmd", default="chmcmd")
    parser.add_argument("source")
    parser.add_argument("out")
    args = parser.parse_args()
    source, out = pathlib.Path(args.source), pathlib.Path(args.out)
    stage = out / "pages"
    shutil.rmtree(stage, ignore_errors=True)
    stage.mkdir(parents=True)
    for f in sorted(source.iterdir()):
        if f.suffix not in SUFFIXES:
            continue
        if f.suffix in (".htm", ".hhc", ".hhk") and CHARSET_META not in f.read_text(encoding="utf-8"):
            sys.exit(f"{f}: the charset meta is missing: {CHARSET_META}")
        shiftjis.convert(f, stage / f.name)
    run = subprocess.run([args.chmcmd, "--verbosity", "1", PROJECT], cwd=stage,
                         stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True, errors="replace")
    built = stage / OUTPUT
    if run.returncode != 0 or "error" in run.stdout.lower() or not built.exists():
        sys.exit("chmcmd failed:\n" + run.stdout)
    shutil.move(str(built), str(out / OUTPUT))


if __name__ == "__main__":
    main()
