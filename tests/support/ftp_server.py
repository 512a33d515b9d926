#!/usr/bin/python3
"""A loopback FTP server for the transfer tests: Debian's pyftpdlib, started by FtpServer.

Usage: ftp_server.py WORK PUBLIC_HOME USER PASSWORD USER_HOME LIFETIME_SECONDS

Listens on 127.0.0.1 at a free port and writes that port into WORK/port. Anonymous logins
see PUBLIC_HOME, USER with PASSWORD sees USER_HOME; both may write. Every command received
goes to WORK/commands, one a line (a password as "PASS ***"). The server ends when WORK/stop
appears (it then removes that file) or after LIFETIME_SECONDS.

Names that misbehave on purpose, for the bounds of the client:
  stall*       RETR answers 150 and then sends nothing; STOR is never answered.
  stallcwd*    CWD into a folder of that name is never answered.
  stalllist*   a listing in a folder of that name is never answered.
  stallopen*   RETR is never answered.
  stallclose*  STOR takes the whole file but never confirms its end.
  drop*        RETR sends the first half of the file and then ends the transfer as complete.
  slow*        RETR sends the file in pieces of 1000 bytes, 100 ms apart.
  reset*       RETR and STOR answer 150 and then reset the data connection.
  unlisted*    is served but left out of every listing.

pyftpdlib 1.5.7 closes an active-mode connector a second time when its session ends, and may
then take a newer session's socket out of its loop (the descriptor was reused): that session
hangs. Active mode is therefore safe only for a server's last session.
"""
import io
import logging
import os
import socket
import struct
import sys
import time

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.filesystems import AbstractedFS
from pyftpdlib.handlers import DTPHandler, FileProducer, FTPHandler
from pyftpdlib.servers import FTPServer


class HidingFS(AbstractedFS):
    def listdir(self, path):
        return [n for n in super().listdir(path) if not n.startswith('unlisted')]


def named(path, prefix):
    return os.path.basename(path.rstrip('/')).startswith(prefix)


class TestDTPHandler(DTPHandler):
    def close(self):
        if self.receive and self.file_obj is not None and named(self.file_obj.name, 'stallclose'):
            self._resp = None  # the data is taken, the 226 never sent
        super().close()


class SlowProducer:
    # Blocks the server's loop during each pause: a test has one client at a time.
    def __init__(self, data):
        self.data = data

    def more(self):
        time.sleep(0.1)
        piece, self.data = self.data[:1000], self.data[1000:]
        return piece


class TestHandler(FTPHandler):
    abstracted_fs = HidingFS
    dtp_handler = TestDTPHandler
    command_log = None

    def pre_process_command(self, line, cmd, arg):
        shown = 'PASS ***' if cmd == 'PASS' else line
        self.command_log.write(shown + '\n')
        self.command_log.flush()
        super().pre_process_command(line, cmd, arg)

    def ftp_CWD(self, path):
        if named(path, 'stallcwd'):
            return None
        return super().ftp_CWD(path)

    def ftp_LIST(self, path):
        if named(path, 'stalllist'):
            return None
        return super().ftp_LIST(path)

    def ftp_NLST(self, path):
        if named(path, 'stalllist'):
            return None
        return super().ftp_NLST(path)

    def ftp_MLSD(self, path):
        if named(path, 'stalllist'):
            return None
        return super().ftp_MLSD(path)

    def reset_data_connection(self):
        self.respond('150 File status okay. About to open data connection.')
        channel = self.data_channel
        if channel is not None:
            channel.socket.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack('ii', 1, 0))
            channel.close()

    def ftp_RETR(self, file):
        name = os.path.basename(file)
        if name.startswith('reset'):
            self.reset_data_connection()
            return None
        if name.startswith('stallopen'):
            return None
        if name.startswith('stall'):
            self.respond('150 File status okay. About to open data connection.')
            return None
        if name.startswith('drop') or name.startswith('slow'):
            with open(file, 'rb') as f:
                data = f.read()
            if name.startswith('slow'):
                producer = SlowProducer(data)
            else:
                producer = FileProducer(io.BytesIO(data[:len(data) // 2]), 'i')
            self.push_dtp_data(producer, isproducer=True, cmd='RETR')
            return file
        return super().ftp_RETR(file)

    def ftp_STOR(self, file, mode='w'):
        if named(file, 'reset'):
            self.reset_data_connection()
            return None
        if named(file, 'stall') and not named(file, 'stallclose'):
            return None
        return super().ftp_STOR(file, mode)


def main():
    work, public_home, user, password, user_home, lifetime = sys.argv[1:7]
    err = open(os.path.join(work, 'server.log'), 'w')
    os.dup2(err.fileno(), 2)
    logging.basicConfig(stream=err, level=logging.WARNING)
    TestHandler.command_log = open(os.path.join(work, 'commands'), 'w')
    authorizer = DummyAuthorizer()
    authorizer.add_anonymous(public_home, perm='elradfmwMT')
    authorizer.add_user(user, password, user_home, perm='elradfmwMT')
    TestHandler.authorizer = authorizer
    server = FTPServer(('127.0.0.1', 0), TestHandler)
    port_file = os.path.join(work, 'port')
    with open(port_file + '.new', 'w') as f:
        f.write('%d\n' % server.address[1])
    os.replace(port_file + '.new', port_file)
    stop_file = os.path.join(work, 'stop')
    deadline = time.monotonic() + float(lifetime)
    while not os.path.exists(stop_file) and time.monotonic() < deadline:
        server.ioloop.loop(0.05, blocking=False)
    server.close_all()
    if os.path.exists(stop_file):
        os.remove(stop_file)


if __name__ == '__main__':
    main()
