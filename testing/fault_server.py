#!/usr/bin/env python3
"""HTTP server for the download engine's tests and benchmark, on 127.0.0.1 only.

Every answer is chosen by the path, so that a test names the fault it wants:
  /data/SIZE/NAME                SIZE bytes of the test pattern with their length
  /dated/EPOCH/SIZE/NAME         the same with Last-Modified EPOCH (seconds since 1970)
  /etag/TAG/SIZE/NAME            the same with ETag "TAG"; 304 when If-None-Match names it
  /nolength/SIZE/NAME            the pattern without a length, ended by closing
  /short/ANNOUNCED/SENT/NAME     announces ANNOUNCED bytes, sends SENT and closes
  /cut/SIZE/NAME                 chunked, closes half-way without the last chunk
  /stall/SIZE/AFTER/NAME         announces SIZE, sends AFTER bytes, then sends nothing
  /silent/NAME                   accepts the request and never answers
  /endless/NAME                  the pattern without end
  /status/CODE/NAME              answers with status CODE
  /auth/USER/PASSWORD/SIZE/NAME  401 unless the request carries Basic USER:PASSWORD
  /redirect/REST                 302 to /REST
  /redirects/N/REST              N redirects in a row, then 302 to /REST
  /nolocation/NAME               302 with an empty Location and a body without end
  /chunked/NAME                  a chunked body without end
  /trickle/SECONDS/NAME          announces 10000 bytes and sends one every SECONDS
  /rate/BYTES/SIZE/NAME          announces SIZE bytes and sends BYTES a second, a tenth at a time
  /headers/NAME                  header lines without end
  /empty/NAME                    200 with an empty body
  /static/NAME                   the file NAME of --root, sent by the kernel
  POST or PUT /upload/NAME       stores the body as --upload-dir/METHOD-NAME, answers 201
  POST or PUT /reject/CODE/NAME  reads the body and answers CODE
  POST or PUT /refuse/CODE/NAME  answers CODE before the body and closes the connection
  /log                           the requests so far as JSON (method, path, headers)
The pattern: byte i is i % 251. The port is printed as "PORT n"; the server ends with its stdin.
"""
import argparse
import json
import os
import sys
import threading
import time
from email.utils import formatdate
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

PATTERN = bytes(i % 251 for i in range(251 * 1024))
LOG = []
LOG_LOCK = threading.Lock()
ARGS = None


