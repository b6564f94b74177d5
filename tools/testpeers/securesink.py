"""The secured SMTP test peers: aiosmtpd on ADDRESS:PORT (587 unless given) that offers STARTTLS
and, once secured, requires AUTH (PLAIN or LOGIN) with one user's name and password before it
takes mail; on port 587 also the same with TLS from the first byte on ADDRESS:465; and for every
OTHER:OTHERCERT:OTHERKEY a server with TLS from the first byte on OTHER:465 presenting that
certificate (for the certificate checks; it asks for no login). Messages are stored like
smtpsink.py stores them. With "clear-too" the STARTTLS server also takes mail from a client that
neither secures the connection nor logs in (AUTH is still offered only once secured).

usage: securesink.py ADDRESS CERT KEY USER PASSWORD FOLDER [PORT] [clear-too]
                     [OTHER:OTHERCERT:OTHERKEY ...]
"""
import os
import ssl
import sys

from aiosmtpd.controller import Controller
from aiosmtpd.smtp import AuthResult, LoginPassword

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from smtpsink import Sink, serve  # noqa: E402


def authenticator(user, password):
    def check(server, session, envelope, mechanism, auth_data):
        ok = (isinstance(auth_data, LoginPassword) and auth_data.login == user.encode()
              and auth_data.password == password.encode())
        return AuthResult(success=ok, handled=False)
    return check


def server_context(cert, key):
    context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
    context.load_cert_chain(cert, key)
    return context


def main():
    address, cert, key, user, password, folder = sys.argv[1:7]
    rest = sys.argv[7:]
    port = next((int(a) for a in rest if a.isdigit()), 587)
    strict = "clear-too" not in rest
    others = [a for a in rest if ":" in a]
    os.makedirs(folder, exist_ok=True)
    context = server_context(cert, key)
    sink = Sink(folder)
    controllers = [
        Controller(sink, hostname=address, port=port, decode_data=False,
                   data_size_limit=0, tls_context=context, require_starttls=strict,
                   auth_required=strict, auth_require_tls=True,
                   authenticator=authenticator(user, password)),
    ]
    if port == 587:
        # Already secured from the first byte: the login needs no STARTTLS first.
        controllers.append(Controller(sink, hostname=address, port=465, decode_data=False,
                                      data_size_limit=0, ssl_context=context,
                                      auth_required=True, auth_require_tls=False,
                                      authenticator=authenticator(user, password)))
    for other in others:
        other_address, other_cert, other_key = other.split(":")
        controllers.append(Controller(sink, hostname=other_address, port=465, decode_data=False,
                                      data_size_limit=0,
                                      ssl_context=server_context(other_cert, other_key)))
    serve(*controllers)


if __name__ == "__main__":
    main()
