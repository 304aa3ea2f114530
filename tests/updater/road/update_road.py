#!/usr/bin/env python3
"""The update road end to end under Wine: a loopback HTTP server of the test serves
the package, a Windows-side launcher starts Update.exe exactly as the main program
does while a fake main program runs, and this script checks the program folder and
the fake program's log afterwards, for a good package and for each failure mode."""

import argparse
import http.server
import os
import shutil
import struct
import subprocess
import sys
import threading
import time
import zlib


def wine_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def chunked(data):
    chunks = [data[i:i + 100000] for i in range(0, len(data), 100000)]
    out = struct.pack("<I", len(chunks))
    for chunk in chunks:
        packed = zlib.compress(chunk)
        out += struct.pack("<II", len(chunk), len(packed)) + packed
    return out


def pack(entries, compressed=True):
    out = b"SRES" + struct.pack("<I", 1 if compressed else 0)
    for name, data in entries:
        stored = chunked(data) if compressed else data
        out += struct.pack("<I", len(stored)) + name.encode("cp1252") + b"\0" + stored
    return out + struct.pack("<I", 0xFFFFFFFF)


def crc(data):
    return zlib.crc32(data) & 0xFFFFFFFF


class Server(http.server.ThreadingHTTPServer):
    daemon_threads = True
    routes = {}


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"

    def log_message(self, *args):
        pass

    def do_GET(self):
        route = self.server.routes.get(self.path.split("?")[0])
        if route is None:
            self.send_error(404)
            return
        mode, body = route
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        if mode != "nolength":
            self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        try:
            if mode == "short":
                self.wfile.write(body[: len(body) // 2])
            elif mode == "slow":
                step = max(1, len(body) // 25)
                for start in range(0, len(body), step):
                    self.wfile.write(body[start:start + step])
                    self.wfile.flush()
                    time.sleep(0.06)
            else:
                self.wfile.write(body)
        except (BrokenPipeError, ConnectionResetError):
            pass


def snapshot(folder):
    files = {}
    for root, dirs, names in os.walk(folder):
        relative = os.path.relpath(root, folder)
        for name in dirs:
            files[os.path.normpath(os.path.join(relative, name)) + "/"] = b""
        for name in names:
            with open(os.path.join(root, name), "rb") as handle:
                files[os.path.normpath(os.path.join(relative, name))] = handle.read()
    return files


def read_log(path):
    if not os.path.exists(path):
        return []
    with open(path, "r") as handle:
        return [line.split() for line in handle.read().splitlines() if line.strip()]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--wine-run", required=True)
    parser.add_argument("--updater", required=True)
    parser.add_argument("--launcher", required=True)
    parser.add_argument("--fake-main", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--only", default="")
    args = parser.parse_args()

    shutil.rmtree(args.work, ignore_errors=True)
    os.makedirs(args.work)
    with open(args.fake_main, "rb") as handle:
        old_main = handle.read()
    with open(args.updater, "rb") as handle:
        updater = handle.read()
    # The new version differs in size, so the log tells which one ran.
    new_main = old_main + b"NEW VERSION " * 400
    new_files = [
        ("melvora.exe", new_main),
        ("a.dll", os.urandom(150000) + b"new a"),
        ("sub folder\\b.dat", b"b" * 250000),
        ("Readme.txt", b"new readme"),
    ]
    good = pack(new_files)
    not_a_pack = b"<html><body>Not a package</body></html>" * 10
    hostile = pack([("melvora.exe", new_main), ("..\\outside.dll", b"escape")])

    server = Server(("127.0.0.1", 0), Handler)
    server.routes = {
        "/good.bin": ("plain", good),
        "/nolength.bin": ("nolength", good),
        "/slow.bin": ("slow", good),
        "/short.bin": ("short", good),
        "/notpack.bin": ("plain", not_a_pack),
        "/hostile.bin": ("plain", hostile),
    }
    threading.Thread(target=server.serve_forever, daemon=True).start()
    base = "http://127.0.0.1:%d" % server.server_address[1]

    # name, path, checksum, succeeds, locks a file
    cases = [
        ("good", "/good.bin", crc(good), True, False),
        ("no length", "/nolength.bin", crc(good), True, False),
        ("slow body", "/slow.bin", crc(good), True, False),
        ("wrong crc", "/good.bin", crc(good) ^ 0x80000000, False, False),
        ("short body", "/short.bin", crc(good), False, False),
        ("404", "/missing.bin", crc(good), False, False),
        ("not a pack", "/notpack.bin", crc(not_a_pack), False, False),
        ("hostile names", "/hostile.bin", crc(hostile), False, False),
        ("locked file", "/good.bin", crc(good), False, True),
    ]
    failures = []
    # A case that fails runs once more from its start and only its second run counts;
    # the first run's problems stay in the output.
    queue = [(index, case, 1) for index, case in enumerate(cases)]
    while queue:
        index, (name, path, checksum, succeeds, locks), attempt = queue.pop(0)
        if args.only and args.only != name:
            continue
        root = os.path.join(args.work, "case%d" % index if attempt == 1 else "case%d-again" % index)
        folder = os.path.join(root, "Melvora Program %d" % index)
        os.makedirs(folder)
        for file_name, data in [("melvora.exe", old_main), ("Update.exe", updater), ("a.dll", b"old a"),
                                ("Readme.txt", b"old readme"), ("keep.ini", b"[settings]\r\n")]:
            with open(os.path.join(folder, file_name), "wb") as handle:
                handle.write(data)
        log = os.path.join(root, "road.log")
        environment = dict(os.environ, MELVORA_ROAD_LOG=wine_path(log))
        before = snapshot(folder)
        locker = None
        if locks:
            locker_folder = os.path.join(root, "locker")
            os.makedirs(locker_folder)
            shutil.copy(args.fake_main, os.path.join(locker_folder, "locker.exe"))
            locker = subprocess.Popen([args.wine_run, os.path.join(locker_folder, "locker.exe"), "/LOCK",
                                       wine_path(os.path.join(folder, "Readme.txt")), "120000"], env=environment)
            deadline = time.time() + 20
            while time.time() < deadline and not any(line[0] == "lock" for line in read_log(log)):
                time.sleep(0.1)
        timed_out = False
        try:
            run = subprocess.run([args.wine_run, args.launcher, wine_path(folder) + "\\", str(checksum),
                                  base + path, "1500"], env=environment, capture_output=True, text=True, timeout=120)
        except subprocess.TimeoutExpired as expired:
            timed_out = True
            run = subprocess.CompletedProcess(expired.cmd, None, expired.stdout or "", expired.stderr or "")
            run.stdout = run.stdout if isinstance(run.stdout, str) else run.stdout.decode(errors="replace")
            run.stderr = run.stderr if isinstance(run.stderr, str) else run.stderr.decode(errors="replace")
        report = dict(line.split("=", 1) for line in run.stdout.splitlines() if "=" in line)
        # The program started again by the updater runs briefly and writes its end.
        deadline = time.time() + 20
        while time.time() < deadline and sum(1 for line in read_log(log) if line[0] == "end") < 2:
            time.sleep(0.1)
        if locker is not None:
            open(log + ".release", "wb").close()
            locker.wait(timeout=60)
        lines = [line for line in read_log(log) if line[0] in ("start", "end")]
        after = snapshot(folder)
        problems = []
        if timed_out:
            problems.append("the launcher did not end within 120 s; the road's log: %r" % read_log(log))
        expected_result = "done" if succeeds else "failed"
        if report.get("result") != expected_result:
            problems.append("result %r, expected %s (stdout %r, stderr %r)" %
                            (report.get("result"), expected_result, run.stdout, run.stderr[-500:]))
        # The updater's window appears only once the main program (held 1.5 s) has ended.
        if int(report.get("appeared_ms", "0")) < 900:
            problems.append("window after %s ms: it did not wait for the main program" % report.get("appeared_ms"))
        restarted = str(len(new_main) if succeeds else len(old_main))
        expected_lines = [["start", str(len(old_main))], ["end", str(len(old_main))], ["start", restarted],
                          ["end", restarted]]
        if lines != expected_lines:
            problems.append("log %r, expected %r" % (lines, expected_lines))
        if succeeds:
            expected = dict(before)
            for file_name, data in new_files:
                expected[file_name.replace("\\", "/")] = data
            expected["sub folder/"] = b""
            if after != expected:
                changed = sorted(k for k in set(after) | set(expected) if after.get(k) != expected.get(k))
                problems.append("folder after update differs: %s" % changed)
        else:
            if after != before:
                changed = sorted(k for k in set(after) | set(before) if after.get(k) != before.get(k))
                problems.append("folder changed by a failed update: %s" % changed)
            if locks and int(report.get("items", "0")) < 1:
                problems.append("no failed path listed for the locked file")
        if name == "slow body":
            positions = [int(p) for p in report.get("positions", "").split(",") if p]
            if not any(0 < p < 1000 for p in positions):
                problems.append("the bar never moved: %r" % positions)
        if name == "no length":
            positions = [int(p) for p in report.get("positions", "").split(",") if p]
            if any(p != 0 for p in positions):
                problems.append("an unknown length moved the bar: %r" % positions)
        if os.path.exists(os.path.join(os.path.dirname(folder), "outside.dll")):
            problems.append("a hostile entry escaped the folder")
        print("%-14s %s" % (name, "ok" if not problems else "FAILED"))
        for problem in problems:
            print("    " + problem)
        if problems and attempt == 1:
            print("%-14s failed; running it once more" % name)
            queue.insert(0, (index, (name, path, checksum, succeeds, locks), 2))
            continue
        failures.extend(problems)
    server.shutdown()
    if not failures:
        shutil.rmtree(args.work, ignore_errors=True)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
