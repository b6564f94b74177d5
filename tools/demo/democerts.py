#!/usr/bin/python3
"""Makes the demo's certificates in DIR: a demo authority (ca.pem, ca.der) and one server
certificate it signs for the demo's loopback server addresses (server.pem, server.key), and
DIR/trust.reg, a REGEDIT4 file that puts the authority into the current user's trusted root
certificate store, where Schannel's chain check looks for it (`wine reg import` it).

usage: democerts.py DIR ADDRESS...
"""
import datetime
import hashlib
import ipaddress
import os
import struct
import sys

from cryptography import x509
from cryptography.hazmat.primitives import serialization

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "testpeers"))
from tlscerts import authority, server, write, write_der  # noqa: E402

# The serialized form of a store element: (property id, 1, length) and the bytes of each
# property; property 32 is the encoded certificate itself.
CERT_PROP_ID = 32
ROOT_KEY = r"HKEY_CURRENT_USER\Software\Microsoft\SystemCertificates\Root\Certificates"


def trust_reg(der):
    """The registry entry of der in the trusted root store: the key is named by the
    certificate's SHA-1 thumbprint, its Blob value holds the serialized certificate."""
    blob = struct.pack("<III", CERT_PROP_ID, 1, len(der)) + der
    thumb = hashlib.sha1(der).hexdigest().upper()
    hexed = ",".join("%02x" % b for b in blob)
    return "REGEDIT4\r\n\r\n[%s\\%s]\r\n\"Blob\"=hex:%s\r\n" % (ROOT_KEY, thumb, hexed)


def main(out, addresses):
    now = datetime.datetime.now(datetime.timezone.utc)
    ca, ca_key = authority("Lorvex Demo Authority", now)
    # Each address both as an IP address (what clients that know them check) and as a DNS name
    # (the form Wine's name check compares).
    names = []
    for a in addresses:
        names += [x509.IPAddress(ipaddress.ip_address(a)), x509.DNSName(a)]
    cert, key = server(ca, ca_key, addresses[0], now - datetime.timedelta(days=1),
                       now + datetime.timedelta(days=30), names)
    write(out + "/ca", ca, None)
    write_der(out + "/ca", ca)
    write(out + "/server", cert, key)
    write_der(out + "/server", cert)
    with open(out + "/trust.reg", "w", newline="") as f:
        f.write(trust_reg(ca.public_bytes(serialization.Encoding.DER)))


if __name__ == "__main__":
    if len(sys.argv) < 3:
        sys.exit("usage: democerts.py DIR ADDRESS...")
    main(sys.argv[1], sys.argv[2:])
