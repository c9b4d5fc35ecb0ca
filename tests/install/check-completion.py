#!/usr/bin/env python3
"""Types vgctl command lines into an interactive bash on a pseudo-terminal, presses Tab and
reads what the completion of vgctl offers, as a user would see it: bash splits the line into
words itself (an "=" of "--option=value" among its word breaks).

Usage: check-completion.py COMPLETION_FILE VGCTL_FOLDER
"""
import os
import pty
import re
import select
import subprocess
import sys
import tempfile
import time

completion, bin_dir = sys.argv[1], sys.argv[2]
failures = []


def read_until_quiet(fd, quiet=0.4, limit=10.0):
    data = b""
    end = time.monotonic() + limit
    while time.monotonic() < end:
        ready, _, _ = select.select([fd], [], [], quiet)
        if not ready:
            break
        try:
            chunk = os.read(fd, 4096)
        except OSError:
            break
        if not chunk:
            break
        data += chunk
    return data.decode(errors="replace")


with tempfile.TemporaryDirectory() as work:
    open(os.path.join(work, "VGL_00001234.CD"), "w").close()
    open(os.path.join(work, "notes.txt"), "w").close()
    inputrc = os.path.join(work, "inputrc")
    with open(inputrc, "w") as f:
        # Every candidate listed at the first Tab, none of them asked about or paged.
        f.write("set show-all-if-ambiguous on\nset completion-query-items 0\n"
                "set page-completions off\nset bell-style none\n")
    env = {"PATH": bin_dir + ":/usr/bin:/bin", "HOME": work, "TERM": "dumb",
           "INPUTRC": inputrc, "PS1": "READY> ", "LANG": "C.UTF-8"}
    pid, fd = pty.fork()
    if pid == 0:
        os.chdir(work)
        os.execve("/bin/bash", ["bash", "--norc", "--noprofile", "-i"], env)
    read_until_quiet(fd)
    os.write(fd, ("source '%s'; bind 'set horizontal-scroll-mode on'\n" % completion).encode())
    read_until_quiet(fd)

    def offered(line):
        """What Tab offers after `line`: the words listed and what it completed in the line."""
        os.write(fd, line.encode() + b"\t")
        shown = read_until_quiet(fd)
        os.write(fd, b"\x15")  # the line is wiped for the next case
        read_until_quiet(fd)
        return shown

    def expect(line, present, absent=()):
        shown = offered(line)
        words = set(re.findall(r"[^\s]+", shown))
        for word in present:
            if not any(word == w or w.endswith(word) for w in words) and word not in shown:
                failures.append("%r: %s not offered; shown: %r" % (line, word, shown))
        for word in absent:
            if re.search(r"(^|\s)%s(\s|$)" % re.escape(word), shown):
                failures.append("%r: %s offered; shown: %r" % (line, word, shown))

    # "--port=C": the value after "=" is completed, as after "--port C".
    com = ["COM1", "COM2", "COM3", "COM4", "COM5", "COM6"]
    expect("vgctl --port=C", com)
    expect("vgctl status --port C", com)
    # The devices vgctl ports lists on this machine, by device and stable name.
    ports = subprocess.run([os.path.join(bin_dir, "vgctl"), "ports"], capture_output=True,
                           text=True, env=env, cwd=work).stdout
    devices = [w for l in ports.splitlines()[1:] for w in l.split() if w.startswith("/dev/")]
    if devices:
        expect("vgctl --port=/dev/", devices)
    # Each command is offered its own options only.
    expect("vgctl download --", ["--verify", "--cu-id", "--port"], ["--csv", "--probe"])
    expect("vgctl ports --", ["--probe", "--dir"], ["--verify", "--csv", "--port", "--trace"])
    expect("vgctl show --", ["--csv"], ["--port", "--verify", "--probe"])
    expect("vgctl watch --", ["--csv", "--simulated"], ["--verify", "--probe"])
    # --port and the fieldbus exclude each other.
    expect("vgctl --port=COM1 status --", ["--trace"], ["--fieldbus", "--simulated", "--port"])
    # The commands, and the .CD files for a command that takes one.
    expect("vgctl d", ["download", "diff"], ["status"])
    expect("vgctl --port COM1 show ", ["VGL_00001234.CD"], ["notes.txt"])
    os.write(fd, b"exit\n")
    os.close(fd)
    os.waitpid(pid, 0)

# Every option vgctl has is completed for some command.
help_text = subprocess.run([os.path.join(bin_dir, "vgctl"), "--help"], capture_output=True,
                           text=True).stdout
source = open(completion).read()
for option in sorted(set(re.findall(r"--[a-z][a-z-]*", help_text))):
    if not re.search(r"(\s|\")%s(\s|\")" % re.escape(option), source):
        failures.append("vgctl has %s, the completion does not offer it" % option)

for failure in failures:
    print("FAIL: " + failure, file=sys.stderr)
if failures:
    sys.exit(1)
print("completion: ok")
