"""The secured SMTP test peer: aiosmtpd on ADDRESS:PORT (587 unless given) that offers STARTTLS
and, once secured, requires AUTH (PLAIN or LOGIN) with one user's name and password before it
takes mail. Messages are stored like smtpsink.py stores them. With "clear-too" it also takes mail
from a client that neither secures the connection nor logs in (AUTH is still offered only once
secured).

usage: securesink.py ADDRESS CERT KEY USER PASSWORD FOLDER [PORT [clear-too]]
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


def main():
    address, cert, key, user, password, folder = sys.argv[1:7]
    port = int(sys.argv[7]) if len(sys.argv) > 7 else 587
    strict = sys.argv[8:9] != ["clear-too"]
    os.makedirs(folder, exist_ok=True)
    context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
    context.load_cert_chain(cert, key)
    serve(Controller(Sink(folder), hostname=address, port=port, decode_data=False,
                     data_size_limit=0, tls_context=context, require_starttls=strict,
                     auth_required=strict, auth_require_tls=True,
                     authenticator=authenticator(user, password)))


if __name__ == "__main__":
    main()
