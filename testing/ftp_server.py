#!/usr/bin/env python3
"""FTP server for the download engine's tests and benchmark, on 127.0.0.1 only.

Serves --root to the user --user with --password (full rights) and to anonymous users (read and
write). Faults are chosen by the file name, so that a test names the fault it wants:
  drop-NAME     the connection is dropped after half the file has been sent
  slow-NAME     the file is sent in 1024-byte pieces, 20 ms apart
  stall-NAME    half the file is sent, then nothing more
  trickle-NAME  the file is sent one byte every 0.2 s: never silent, far too slow
  refuse-NAME   STOR is refused with 550
  a folder named "evil" lists the names "../evil.zip", "a/b.zip" and "good.zip" and serves "good.zip"
  a folder named "huge" lists 9 MB of made-up names besides its real files
--without VERB,VERB answers those commands as unknown (502), like a server that lacks them;
--idle-timeout SECONDS closes a control connection that has been silent that long (421 first).
Every log-in, every command (without the password) and every closed control connection is appended
to --log, one per line: "LOGIN user", "CMD VERB argument" and "CLOSE". The port is printed as
"PORT n"; the server ends with its stdin.
"""
import argparse
import logging
import os
import sys
import threading
import time
import warnings

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.filesystems import AbstractedFS
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer

ARGS = None


def log(line):
    with open(ARGS.log, "a", encoding="utf-8") as out:
        out.write(line + "\n")


class FaultFile:
    """A file whose reads follow the fault its name asks for."""

    def __init__(self, path, handler):
        self.file = open(path, "rb")
        self.name = path
        self.handler = handler
        self.kind = os.path.basename(path).split("-", 1)[0]
        self.half = os.path.getsize(path) // 2
        self.sent = 0

    def read(self, size):
        if self.kind == "slow":
            time.sleep(0.02)
            size = min(size, 1024)
        elif self.kind == "trickle":
            time.sleep(0.2)
            size = 1
        elif self.kind in ("drop", "stall") and self.sent >= self.half:
            if self.kind == "drop":
                self.handler.close()
                return b""
            time.sleep(3600)  # the test ends the server
        elif self.kind in ("drop", "stall"):
            size = min(size, self.half - self.sent)
        data = self.file.read(size)
        self.sent += len(data)
        return data

    def close(self):
        self.file.close()

    @property
    def closed(self):
        return self.file.closed


class FaultFS(AbstractedFS):
    def open(self, filename, mode):
        base = os.path.basename(filename)
        if "r" in mode and base.split("-", 1)[0] in ("drop", "slow", "stall", "trickle"):
            return FaultFile(filename, self.cmd_channel)
        return super().open(filename, mode)


class FaultHandler(FTPHandler):
    abstracted_fs = FaultFS

    def on_login(self, username):
        log("LOGIN " + username)

    def on_disconnect(self):
        log("CLOSE")

    def _on_dtp_connection(self):
        # pyftpdlib keeps its active-mode connector after handing the socket to the data channel;
        # closing that connector later (at the next PORT or the session's end) unregisters the
        # socket's number, which by then may be another client's connection, never read again.
        self._dtp_connector = None
        super()._on_dtp_connection()

    def pre_process_command(self, line, cmd, arg):
        log("CMD " + cmd + ("" if cmd == "PASS" or not arg else " " + arg))
        if cmd in ARGS.without:
            self.respond("502 Command not implemented.")
            return
        if cmd == "STOR" and os.path.basename(arg or "").startswith("refuse-"):
            self.respond("550 Not allowed here.")
            return
        folder = (arg or self.fs.cwd).rstrip("/")
        if cmd in ("MLSD", "LIST") and folder.endswith("/evil"):
            self.push_crafted_listing(cmd, ["../evil.zip", "a/b.zip", "good.zip"])
            return
        if cmd in ("MLSD", "LIST") and folder.endswith("/huge"):
            names = [f"made-up-name-{n:06}.bin" for n in range(9 * 1024 * 1024 // 50)]
            self.push_crafted_listing(cmd, os.listdir(self.fs.ftp2fs(folder)) + names)
            return
        super().pre_process_command(line, cmd, arg)

    def push_crafted_listing(self, cmd, names):
        if cmd == "MLSD":
            lines = "".join(f"type=file;size=4;modify=20240101000000; {n}\r\n" for n in names)
        else:
            lines = "".join(f"-rw-r--r-- 1 u g 4 Jan 01 2024 {n}\r\n" for n in names)
        self.push_dtp_data(lines.encode(), cmd=cmd)


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--user", default="user")
    parser.add_argument("--password", default="secret")
    parser.add_argument("--log", required=True)
    parser.add_argument("--without", default="", type=lambda text: set(filter(None, text.split(","))))
    parser.add_argument("--idle-timeout", type=float, default=300)
    ARGS = parser.parse_args()
    logging.basicConfig(level=logging.WARNING)
    warnings.simplefilter("ignore")  # anonymous users may write here on purpose

    authorizer = DummyAuthorizer()
    authorizer.add_user(ARGS.user, ARGS.password, ARGS.root, perm="elradfmwMT")
    authorizer.add_anonymous(ARGS.root, perm="elradfmwMT")
    FaultHandler.authorizer = authorizer
    FaultHandler.banner = "test server ready"
    FaultHandler.permit_foreign_addresses = False
    FaultHandler.timeout = ARGS.idle_timeout
    FaultHandler.auth_failed_timeout = 0.1  # a refused log-in is answered at once
    server = FTPServer(("127.0.0.1", 0), FaultHandler)
    server.max_cons = 64
    print(f"PORT {server.socket.getsockname()[1]}", flush=True)

    def watch_stdin():
        sys.stdin.read()  # ends when the test closes the pipe or goes away
        os._exit(0)

    threading.Thread(target=watch_stdin, daemon=True).start()
    # A bounded poll: the loop would otherwise sleep through the idle time-outs it has scheduled.
    server.serve_forever(timeout=0.1, handle_exit=False)


if __name__ == "__main__":
    main()
