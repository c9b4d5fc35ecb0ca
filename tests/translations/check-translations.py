#!/usr/bin/env python3
"""Checks a translation of the windows (translations/vgconfig_<code>.ts).

finished TS
    Fails on an entry that is unfinished, obsolete or vanished, or empty, and on one whose
    translation lost what the program fills in or acts on: the %1 placeholders, the access
    key (&), the line breaks.
covers LUPDATE TS SOURCE_DIR INCLUDE_DIR
    Runs lupdate over the sources (their headers found below INCLUDE_DIR) into a copy of TS
    and fails on every source text that has no translation there (a text added to the
    windows and not yet translated) and on every entry of TS the sources no longer have
    (obsolete: a text changed or removed without running lupdate).
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET


def messages(path):
    for context in ET.parse(path).getroot().iter("context"):
        name = context.findtext("name")
        for message in context.iter("message"):
            yield name, message


def text(element):
    return "" if element is None or element.text is None else element.text


def placeholders(s):
    return sorted(re.findall(r"%\d+", s))


def access_keys(s):
    return len(re.findall(r"&(?!&)", s.replace("&&", "")))


def finished(ts):
    faults = []
    count = 0
    for context, message in messages(ts):
        count += 1
        source = text(message.find("source"))
        translation = message.find("translation")
        where = f"{context}: {source!r}"
        kind = translation.get("type") if translation is not None else "missing"
        if kind in ("unfinished", "obsolete", "vanished", "missing"):
            faults.append(f"{where} is {kind}")
            continue
        german = text(translation)
        if not german.strip():
            faults.append(f"{where} has an empty translation")
            continue
        if placeholders(source) != placeholders(german):
            faults.append(f"{where}: placeholders {placeholders(german)} in {german!r}")
        if access_keys(source) != access_keys(german):
            faults.append(f"{where}: access keys differ in {german!r}")
        if source.count("\n") != german.count("\n"):
            faults.append(f"{where}: line breaks differ in {german!r}")
    if count == 0:
        faults.append(f"{ts} holds no texts")
    return faults


def covers(lupdate, ts, sources, include):
    with tempfile.TemporaryDirectory() as folder:
        copy = os.path.join(folder, os.path.basename(ts))
        shutil.copyfile(ts, copy)
        run = subprocess.run([lupdate, "-silent", "-locations", "none",
                              "-I", include, sources, "-ts", copy], capture_output=True, text=True)
        if run.returncode != 0:
            return [f"lupdate failed: {run.stderr.strip()}"]
        faults = []
        count = 0
        for context, message in messages(copy):
            count += 1
            translation = message.find("translation")
            source = text(message.find("source"))
            kind = translation.get("type") if translation is not None else None
            if kind in ("obsolete", "vanished"):
                faults.append(f"{context}: {source!r} is no longer in the sources")
            elif translation is None or kind == "unfinished" or not text(translation).strip():
                faults.append(f"{context}: {source!r} has no translation")
        if count == 0:
            faults.append(f"lupdate found no texts in {sources}")
        return faults


def main(argv):
    if len(argv) == 3 and argv[1] == "finished":
        faults = finished(argv[2])
    elif len(argv) == 6 and argv[1] == "covers":
        faults = covers(argv[2], argv[3], argv[4], argv[5])
    else:
        print(__doc__, file=sys.stderr)
        return 2
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
