# A real SMTP server for the tests: aiosmtpd on 127.0.0.1, storing each message's content exactly as it
# arrived (after the protocol's own full-stop unstuffing) in DIR/message-N, with its envelope beside it.
# Usage: smtp_server.py DIR PORT
import os
import sys
import threading

from aiosmtpd.controller import Controller

folder, port = sys.argv[1], int(sys.argv[2])


class Store:
    count = 0

    async def handle_DATA(self, server, session, envelope):
        Store.count += 1
        base = os.path.join(folder, "message-%d" % Store.count)
        with open(base + ".envelope", "w") as f:
            f.write("%s\n%s\n" % (envelope.mail_from, ",".join(envelope.rcpt_tos)))
        with open(base, "wb") as f:
            f.write(envelope.original_content)
        return "250 Message accepted for delivery"


controller = Controller(Store(), hostname="127.0.0.1", port=port)
controller.start()
threading.Event().wait()
