#!/usr/bin/python3
"""Scripted HTTP server for tests: answers with exact, test-chosen bytes.

Prints "PORT <n>" on stdout once listening on 127.0.0.1, then serves until
SIGTERM/SIGINT, EOF on stdin, or --lifetime seconds.

Routes (http mode; the method is ignored except HEAD, which drops bodies):
  /raw/<b64>[?close=1]  the decoded bytes verbatim, then the connection is held
                        open (silently) until the peer closes it or 60 s pass;
                        with close=1 it is closed right after writing
  /ranged/<b64>/<b64 or "endless">  the first bytes for a request without a Range
                        header, the second for one with it ("endless": a head that
                        never ends, as /endless-head); then the connection is closed
  /loop                 302 to /loop, keep-alive
  /file/<N>[?head=K&delay=S]  200 with Content-Length N and N zero bytes,
                        keep-alive; head=K adds about K bytes of filler header
                        lines; delay=S waits S seconds before the head. Once the
                        body is written or the client has gone, the log gets
                        "BODY SENT <path> <bytes>": the body bytes that left this
                        server (the kernel's count, not what was handed to it;
                        over TLS the records' overhead counts too)
  /redirect/<b64>       302 with Location set to the decoded bytes
  /endless-head[?pause=S]  a status line, then header lines that never end: as
                        fast as the client reads, or with pause=S one byte every
                        S seconds; for at most 120 s
  anything else         404
<b64> is URL-safe base64, padding optional.

--mode silent accepts connections and never sends a byte.
--tls PEM serves the same routes over TLS with the certificate and key in PEM
(tls_test_cert.pem beside this script is one for 127.0.0.1 and localhost that
a client can also take as its authority bundle).
"""

import argparse
import base64
import binascii
import re
import socket
import socketserver
import ssl
import time
import urllib.parse

from server_life import announce_port, end_with_the_tests, log_line, open_log

MAX_HEAD = 1 << 20
MAX_FILLER_HEAD = 1 << 20
ENDLESS_SECONDS = 120
FILLER_LINE = b"X-Filler: 0123456789abcdef\r\n"
RAW_HOLD_SECONDS = 60
MAX_DELAY_SECONDS = 120
CHUNK = 64 * 1024
ZEROS = memoryview(bytes(CHUNK))
FILE_PATH = re.compile(r"/file/[0-9]+", re.ASCII)

LOOP_RESPONSE = (b"HTTP/1.1 302 Found\r\nLocation: /loop\r\n"
                 b"Content-Length: 0\r\n\r\n")
NOT_FOUND_HEAD = b"HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\n\r\n"
NOT_FOUND_BODY = b"not found"

def log_request(head):
    log_line(repr(head))


# struct tcp_info (linux/tcp.h): tcpi_bytes_sent, the data bytes this end has put
# on the wire (retransmissions included, none on loopback), sits at offset 200.
TCP_INFO_BYTES_SENT = 200


def bytes_on_the_wire(sock):
    """What left this socket, or None where the kernel does not tell."""
    try:
        info = sock.getsockopt(socket.IPPROTO_TCP, socket.TCP_INFO, 256)
    except OSError:
        return None
    if len(info) < TCP_INFO_BYTES_SENT + 8:
        return None
    return int.from_bytes(info[TCP_INFO_BYTES_SENT:TCP_INFO_BYTES_SENT + 8],
                          "little")


def decode_b64(text):
    text = urllib.parse.unquote(text).rstrip("=")
    text += "=" * (-len(text) % 4)
    try:
        # validate=True: stray characters are a test bug, not data to drop.
        return base64.b64decode(text.encode("ascii"), altchars=b"-_",
                                validate=True)
    except (binascii.Error, ValueError, UnicodeEncodeError):
        return None


def find_head_end(buf):
    """Offset just past the blank line ending the head, or -1.

    Bare LF line endings are accepted too so a hand-written test request
    is not silently ignored."""
    ends = [i + len(sep) for sep in (b"\r\n\r\n", b"\n\n")
            for i in [buf.find(sep)] if i >= 0]
    return min(ends, default=-1)


def content_length(head):
    for line in head.split(b"\n")[1:]:
        name, sep, value = line.partition(b":")
        if sep and name.strip().lower() == b"content-length":
            try:
                return max(0, int(value.strip()))
            except ValueError:
                return 0
    return 0


class Closed(Exception):
    pass


