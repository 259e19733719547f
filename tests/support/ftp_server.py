#!/usr/bin/python3
"""Read-only FTP server for tests, built on pyftpdlib.

Prints "PORT <n>" on stdout once listening on 127.0.0.1, then serves until
SIGTERM/SIGINT, EOF on stdin, or --lifetime seconds. Active (PORT/EPRT) and
passive (PASV/EPSV) data connections both work.

--canned-list FILE makes every LIST send exactly the bytes of FILE,
whatever its argument, so tests can feed the client listings that no real
directory would produce.
"""

import argparse
import logging
import os
import signal
import sys
import threading

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.log import config_logging
from pyftpdlib.servers import ThreadedFTPServer

READ_PERMS = "elr"


class Handler(FTPHandler):
    command_log = None
    command_log_lock = threading.Lock()
    canned_list = None

    def found_terminator(self):
        # Logged before decoding so tests see the exact bytes the client sent.
        if self.command_log is not None:
            line = b"".join(self._in_buffer)
            with self.command_log_lock:
                self.command_log.write(repr(line) + "\n")
                self.command_log.flush()
        super().found_terminator()

    def ftp_LIST(self, path):
        if self.canned_list is None:
            return super().ftp_LIST(path)
        self.push_dtp_data(self.canned_list, cmd="LIST")
        return path


def watch_stdin():
    try:
        while sys.stdin.buffer.read1(4096):
            pass
    except (OSError, ValueError):
        pass
    os._exit(0)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--root", required=True)
    parser.add_argument("--user")
    parser.add_argument("--password")
    parser.add_argument("--no-anonymous", action="store_true")
    parser.add_argument("--canned-list")
    parser.add_argument("--log")
    parser.add_argument("--lifetime", type=float, default=300)
    args = parser.parse_args()

    if (args.user is None) != (args.password is None):
        parser.error("--user and --password go together")
    if args.no_anonymous and args.user is None:
        parser.error("--no-anonymous needs --user")

    root = os.path.realpath(args.root)
    authorizer = DummyAuthorizer()
    if args.user is not None:
        authorizer.add_user(args.user, args.password, root, perm=READ_PERMS)
    if not args.no_anonymous:
        authorizer.add_anonymous(root, perm=READ_PERMS)
    Handler.authorizer = authorizer

    if args.canned_list:
        with open(args.canned_list, "rb") as f:
            Handler.canned_list = f.read()
    if args.log:
        Handler.command_log = open(args.log, "a", encoding="ascii",
                                   errors="backslashreplace")

    config_logging(level=logging.WARNING)

    def stop(*_):
        os._exit(0)

    signal.signal(signal.SIGTERM, stop)
    signal.signal(signal.SIGINT, stop)

    server = ThreadedFTPServer(("127.0.0.1", 0), Handler)

    threading.Thread(target=watch_stdin, daemon=True).start()
    timer = threading.Timer(args.lifetime, stop)
    timer.daemon = True
    timer.start()

    sys.stdout.write("PORT %d\n" % server.address[1])
    sys.stdout.flush()
    server.serve_forever(timeout=0.2, handle_exit=False)


if __name__ == "__main__":
    main()