def pattern(start, length):
    """length bytes of the pattern from offset start."""
    out = bytearray()
    while length > 0:
        offset = start % 251
        piece = PATTERN[offset:offset + min(length, len(PATTERN) - offset)]
        out += piece
        start += len(piece)
        length -= len(piece)
    return bytes(out)


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def record(self):
        with LOG_LOCK:
            LOG.append({"method": self.command, "path": self.path,
                        "headers": {k.lower(): v for k, v in self.headers.items()}})

    def head(self, status, length=None, extra=()):
        self.send_response(status)
        if length is not None:
            self.send_header("Content-Length", str(length))
        for key, value in extra:
            self.send_header(key, value)
        self.end_headers()

    def send_pattern(self, size, start=0):
        sent = start
        while sent < size:
            piece = pattern(sent, min(65536, size - sent))
            self.wfile.write(piece)
            sent += len(piece)

    def do_GET(self):
        self.record()
        parts = self.path.lstrip("/").split("/")
        kind = parts[0]
        try:
            getattr(self, "get_" + kind, self.not_found)(parts[1:])
        except (BrokenPipeError, ConnectionResetError):
            pass

    def not_found(self, _):
        self.head(404, 0)

    def get_log(self, _):
        with LOG_LOCK:
            body = json.dumps(LOG).encode()
        self.head(200, len(body), [("Content-Type", "application/json")])
        self.wfile.write(body)

    def get_data(self, parts):
        size = int(parts[0])
        self.head(200, size)
        self.send_pattern(size)

    def get_dated(self, parts):
        size = int(parts[1])
        self.head(200, size, [("Last-Modified", formatdate(int(parts[0]), usegmt=True))])
        self.send_pattern(size)

    def get_etag(self, parts):
        tag = f'"{parts[0]}"'
        if self.headers.get("If-None-Match") == tag:
            self.head(304, None, [("ETag", tag)])
            return
        size = int(parts[1])
        self.head(200, size, [("ETag", tag), ("Last-Modified", formatdate(0, usegmt=True))])
        self.send_pattern(size)

    def get_nolength(self, parts):
        self.head(200, None, [("Connection", "close")])
        self.send_pattern(int(parts[0]))
        self.close_connection = True

    def get_short(self, parts):
        self.head(200, int(parts[0]), [("Connection", "close")])
        self.send_pattern(int(parts[1]))
        self.close_connection = True

    def get_cut(self, parts):
        size = int(parts[0])
        self.head(200, None, [("Transfer-Encoding", "chunked")])
        half = pattern(0, size // 2)
        self.wfile.write(b"%x\r\n" % len(half) + half + b"\r\n")
        self.wfile.flush()
        self.close_connection = True

    def get_stall(self, parts):
        self.head(200, int(parts[0]))
        self.send_pattern(int(parts[1]))
        self.wfile.flush()
        time.sleep(120)
        self.close_connection = True

    def get_silent(self, _):
        time.sleep(120)
        self.close_connection = True

    def get_endless(self, _):
        self.head(200, None, [("Connection", "close")])
        sent = 0
        while True:
            self.wfile.write(pattern(sent, 65536))
            sent += 65536

    def get_status(self, parts):
        body = b"status %s" % parts[0].encode()
        self.head(int(parts[0]), len(body))
        self.wfile.write(body)

    def get_auth(self, parts):
        import base64
        expected = "Basic " + base64.b64encode(f"{parts[0]}:{parts[1]}".encode()).decode()
        if self.headers.get("Authorization") != expected:
            body = b"login please"
            self.head(401, len(body), [("WWW-Authenticate", 'Basic realm="test"')])
            self.wfile.write(body)
            return
        size = int(parts[2])
        self.head(200, size)
        self.send_pattern(size)

    def get_redirect(self, parts):
        self.head(302, 0, [("Location", "/" + "/".join(parts))])

    def get_redirects(self, parts):
        count = int(parts[0])
        rest = "/".join(parts[1:])
        target = f"/redirects/{count - 1}/{rest}" if count > 1 else "/" + rest
        self.head(302, 0, [("Location", target)])

    def get_nolocation(self, _):
        self.head(302, None, [("Location", ""), ("Connection", "close")])
        sent = 0
        while True:
            self.wfile.write(pattern(sent, 65536))
            sent += 65536

    def get_chunked(self, _):
        self.head(200, None, [("Transfer-Encoding", "chunked")])
        sent = 0
        while True:
            piece = pattern(sent, 65536)
            self.wfile.write(b"%x\r\n" % len(piece) + piece + b"\r\n")
            sent += len(piece)

    def get_trickle(self, parts):
        self.head(200, 10000)
        for i in range(10000):
            self.wfile.write(pattern(i, 1))
            self.wfile.flush()
            time.sleep(float(parts[0]))

    def get_rate(self, parts):
        rate, size = int(parts[0]), int(parts[1])
        piece = max(1, rate // 10)
        self.head(200, size)
        for start in range(0, size, piece):
            self.wfile.write(pattern(start, min(piece, size - start)))
            self.wfile.flush()
            time.sleep(piece / rate)

    def get_headers(self, _):
        self.send_response(200)
        n = 0
        while True:
            self.send_header(f"X-Filler-{n}", "x" * 1000)
            self.flush_headers()
            n += 1

    def get_empty(self, _):
        self.head(200, 0)

    def get_static(self, parts):
        path = os.path.join(ARGS.root, parts[0])
        with open(path, "rb") as f:
            size = os.fstat(f.fileno()).st_size
            self.head(200, size)
            self.wfile.flush()
            self.connection.sendfile(f)

    def read_body(self):
        length = int(self.headers.get("Content-Length", "0"))
        chunks = []
        while length > 0:
            chunk = self.rfile.read(min(length, 65536))
            if not chunk:
                break
            chunks.append(chunk)
            length -= len(chunk)
        return b"".join(chunks)

    def do_upload(self):
        self.record()
        parts = self.path.lstrip("/").split("/")
        if parts[0] == "refuse":
            self.head(int(parts[1]), 0, [("Connection", "close")])
            self.close_connection = True
            return
        body = self.read_body()
        if len(body) != int(self.headers.get("Content-Length", "0")):
            self.close_connection = True  # the client gave up: keep nothing
            return
        if parts[0] == "upload":
            with open(os.path.join(ARGS.upload_dir, f"{self.command}-{parts[1]}"), "wb") as f:
                f.write(body)
            self.head(201, 0)
        elif parts[0] == "reject":
            self.head(int(parts[1]), 0)
        else:
            self.head(404, 0)

    def handle_expect_100(self):
        if self.path.startswith("/refuse/"):
            return True  # the refusal itself is the answer, instead of "100 Continue"
        return super().handle_expect_100()

    do_POST = do_upload
    do_PUT = do_upload


class Server(ThreadingHTTPServer):
    daemon_threads = True

    def handle_error(self, request, client_address):
        pass  # clients that give up half-way are what the tests are about


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", default=".")
    parser.add_argument("--upload-dir", default=".")
    ARGS = parser.parse_args()
    server = Server(("127.0.0.1", 0), Handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    print(f"PORT {server.server_address[1]}", flush=True)
    sys.stdin.read()  # ends when the test closes the pipe or goes away
    os._exit(0)


if __name__ == "__main__":
    main()
