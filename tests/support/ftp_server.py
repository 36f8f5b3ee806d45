"""A throw-away FTP server for the download tests, on 127.0.0.1 only.

Usage: ftp_server.py HOME USER PASSWORD [CERT_FOLDER]
Prints the port it listens on, then serves until killed. With the
environment variable VOREL_FTP_SERVER_RATE (bytes a second) files are sent
no faster than that (plain FTP only). With CERT_FOLDER it
makes a self-signed certificate for 127.0.0.1 there (server.pem, with its
key) and requires explicit TLS on the control and data connections.
"""
import logging
import os
import sys
import threading

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler, ThrottledDTPHandler, TLS_DTPHandler, TLS_FTPHandler
from pyftpdlib.servers import FTPServer


class EarlyTlsDTPHandler(TLS_DTPHandler):
    """Lets a client secure the data connection before the transfer command,
    as libcurl does; the stock handler drops such a connection as idle."""

    def readable(self):
        if not self.receive and not self._initialized:
            return self._ssl_accepting or self._ssl_want_read
        return super().readable()


def make_certificate(folder):
    from OpenSSL import crypto
    key = crypto.PKey()
    key.generate_key(crypto.TYPE_RSA, 2048)
    cert = crypto.X509()
    cert.set_version(2)
    cert.get_subject().CN = "127.0.0.1"
    cert.set_serial_number(int.from_bytes(os.urandom(8), "big"))
    cert.gmtime_adj_notBefore(-3600)
    cert.gmtime_adj_notAfter(24 * 3600)
    cert.set_issuer(cert.get_subject())
    cert.set_pubkey(key)
    cert.add_extensions([
        crypto.X509Extension(b"subjectAltName", False, b"IP:127.0.0.1"),
        crypto.X509Extension(b"basicConstraints", True, b"CA:TRUE"),
    ])
    cert.sign(key, "sha256")
    path = os.path.join(folder, "server.pem")
    with open(path, "wb") as out:
        out.write(crypto.dump_certificate(crypto.FILETYPE_PEM, cert))
        out.write(crypto.dump_privatekey(crypto.FILETYPE_PEM, key))
    return path


def main():
    home, user, password = sys.argv[1:4]
    logging.basicConfig(level=logging.ERROR)
    authorizer = DummyAuthorizer()
    authorizer.add_user(user, password, home, perm="elr")
    if len(sys.argv) > 4:
        handler = TLS_FTPHandler
        from OpenSSL import SSL
        certfile = make_certificate(sys.argv[4])
        context = SSL.Context(SSL.TLS_SERVER_METHOD)
        context.use_certificate_chain_file(certfile)
        context.use_privatekey_file(certfile)
        # Lets clients resume the control connection's session on the data
        # connection, as many servers require.
        context.set_session_id(b"vorel-test")
        handler.certfile = certfile
        handler.ssl_context = context
        handler.dtp_handler = EarlyTlsDTPHandler
        handler.tls_control_required = True
        handler.tls_data_required = True
    else:
        handler = FTPHandler
        rate = int(os.environ.get("VOREL_FTP_SERVER_RATE", "0"))
        if rate > 0:
            class Throttled(ThrottledDTPHandler):
                write_limit = rate
            handler.dtp_handler = Throttled
    handler.authorizer = authorizer
    handler.permit_foreign_addresses = False
    server = FTPServer(("127.0.0.1", 0), handler)
    print(server.socket.getsockname()[1], flush=True)
    # Never outlive a test run, whatever happens to the test.
    parent = os.getppid()

    def watch():
        while True:
            if os.getppid() != parent:
                os._exit(0)
            threading.Event().wait(0.5)

    threading.Thread(target=watch, daemon=True).start()
    timer = threading.Timer(600, lambda: os._exit(0))
    timer.daemon = True
    timer.start()
    server.serve_forever(handle_exit=False)


if __name__ == "__main__":
    main()
