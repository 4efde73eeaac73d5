#!/usr/bin/python3
"""A loopback SMTP server for the feedback tests.

Listens on 127.0.0.1 on a free port and prints "PORT <n>" once it is ready.
Requires AUTH with the given account and password. Every received mail is
saved in --dir as mail-<n>.eml (raw), mail-<n>.subject (the decoded subject,
GBK bytes), mail-<n>.body (the decoded body, bytes as sent) and mail-<n>.info;
events.log gets one line per connection, login, NOOP, mail and close, naming
the client's port, so a test can tell which connection carried what.
Ends when its standard input closes.
"""
import argparse
import asyncio
import email
import email.header
import email.policy
import os
import ssl
import sys
import threading

from aiosmtpd.smtp import SMTP, AuthResult, LoginPassword

args = None
mail_count = 0


def log_event(*words):
    with open(os.path.join(args.dir, "events.log"), "a", encoding="ascii") as f:
        f.write(" ".join(str(w) for w in words) + "\n")


def peer_port(session):
    return session.peer[1] if session and session.peer else 0


def uses_tls(session):
    return 1 if session.ssl is not None else 0


class LoggingSMTP(SMTP):
    def connection_made(self, transport):
        first = self.transport is None
        super().connection_made(transport)
        if first:
            log_event("connect", peer_port(self.session))

    def connection_lost(self, error):
        log_event("close", peer_port(self.session))
        super().connection_lost(error)


def authenticate(server, session, envelope, mechanism, auth_data):
    ok = (isinstance(auth_data, LoginPassword)
          and auth_data.login == args.account.encode()
          and auth_data.password == args.password.encode())
    log_event("auth", peer_port(session), "ok" if ok else "fail", "tls=%d" % uses_tls(session))
    return AuthResult(success=ok, handled=False)


class Handler:
    async def handle_QUIT(self, server, session, envelope):
        if args.silent_quit:
            await asyncio.sleep(3600)
        return "221 Bye"

    async def handle_NOOP(self, server, session, envelope, arg):
        log_event("noop", peer_port(session))
        return "250 OK"

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if args.refuse_rcpt:
            return "550 5.1.1 <%s>: Recipient address rejected" % address
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        global mail_count
        mail_count += 1
        base = os.path.join(args.dir, "mail-%d" % mail_count)
        raw = envelope.original_content
        with open(base + ".eml", "wb") as f:
            f.write(raw)
        message = email.message_from_bytes(raw, policy=email.policy.compat32)
        subject = str(email.header.make_header(email.header.decode_header(message["Subject"])))
        with open(base + ".subject", "wb") as f:
            f.write(subject.encode("gbk"))
        with open(base + ".body", "wb") as f:
            f.write(message.get_payload(decode=True))
        with open(base + ".info", "w", encoding="ascii") as f:
            f.write("from=%s\n" % envelope.mail_from)
            f.write("to=%s\n" % ",".join(envelope.rcpt_tos))
            f.write("content-type=%s\n" % message.get_content_type())
            f.write("charset=%s\n" % message.get_content_charset())
            for name in ("From", "To", "Date", "Message-ID"):
                f.write("%s=%s\n" % (name.lower(), message[name] or ""))
            f.write("tls=%d\n" % uses_tls(session))
        log_event("mail", peer_port(session), mail_count, "tls=%d" % uses_tls(session))
        return "250 Message accepted for delivery"


def main():
    global args
    parser = argparse.ArgumentParser()
    parser.add_argument("--dir", required=True)
    parser.add_argument("--account", required=True)
    parser.add_argument("--password", required=True)
    parser.add_argument("--refuse-rcpt", action="store_true")
    parser.add_argument("--silent-quit", action="store_true")
    parser.add_argument("--cert")
    parser.add_argument("--key")
    args = parser.parse_args()

    tls_context = None
    if args.cert:
        tls_context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
        tls_context.load_cert_chain(args.cert, args.key)

    loop = asyncio.new_event_loop()
    asyncio.set_event_loop(loop)

    def factory():
        return LoggingSMTP(Handler(), hostname="mail.test", authenticator=authenticate,
                           auth_required=True, auth_require_tls=False,
                           tls_context=tls_context, loop=loop)

    server = loop.run_until_complete(loop.create_server(factory, "127.0.0.1", 0))
    port = server.sockets[0].getsockname()[1]

    def wait_for_stdin_to_close():
        sys.stdin.buffer.read()
        loop.call_soon_threadsafe(loop.stop)

    threading.Thread(target=wait_for_stdin_to_close, daemon=True).start()
    print("PORT %d" % port, flush=True)
    loop.run_forever()


if __name__ == "__main__":
    import logging
    import warnings
    warnings.simplefilter("ignore")
    logging.getLogger("mail.log").setLevel(logging.CRITICAL)
    main()