class Handler(socketserver.BaseRequestHandler):
    def setup(self):
        self.sock = self.request
        self.buf = b""
        try:
            self.sock.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
        except OSError:
            pass
        if self.server.tls is not None:
            # The handshake runs here, on the connection's own thread, so a
            # client that never finishes it holds up nobody else.
            self.sock.settimeout(10)
            try:
                self.sock = self.server.tls.wrap_socket(self.sock, server_side=True)
            except (ssl.SSLError, OSError):
                self.sock = None
                return
            self.sock.settimeout(None)

    def handle(self):
        if self.sock is None:
            return
        try:
            if self.server.silent:
                self.drain_until_closed(None)
            else:
                while self.serve_one():
                    pass
        except (Closed, OSError):
            # Clients routinely abort right after the response head.
            pass

    def recv_more(self):
        data = self.sock.recv(CHUNK)
        if not data:
            raise Closed()
        self.buf += data

    def read_head(self):
        while True:
            end = find_head_end(self.buf)
            if end >= 0:
                head, self.buf = self.buf[:end], self.buf[end:]
                return head
            if len(self.buf) > MAX_HEAD:
                raise Closed()
            self.recv_more()

    def skip_body(self, n):
        # Keeps the next request on a keep-alive connection aligned.
        while len(self.buf) < n:
            n -= len(self.buf)
            self.buf = b""
            self.recv_more()
        self.buf = self.buf[n:]

    def drain_until_closed(self, seconds):
        deadline = None if seconds is None else time.monotonic() + seconds
        while True:
            if deadline is not None:
                left = deadline - time.monotonic()
                if left <= 0:
                    return
                self.sock.settimeout(left)
            try:
                if not self.sock.recv(CHUNK):
                    return
            except socket.timeout:
                return

    def serve_one(self):
        """Answer one request; False when the connection must end."""
        head = self.read_head()
        log_request(head)
        self.skip_body(content_length(head))

        request_line = head.split(b"\n", 1)[0].rstrip(b"\r")
        parts = request_line.split(b" ")
        method = parts[0].upper() if parts else b""
        target = parts[1].decode("latin-1") if len(parts) > 1 else ""
        is_head = method == b"HEAD"

        split = urllib.parse.urlsplit(target)
        path = split.path
        query = urllib.parse.parse_qs(split.query)

        if path.startswith("/raw/"):
            data = decode_b64(path[len("/raw/"):])
            if data is not None:
                self.sock.sendall(data)
                if query.get("close", [""])[0] == "1":
                    self.close_gracefully()
                else:
                    self.drain_until_closed(RAW_HOLD_SECONDS)
                return False

        elif path.startswith("/ranged/"):
            plain, _, ranged = path[len("/ranged/"):].partition("/")
            asks_range = any(line.lower().startswith(b"range:") for line in head.split(b"\n")[1:])
            if asks_range and ranged == "endless":
                self.send_endless_head(0)
                return False
            data = decode_b64(ranged if asks_range else plain)
            if data is not None:
                self.sock.sendall(data)
                self.close_gracefully()
                return False

        elif path == "/endless-head":
            self.send_endless_head(float(query.get("pause", ["0"])[0]))
            return False

        elif path == "/loop":
            self.sock.sendall(LOOP_RESPONSE)
            return True

        elif FILE_PATH.fullmatch(path):
            size = int(path[len("/file/"):])
            filler = min(int(query.get("head", ["0"])[0] or 0), MAX_FILLER_HEAD)
            time.sleep(min(float(query.get("delay", ["0"])[0] or 0), MAX_DELAY_SECONDS))
            head = (b"HTTP/1.1 200 OK\r\n"
                    b"Content-Type: application/octet-stream\r\n" +
                    FILLER_LINE * (filler // len(FILLER_LINE)) +
                    b"Content-Length: %d\r\n\r\n" % size)
            before = bytes_on_the_wire(self.sock)
            self.sock.sendall(head)
            if not is_head:
                try:
                    self.send_zeros(size)
                finally:
                    self.log_body_sent(path, before, len(head))
            return True

        elif path.startswith("/redirect/"):
            location = decode_b64(path[len("/redirect/"):])
            if location is not None:
                self.sock.sendall(b"HTTP/1.1 302 Found\r\nLocation: " +
                                  location +
                                  b"\r\nContent-Length: 0\r\n\r\n")
                return True

        self.sock.sendall(NOT_FOUND_HEAD + (b"" if is_head else NOT_FOUND_BODY))
        return True

    def send_zeros(self, size):
        # Written as fast as the client's window lets it: a large file is a body
        # that, unread, ends only when the client goes.
        left = size
        while left > 0:
            n = min(left, CHUNK)
            self.sock.sendall(ZEROS[:n])
            left -= n

    def log_body_sent(self, path, before, head_bytes):
        after = bytes_on_the_wire(self.sock)
        if before is None or after is None:
            return
        log_line("BODY SENT %s %d" % (path, max(0, after - before - head_bytes)))

    def send_endless_head(self, pause):
        deadline = time.monotonic() + ENDLESS_SECONDS
        self.sock.sendall(b"HTTP/1.1 200 OK\r\n")
        while time.monotonic() < deadline:
            if pause > 0:
                for byte in FILLER_LINE:
                    self.sock.sendall(bytes([byte]))
                    time.sleep(pause)
            else:
                self.sock.sendall(FILLER_LINE * 256)

    def close_gracefully(self):
        # A plain close() with unread request bytes pending turns into a
        # RST, which can make the client drop the response it has not read.
        try:
            self.sock.shutdown(socket.SHUT_WR)
        except OSError:
            return
        self.drain_until_closed(2)


class Server(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True
    # Benchmarks open many connections at once.
    request_queue_size = 256



def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--log")
    parser.add_argument("--lifetime", type=float, default=300)
    parser.add_argument("--mode", choices=("http", "silent"), default="http")
    parser.add_argument("--tls", metavar="PEM")
    args = parser.parse_args()

    open_log(args.log)

    server = Server(("127.0.0.1", 0), Handler)
    server.silent = args.mode == "silent"
    server.tls = None
    if args.tls:
        server.tls = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        server.tls.load_cert_chain(args.tls)

    end_with_the_tests(args.lifetime)

    announce_port(server.server_address[1])
    server.serve_forever(poll_interval=0.2)


if __name__ == "__main__":
    main()
