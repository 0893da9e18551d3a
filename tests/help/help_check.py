#!/usr/bin/env python3
"""GyrolensHelp.chm as HTML Help reads it, listed with chmls: every page
of the help folder in Shift_JIS with the charset it declares, the full-text
index, contents ("目次") reaching every page under its title, a keyword
index ("キーワード") whose words lead to pages that speak of them, and every
text of the menus, pages, key panel and dialogs as the program shows it.
"""

import argparse
import html
import pathlib
import re
import subprocess
import sys
import tempfile

CHARSET_META = '<meta http-equiv="Content-Type" content="text/html; charset=Shift_JIS">'
# Words a user looks up, with the page that has to explain each.
KEYWORDS = {
    "使用中": "key-in-use.htm", "キー割り当て": "key-panel.htm", "ホットキー": "key-panel.htm",
    "キャプチャー監視": "first-capture.htm", "選択枠描画": "capture-modes.htm", "カーソル描画": "capture-modes.htm",
    "PNG": "settings-format.htm", "クリップボードにコピー": "settings-format.htm", "保存先": "settings-savefile.htm",
    "ごみ箱": "history-list.htm", "テキストファイル": "text-files.htm", "プレビュー": "preview.htm",
    "復元": "history-files.htm", "HTML出力": "html-export.htm", "レイアウト": "html-layouts.htm",
    "Gyrolens.ini": "files-ini.htm", "CSV": "files-history.htm", "アンインストール": "install.htm",
    "作業フォルダー": "install.htm", "メッセージ": "messages.htm",
}
# Texts the program shows that no resource script holds.
PROGRAM_TEXTS = ["有効", "無効", "使用中", "PNG", "クリップボードにコピー", "イメージ1", "イメージ4", "キャプチャ停止中",
                 "キャプチャ監視中", "新規 - Gyrolens Ver1.2", "ヘルプファイルが見つかりません。",
                 "日時,コメント,ファイルパス,テキスト情報"]
# Resource texts that are not for reading: the popup's hidden parent, the
# colour buttons, the about box (its own window).
NOT_SHOWN = {"ダミーです", "...", "OK", "イメージ%d"}

failures = []


def check(ok, message):
    if not ok:
        failures.append(message)
        print("help_check: FAILED: " + message, file=sys.stderr)


def chmls(*args):
    r = subprocess.run(["chmls", "-p", *args], stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    if r.returncode != 0:
        sys.exit(f"chmls {' '.join(args)}: {r.stderr.decode(errors='replace')}")
    return r.stdout


def sitemap(data):
    """(Name, Local) of every entry of a contents or index file."""
    text = data.decode("cp932")
    entries = []
    for obj in re.findall(r"<object[^>]*>(.*?)</object>", text, re.S | re.I):
        params = dict(re.findall(r'<param name="(\w+)" value="([^"]*)"', obj, re.I))
        if "Name" in params:
            entries.append((params["Name"], params.get("Local", "")))
    return entries


def plain_text(page):
    return html.unescape(re.sub(r"<[^>]+>", "", page))


def resource_texts(folder):
    """Menu items and the texts of the dialogs' controls, as shown."""
    texts = set()
    for rc in sorted(folder.glob("*.rc")):
        source = rc.read_text(encoding="utf-8")
        source = re.sub(r"IDD_ABOUT DIALOGEX.*?\nEND", "", source, flags=re.S)
        source = re.sub(r"VS_VERSION_INFO.*", "", source, flags=re.S)
        for kind, text in re.findall(r'^\s*(MENUITEM|POPUP|CAPTION|LTEXT|RTEXT|CTEXT|GROUPBOX|AUTOCHECKBOX|'
                                     r'AUTORADIOBUTTON|PUSHBUTTON|DEFPUSHBUTTON|CONTROL)\s+"([^"]+)"', source, re.M):
            # Menus show their mnemonics as "(X)"; the help names a dialog's
            # fields without them.
            mnemonic = r"(\1)" if kind in ("MENUITEM", "POPUP") else ""
            text = re.sub(r"\(&(.)\)", mnemonic, text).replace("&", "").strip()
            if text and text not in NOT_SHOWN and not text.startswith("#"):
                texts.add(text)
    return texts


def main():
    parser = argparse.ArgumentParser()
    for name in ("chm", "source", "resources"):
        parser.add_argument("--" + name, required=True)
    args = parser.parse_args()
    chm = args.chm
    pages = sorted(p.name for p in pathlib.Path(args.source).glob("*.htm"))

    names = {line.strip().lstrip("/") for line in chmls("-n", "list", chm).decode("latin-1").splitlines()}
    for name in pages + ["GyrolensHelp.hhc", "GyrolensHelp.hhk", "$FIftiMain", "#WINDOWS", "#TOPICS"]:
        check(name in names, f"{name} is not in the help file")
    # The compiler's binary index holds its keywords as UTF-16 made from
    # single bytes: Japanese keywords would read as question marks.
    check("$WWKeywordLinks/BTree" not in names, "the help file has a binary keyword index")

    with tempfile.TemporaryDirectory() as tmp:
        tmp = pathlib.Path(tmp)
        texts = {}
        for page in pages:
            chmls("extract", chm, "/" + page, str(tmp / page))
            raw = (tmp / page).read_bytes()
            text = raw.decode("cp932")  # a page that is not Shift_JIS stops the check here
            check(CHARSET_META in text, f"{page} does not declare Shift_JIS")
            check(b"\n" not in raw.replace(b"\r\n", b""), f"{page} has line ends other than CR LF")
            texts[page] = text
        chmls("extracttoc", chm, str(tmp / "toc"))
        chmls("extract", chm, "/GyrolensHelp.hhk", str(tmp / "index"))
        contents = sitemap((tmp / "toc").read_bytes())
        index = sitemap((tmp / "index").read_bytes())

    # Contents: every page once, under its own title.
    reached = [local for _, local in contents if local]
    check(sorted(reached) == pages, f"the contents reach {sorted(reached)}, the pages are {pages}")
    for name, local in contents:
        title = re.search(r"<title>(.*?)</title>", texts.get(local, ""))
        if local and title:
            check(title.group(1).endswith(name), f"contents entry {name!r} leads to {local} titled {title.group(1)!r}")

    # Keyword index: each entry speaks of its word on its page.
    found = dict(index)
    for word, page in KEYWORDS.items():
        check(found.get(word) == page, f"keyword {word!r} leads to {found.get(word)!r}, not {page}")
    for word, local in index:
        stem = re.sub(r"（.*?）", "", word).split("、")[0]
        check(stem in plain_text(texts.get(local, "")), f"keyword {word!r}: {local} does not mention {stem!r}")

    # The program's own texts, as the user reads them.
    everything = "".join(plain_text(t) for t in texts.values())
    for text in sorted(resource_texts(pathlib.Path(args.resources)) | set(PROGRAM_TEXTS)):
        check(text in everything, f"the help never mentions {text!r}")

    if failures:
        sys.exit(1)
    print(f"help_check: {len(pages)} topics, {len(contents)} contents entries, {len(index)} keywords")


if __name__ == "__main__":
    main()
