# A scripted FTP (or mail) server that misbehaves in one chosen way, for the tests of how the client copes.
# Usage: hostile_ftp.py SCENARIO PORT DIR
# What arrives on a data connection is written to DIR/received; what a connection from anywhere else than
# the control connection's peer got to read is written to DIR/stolen.
import os
import socket
import sys
import threading
import time

scenario, port, folder = sys.argv[1], int(sys.argv[2]), sys.argv[3]


def send(conn, text):
    data = text.encode("latin-1")
    if scenario == "trickle":
        for k in range(len(data)):
            conn.sendall(data[k:k + 1])
            time.sleep(0.005)
    else:
        conn.sendall(data)


def read_line(conn, pending):
    while b"\r\n" not in pending[0]:
        chunk = conn.recv(4096)
        if not chunk:
            return None
        pending[0] += chunk
    line, pending[0] = pending[0].split(b"\r\n", 1)
    return line.decode("latin-1")


def thief(host, data_port, results):
    # Someone else on the machine who found the data port: connects first and reads what it can.
    try:
        s = socket.socket()
        s.bind(("127.0.0.2", 0))
        s.settimeout(3)
        s.connect((host, data_port))
        got = b""
        while True:
            chunk = s.recv(65536)
            if not chunk:
                break
            got += chunk
        results.append(got)
    except OSError:
        results.append(b"")


def serve(conn):
    pending = [b""]
    if scenario == "greet421":
        conn.sendall(b"421 Service indisponible\r\n")
        time.sleep(10)
        return
    if scenario == "silent":
        time.sleep(60)
        return
    if scenario == "longline":
        conn.sendall(b"220 " + b"x" * 20480 + b"\r\n")
        time.sleep(10)
        return
    if scenario == "multiline":
        send(conn, "220-Bienvenue\r\n220-sur ce serveur\r\n220 Pr\xeat\r\n")
    elif scenario == "trickle":
        send(conn, "220 Bienvenue\r\n")
    else:
        send(conn, "220 Bienvenue\r\n")
    data_address = None
    stolen = []
    while True:
        line = read_line(conn, pending)
        if line is None:
            return
        verb = line.split(" ", 1)[0].upper()
        arg = line[len(verb) + 1:]
        if verb == "USER":
            if scenario == "user230":
                send(conn, "230 Connexion sans mot de passe\r\n")
            elif scenario == "multiline":
                send(conn, "331-Mot de passe\r\n331 requis\r\n")
            else:
                send(conn, "331 Mot de passe requis\r\n")
        elif verb == "PASS":
            send(conn, "230 Connect\xe9\r\n")
        elif scenario == "mkd550" and verb == "MKD":
            send(conn, "550 Permission refus\xe9e\r\n")
        elif scenario == "mkd550" and verb == "CWD":
            send(conn, "550 Dossier absent\r\n")
        elif verb in ("TYPE", "CWD", "MKD"):
            send(conn, "200 OK\r\n" if verb != "MKD" else "257 Cr\xe9\xe9\r\n")
        elif verb == "PORT":
            parts = [int(p) for p in arg.split(",")]
            data_address = (".".join(str(p) for p in parts[:4]), parts[4] * 256 + parts[5])
            if scenario == "thief":
                t = threading.Thread(target=thief, args=(data_address[0], data_address[1], stolen))
                t.start()
                time.sleep(0.3)
            send(conn, "200 PORT OK\r\n")
        elif verb in ("STOR", "APPE"):
            data = socket.create_connection(data_address, timeout=5)
            send(conn, "150 Ouverture de la connexion\r\n")
            received = b""
            if scenario == "421transfer":
                received = data.recv(1000)
                send(conn, "421 Service indisponible, fermeture\r\n")
                data.close()
                conn.close()
                return
            while True:
                chunk = data.recv(65536)
                if not chunk:
                    break
                received += chunk
            data.close()
            with open(os.path.join(folder, "received"), "wb") as f:
                f.write(received)
            if scenario == "thief":
                with open(os.path.join(folder, "stolen"), "wb") as f:
                    f.write(stolen[0] if stolen else b"")
            send(conn, "226 Transfert termin\xe9\r\n")
        elif verb == "QUIT":
            send(conn, "221 Au revoir\r\n")
            return
        else:
            send(conn, "502 Non\r\n")


listener = socket.socket()
listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
listener.bind(("127.0.0.1", port))
listener.listen(5)
while True:
    conn, _ = listener.accept()
    try:
        serve(conn)
    except OSError:
        pass
    finally:
        conn.close()
