#!/usr/bin/python3
"""Makes the certificates of the TLS test servers in DIR: a test authority (ca.pem) and three
server certificates it signs, each with its key: good (localhost, valid now), expired
(localhost, valid only in 2020) and othername (made out for mail.other.test)."""
import datetime
import sys

from cryptography import x509
from cryptography.hazmat.primitives import hashes, serialization
from cryptography.hazmat.primitives.asymmetric import rsa
from cryptography.x509.oid import ExtendedKeyUsageOID, NameOID


def new_key():
    # RSA rather than ECDSA: Wine's check of ECDSA signatures fails on some valid ones.
    return rsa.generate_private_key(public_exponent=65537, key_size=2048)


def name(cn):
    return x509.Name([x509.NameAttribute(NameOID.COMMON_NAME, cn)])


def write(path, cert, key):
    with open(path + ".pem", "wb") as f:
        f.write(cert.public_bytes(serialization.Encoding.PEM))
    if key is not None:
        with open(path + ".key", "wb") as f:
            f.write(key.private_bytes(serialization.Encoding.PEM,
                                      serialization.PrivateFormat.PKCS8,
                                      serialization.NoEncryption()))


def authority(common_name, now):
    """A certificate authority valid for thirty days from yesterday, and its key."""
    key = new_key()
    cert = (x509.CertificateBuilder()
            .subject_name(name(common_name)).issuer_name(name(common_name))
            .public_key(key.public_key()).serial_number(x509.random_serial_number())
            .not_valid_before(now - datetime.timedelta(days=1))
            .not_valid_after(now + datetime.timedelta(days=30))
            .add_extension(x509.BasicConstraints(ca=True, path_length=None), critical=True)
            .add_extension(x509.KeyUsage(digital_signature=True, content_commitment=False,
                                         key_encipherment=False, data_encipherment=False,
                                         key_agreement=False, key_cert_sign=True, crl_sign=True,
                                         encipher_only=False, decipher_only=False), critical=True)
            .sign(key, hashes.SHA256()))
    return cert, key


def server(ca, ca_key, host, start, end, alt_names=None):
    """A server certificate for host signed by the authority, and its key. alt_names (x509
    general names) replace the one DNS name of host."""
    key = new_key()
    cert = (x509.CertificateBuilder()
            .subject_name(name(host)).issuer_name(ca.subject)
            .public_key(key.public_key()).serial_number(x509.random_serial_number())
            .not_valid_before(start).not_valid_after(end)
            .add_extension(x509.SubjectAlternativeName(alt_names or [x509.DNSName(host)]),
                           critical=False)
            .add_extension(x509.ExtendedKeyUsage([ExtendedKeyUsageOID.SERVER_AUTH]),
                           critical=False)
            .sign(ca_key, hashes.SHA256()))
    return cert, key


def write_der(path, cert):
    with open(path + ".der", "wb") as f:
        f.write(cert.public_bytes(serialization.Encoding.DER))


def main(out):
    now = datetime.datetime.now(datetime.timezone.utc)
    ca, ca_key = authority("Lorvex Test Authority", now)
    write(out + "/ca", ca, None)
    servers = {
        "good": ("localhost", now - datetime.timedelta(days=1), now + datetime.timedelta(days=30)),
        "expired": ("localhost", datetime.datetime(2020, 1, 1, tzinfo=datetime.timezone.utc),
                    datetime.datetime(2021, 1, 1, tzinfo=datetime.timezone.utc)),
        "othername": ("mail.other.test", now - datetime.timedelta(days=1),
                      now + datetime.timedelta(days=30)),
    }
    for file, (host, start, end) in servers.items():
        cert, key = server(ca, ca_key, host, start, end)
        write(out + "/" + file, cert, key)
        write_der(out + "/" + file, cert)


if __name__ == "__main__":
    main(sys.argv[1])
