# A real FTP server for the tests: pyftpdlib on 127.0.0.1, one user with every right on the given root.
# Usage: ftp_server.py ROOT USER PASSWORD PORT
import logging
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer

root, user, password, port = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])
authorizer = DummyAuthorizer()
authorizer.add_user(user, password, root, perm="elradfmwMT")
handler = FTPHandler
handler.authorizer = authorizer
handler.auth_failed_timeout = 0.1
logging.basicConfig(level=logging.INFO, stream=sys.stderr)
server = FTPServer(("127.0.0.1", port), handler)
server.serve_forever()
