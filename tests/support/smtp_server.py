"""A local mail server for tests: smtp_server.py FOLDER [CERT KEY USER]. With a certificate and its key, STARTTLS
only and AUTH (PLAIN, LOGIN) for USER, whose password comes on standard input so that no command line holds it.
Each message received is written into FOLDER as "mail<n>", after the lines "Authenticated: <login>" and
"Recipients: <the envelope's>". Prints the port it listens on."""
import asyncio
import os
import socket
import ssl
import sys

from aiosmtpd.smtp import SMTP, AuthResult, LoginPassword

out = sys.argv[1]


def authenticate(server, session, envelope, mechanism, auth_data):
    ok = isinstance(auth_data, LoginPassword) and auth_data.login == user.encode() and auth_data.password == password
    return AuthResult(success=ok, handled=False, auth_data=auth_data)


class Keep:
    async def handle_DATA(self, server, session, envelope):
        login = session.auth_data.login if session.authenticated else b""
        n = len(os.listdir(out))
        with open(os.path.join(out, f".tmp{n}"), "wb") as mail:
            mail.write(b"Authenticated: " + login + b"\nRecipients: " + ", ".join(envelope.rcpt_tos).encode() + b"\n"
                       + envelope.content)
        os.rename(os.path.join(out, f".tmp{n}"), os.path.join(out, f"mail{n}"))
        return "250 OK"


options = {}
if len(sys.argv) > 2:
    cert, key, user = sys.argv[2:5]
    password = sys.stdin.readline().rstrip("\n").encode()
    context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
    context.load_cert_chain(cert, key)
    options = dict(tls_context=context, require_starttls=True, authenticator=authenticate, auth_require_tls=True)
loop = asyncio.new_event_loop()
asyncio.set_event_loop(loop)
listening = socket.socket()
listening.bind(("127.0.0.1", 0))
loop.run_until_complete(loop.create_server(lambda: SMTP(Keep(), **options), sock=listening))
print(listening.getsockname()[1], flush=True)
loop.run_forever()
