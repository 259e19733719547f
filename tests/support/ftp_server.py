#!/usr/bin/python3
"""Read-only FTP server for tests, built on pyftpdlib.

Prints "PORT <n>" on stdout once listening on 127.0.0.1, then serves until
SIGTERM/SIGINT, EOF on stdin, or --lifetime seconds. Active (PORT/EPRT) and
passive (PASV/EPSV) data connections both work.

--canned-list FILE makes every LIST send exactly the bytes of FILE,
whatever its argument, so tests can feed the client listings that no real
directory would produce.

--list-mode makes every LIST misbehave:
  endless-fast   lines that are no listing, as fast as the client reads
  endless-slow   the same, 2 bytes a second
  never-connect  PORT and EPRT are accepted, LIST answers 150, and the server
                 never opens the data connection
An endless listing ends after 120 s at the latest.

--size-reply TEXT makes every SIZE answer exactly TEXT (a reply line).
"""

import argparse
import logging
import os
import time

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.log import config_logging
from pyftpdlib.servers import ThreadedFTPServer

from server_life import announce_port, end_with_the_tests, log_line, open_log

READ_PERMS = "elr"
ENDLESS_SECONDS = 120
NO_LISTING_LINE = b"this line is no listing entry\r\n"


class EndlessListing(object):
    """A producer for pyftpdlib's data channel that never runs dry (in time)."""

    def __init__(self, slow):
        self.slow = slow
        self.deadline = time.monotonic() + ENDLESS_SECONDS
        self.offset = 0

    def more(self):
        if time.monotonic() > self.deadline:
            return b""
        if not self.slow:
            return NO_LISTING_LINE * 1024
        # Each connection has its own thread here, so sleeping holds up no one else.
        time.sleep(0.5)
        byte = NO_LISTING_LINE[self.offset:self.offset + 1]
        self.offset = (self.offset + 1) % len(NO_LISTING_LINE)
        return byte


class Handler(FTPHandler):
    canned_list = None
    list_mode = None
    size_reply = None

    def found_terminator(self):
        # Logged before decoding so tests see the exact bytes the client sent.
        log_line(repr(b"".join(self._in_buffer)))
        super().found_terminator()

    def ftp_PORT(self, line):
        if self.list_mode != "never-connect":
            return super().ftp_PORT(line)
        self.respond("200 Active data connection established.")

    def ftp_EPRT(self, line):
        if self.list_mode != "never-connect":
            return super().ftp_EPRT(line)
        self.respond("200 Active data connection established.")

    def ftp_SIZE(self, path):
        if self.size_reply is None:
            return super().ftp_SIZE(path)
        self.respond(self.size_reply)
        return path

    def ftp_LIST(self, path):
        if self.list_mode == "never-connect":
            self.respond("150 File status okay. About to open data connection.")
            return path
        if self.list_mode in ("endless-fast", "endless-slow"):
            self.push_dtp_data(EndlessListing(self.list_mode == "endless-slow"),
                               isproducer=True, cmd="LIST")
            return path
        if self.canned_list is None:
            return super().ftp_LIST(path)
        self.push_dtp_data(self.canned_list, cmd="LIST")
        return path



def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--root", required=True)
    parser.add_argument("--user")
    parser.add_argument("--password")
    parser.add_argument("--no-anonymous", action="store_true")
    parser.add_argument("--canned-list")
    parser.add_argument("--list-mode",
                        choices=("endless-fast", "endless-slow", "never-connect"))
    parser.add_argument("--size-reply")
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
    Handler.list_mode = args.list_mode
    Handler.size_reply = args.size_reply
    open_log(args.log)

    config_logging(level=logging.WARNING)

    server = ThreadedFTPServer(("127.0.0.1", 0), Handler)

    end_with_the_tests(args.lifetime)

    announce_port(server.address[1])
    server.serve_forever(timeout=0.2, handle_exit=False)


if __name__ == "__main__":
    main()
