"""The secured SMTP test peer: aiosmtpd on ADDRESS:587 that offers STARTTLS and, once secured,
requires AUTH (PLAIN or LOGIN) with one user's name and password before it takes mail. Messages
are stored like smtpsink.py stores them.

usage: securesink.py ADDRESS CERT KEY USER PASSWORD FOLDER
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
    os.makedirs(folder, exist_ok=True)
    context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
    context.load_cert_chain(cert, key)
    serve(Controller(Sink(folder), hostname=address, port=587, decode_data=False,
                     data_size_limit=0, tls_context=context, require_starttls=True,
                     auth_required=True, auth_require_tls=True,
                     authenticator=authenticator(user, password)))


if __name__ == "__main__":
    main()
