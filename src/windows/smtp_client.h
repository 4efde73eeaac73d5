#pragma once
// The program's SMTP mail client: one kept connection to one mail server,
// opened and logged in by SmtpConnect and used by SmtpSend. The connection
// stays open until the next SmtpConnect or the end of the program.
// All texts are GBK byte strings.
#include <cstdint>
#include <string>
#include <string_view>

// A connection attempt gives up after this long without an answer (also
// while the server greets, upgrades to TLS or logs in).
constexpr long kSmtpConnectTimeoutMs = 2000;
// Each whole exchange (connect and log in, or send one mail) gives up after
// this long, so a server that stops answering cannot hang the window.
constexpr long kSmtpTransferTimeoutMs = 10000;

// Ends an open connection, then connects to host:port, upgrades to TLS when
// the server offers STARTTLS and logs in. True when connected and logged in.
bool SmtpConnect(const std::string& host, int port, const std::string& account,
                 const std::string& password);

// Sends one mail over the connection of the last successful SmtpConnect.
// Answers "" on success, otherwise a text that describes the failure.
std::string SmtpSend(const std::string& subject, const std::string& body,
                     const std::string& recipient, const std::string& sender);

// Ends the connection (also done at the end of the program).
void SmtpDisconnect();

// Test hook: trust the certificates of this PEM file instead of the system's
// store ("" restores the system's store). The program never sets it.
void SetSmtpTrustedCertificates(const std::string& pemPath);

// ----- the message itself (pure) -------------------------------------------

// Base64 of the bytes, in one line.
std::string Base64(std::string_view bytes);

// A header value as RFC 2047 encoded words in GBK ("=?GBK?B?...?="), folded
// onto continuation lines so that no word exceeds 75 characters and no
// two-byte character is split between words.
std::string EncodeHeaderText(std::string_view gbk);

// True for a plain address "local@domain" that can go into an SMTP command
// and a header unchanged: printable ASCII, no spaces, brackets, commas or
// quotes, exactly one "@" with text on both sides.
bool IsMailAddress(std::string_view address);

// "Sat, 18 Feb 2012 09:30:00 +0000" for seconds since 1970 (UTC).
std::string MailDate(std::int64_t unixSeconds);

// The whole message: headers, then the body as base64 of its GBK bytes with
// every line break made CR LF. `messageId` is the part before "@" of the
// Message-ID; its domain is the sender's.
std::string BuildMailMessage(std::string_view subject, std::string_view body,
                             std::string_view recipient, std::string_view sender,
                             std::int64_t unixSeconds, std::string_view messageId);
