#!/usr/bin/python3
"""A small HTTP proxy for tests, on 127.0.0.1, that reaches loopback only.

Prints "PORT <n>" on stdout once listening, then serves until SIGTERM/SIGINT,
EOF on stdin, or --lifetime seconds.

  CONNECT host:port    answers "HTTP/1.1 200 Connection established" (with a
                       Content-Length: 0 and a Proxy-Agent line, as real proxies
                       send), then relays bytes both ways: a tunnel
  GET http://host/...  (any method, absolute form) forwards the request in
                       origin form with "Connection: close" and relays the
                       answer, its head marked "Connection: close" too, so every
                       request comes on a connection of its own

Only targets on 127.0.0.0/8, ::1 or "localhost" are reached; anything else gets
403. With --log FILE every request line is written there as it arrives, so a
test can see what went through the proxy.
"""

import argparse
import ipaddress
import socket
import socketserver
import threading
import urllib.parse

from server_life import announce_port, end_with_the_tests, log_line, open_log

MAX_HEAD = 1 << 16
CHUNK = 64 * 1024


def is_loopback(host):
    host = host.strip("[]")
    if host.lower() == "localhost":
        return True
    try:
        return ipaddress.ip_address(host).is_loopback
    except ValueError:
        return False


def split_host_port(authority, default_port):
    if authority.startswith("["):
        end = authority.find("]")
        host = authority[1:end]
        rest = authority[end + 1:]
        port = int(rest[1:]) if rest.startswith(":") else default_port
        return host, port
    host, sep, port = authority.rpartition(":")
    if not sep:
        return authority, default_port
    return host, int(port)


def relay(a, b):
    """Copies a -> b until a ends; then half-closes b."""
    try:
        while True:
            data = a.recv(CHUNK)
            if not data:
                break
            b.sendall(data)
    except OSError:
        pass
    try:
        b.shutdown(socket.SHUT_WR)
    except OSError:
        pass


def read_head(sock):
    buf = b""
    while b"\r\n\r\n" not in buf:
        if len(buf) > MAX_HEAD:
            return None, b""
        data = sock.recv(CHUNK)
        if not data:
            return None, b""
        buf += data
    end = buf.index(b"\r\n\r\n") + 4
    return buf[:end], buf[end:]


def without_connection_headers(head_lines):
    drop = (b"connection:", b"proxy-connection:", b"keep-alive:")
    return [l for l in head_lines if not l.lower().startswith(drop)]


class Handler(socketserver.BaseRequestHandler):
    def handle(self):
        client = self.request
        try:
            head, rest = read_head(client)
            if head is None:
                return
            lines = head.split(b"\r\n")[:-2]
            request_line = lines[0].decode("latin-1")
            log_line(request_line)
            parts = request_line.split(" ")
            if len(parts) != 3:
                client.sendall(b"HTTP/1.1 400 Bad Request\r\nContent-Length: 0\r\n\r\n")
                return
            method, target, version = parts
            if method.upper() == "CONNECT":
                self.tunnel(client, target, rest)
            else:
                self.forward(client, method, target, version, lines[1:], rest)
        except OSError:
            pass

    def connect(self, host, port):
        if not is_loopback(host):
            return None
        try:
            return socket.create_connection((host, port), timeout=10)
        except OSError:
            return None

    def tunnel(self, client, target, rest):
        host, port = split_host_port(target, 443)
        upstream = self.connect(host, port)
        if upstream is None:
            client.sendall(b"HTTP/1.1 403 Forbidden\r\nContent-Length: 0\r\n\r\n")
            return
        upstream.settimeout(None)
        client.sendall(b"HTTP/1.1 200 Connection established\r\n"
                       b"Content-Length: 0\r\n"
                       b"Proxy-Agent: quorvane-test-proxy\r\n\r\n")
        if rest:
            upstream.sendall(rest)
        self.pipe(client, upstream)

    def forward(self, client, method, target, version, header_lines, rest):
        url = urllib.parse.urlsplit(target)
        if url.scheme != "http" or not url.netloc:
            client.sendall(b"HTTP/1.1 400 Bad Request\r\nContent-Length: 0\r\n\r\n")
            return
        host, port = split_host_port(url.netloc, 80)
        upstream = self.connect(host, port)
        if upstream is None:
            client.sendall(b"HTTP/1.1 403 Forbidden\r\nContent-Length: 0\r\n\r\n")
            return
        upstream.settimeout(None)
        path = url.path or "/"
        if url.query:
            path += "?" + url.query
        request = [("%s %s %s" % (method, path, version)).encode("latin-1")]
        request += without_connection_headers(header_lines)
        request.append(b"Connection: close")
        upstream.sendall(b"\r\n".join(request) + b"\r\n\r\n" + rest)

        # The answer's head gets "Connection: close", so the client asks its
        # next request (a redirect, say) on a new connection.
        answer, body = read_head(upstream)
        if answer is None:
            upstream.close()
            return
        answer_lines = without_connection_headers(answer.split(b"\r\n")[:-2])
        answer_lines.append(b"Connection: close")
        client.sendall(b"\r\n".join(answer_lines) + b"\r\n\r\n" + body)
        self.pipe(client, upstream)

    def pipe(self, client, upstream):
        back = threading.Thread(target=relay, args=(upstream, client), daemon=True)
        back.start()
        relay(client, upstream)
        back.join(timeout=60)
        upstream.close()


class Server(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True



def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--log")
    parser.add_argument("--lifetime", type=float, default=300)
    args = parser.parse_args()
    open_log(args.log)

    server = Server(("127.0.0.1", 0), Handler)
    end_with_the_tests(args.lifetime)

    announce_port(server.server_address[1])
    server.serve_forever(poll_interval=0.2)


if __name__ == "__main__":
    main()
