#include "windows/smtp_client.h"

#include <curl/curl.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>

#include "core/gbk.h"

namespace {

// The one kept connection lives in the connection cache of gTransfers:
// SmtpConnect leaves it there after its NOOP and SmtpSend's transfer on the
// same handle picks it up again.
CURLM* gTransfers = nullptr;
CURL* gHandle = nullptr;
// The longest wait for the server's answer to QUIT when a connection ends.
constexpr long kGoodbyeSeconds = 2;
std::string gTrustedCertificates;
std::string gRefusal;  // the server's first refusing answer of a transfer

size_t DiscardOutput(char*, size_t size, size_t count, void*) { return size * count; }

int KeepServerReply(CURL*, curl_infotype type, char* data, size_t size, void*) {
  // Keep the first 4xx or 5xx line: after it the client says QUIT and the
  // server's goodbye would hide the reason.
  if (type == CURLINFO_HEADER_IN && gRefusal.empty() && size > 0 && (data[0] == '4' || data[0] == '5')) {
    std::string line(data, size);
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
    gRefusal = line;
  }
  return 0;
}

struct Upload {
  const std::string* text;
  size_t sent;
};

size_t ReadMessage(char* buffer, size_t size, size_t count, void* user) {
  auto* upload = static_cast<Upload*>(user);
  const size_t room = size * count;
  const size_t left = upload->text->size() - upload->sent;
  const size_t n = left < room ? left : room;
  std::memcpy(buffer, upload->text->data() + upload->sent, n);
  upload->sent += n;
  return n;
}

bool IsHostName(const std::string& host) {
  if (host.empty() || host.size() > 253) return false;
  for (unsigned char c : host) {
    const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                    c == '-' || c == '.' || c == ':';
    if (!ok) return false;
  }
  return true;
}

// Printable ASCII only: a server's answer goes into a message box as GBK.
std::string Printable(std::string_view text) {
  std::string out;
  for (unsigned char c : text) out += (c >= 0x20 && c < 0x7F) ? static_cast<char>(c) : '?';
  return out;
}

std::string FailureText(CURLcode code, const char* curlMessage) {
  std::string detail = curlMessage[0] != '\0' ? curlMessage : curl_easy_strerror(code);
  if (!gRefusal.empty()) detail += " - " + gRefusal;
  return Gbk("邮件发送失败：") + Printable(detail);
}

std::string MessageIdToken() {
  static std::atomic<unsigned> counter{0};
  static const unsigned salt = std::random_device{}();
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(now).count();
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%llx.%x.%u", static_cast<unsigned long long>(ns), salt,
                counter.fetch_add(1) + 1);
  return buffer;
}

// Runs one transfer of `handle` to its end (or its time-outs).
CURLcode Perform(CURL* handle) {
  if (curl_multi_add_handle(gTransfers, handle) != CURLM_OK) return CURLE_FAILED_INIT;
  int running = 1;
  CURLMcode state = CURLM_OK;
  while (state == CURLM_OK) {
    state = curl_multi_perform(gTransfers, &running);
    if (state != CURLM_OK || running == 0) break;
    state = curl_multi_poll(gTransfers, nullptr, 0, 100, nullptr);
  }
  CURLcode result = state == CURLM_OK ? CURLE_OK : CURLE_RECV_ERROR;
  int left = 0;
  while (CURLMsg* message = curl_multi_info_read(gTransfers, &left)) {
    if (message->msg == CURLMSG_DONE && message->easy_handle == handle) result = message->data.result;
  }
  curl_multi_remove_handle(gTransfers, handle);
  return result;
}

}  // namespace

void SetSmtpTrustedCertificates(const std::string& pemPath) { gTrustedCertificates = pemPath; }

void SmtpDisconnect() {
  if (gHandle != nullptr) {
    // libcurl says QUIT when the connection cache closes, and waits for the
    // answer with the limits of the handle added last, not with the limits
    // of the transfers: without this a server gone quiet would hold the
    // program for two minutes here.
    curl_easy_setopt(gHandle, CURLOPT_SERVER_RESPONSE_TIMEOUT, kGoodbyeSeconds);
    if (curl_multi_add_handle(gTransfers, gHandle) == CURLM_OK) curl_multi_remove_handle(gTransfers, gHandle);
    curl_easy_cleanup(gHandle);
    gHandle = nullptr;
  }
  if (gTransfers != nullptr) {
    curl_multi_cleanup(gTransfers);  // ends the connection
    gTransfers = nullptr;
  }
}

bool SmtpConnect(const std::string& host, int port, const std::string& account,
                 const std::string& password) {
  SmtpDisconnect();
  if (!IsHostName(host) || port < 1 || port > 65535) return false;
  gTransfers = curl_multi_init();
  gHandle = curl_easy_init();
  if (gTransfers == nullptr || gHandle == nullptr) {
    SmtpDisconnect();
    return false;
  }
  CURL* handle = gHandle;
  // Registered after libcurl (and with it the TLS library) has set up its own
  // exit handlers, so ours runs first and still finds the TLS layer alive.
  static const bool closesAtExit = (std::atexit(SmtpDisconnect), true);
  (void)closesAtExit;

  const std::string hostPart = host.find(':') != std::string::npos ? "[" + host + "]" : host;
  const std::string url = "smtp://" + hostPart + ":" + std::to_string(port);
  curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
  curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "smtp");
  curl_easy_setopt(handle, CURLOPT_USERNAME, account.c_str());
  curl_easy_setopt(handle, CURLOPT_PASSWORD, password.c_str());
  // The account and password go out in clear only to a server that cannot
  // do better; one that offers STARTTLS gets them inside TLS, and a failed
  // TLS handshake fails the connect instead of falling back.
  curl_easy_setopt(handle, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_TRY));
  if (!gTrustedCertificates.empty())
    curl_easy_setopt(handle, CURLOPT_CAINFO, gTrustedCertificates.c_str());
  curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT_MS, kSmtpConnectTimeoutMs);
  curl_easy_setopt(handle, CURLOPT_TIMEOUT_MS, kSmtpTransferTimeoutMs);
  curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, DiscardOutput);
  curl_easy_setopt(handle, CURLOPT_DEBUGFUNCTION, KeepServerReply);
  curl_easy_setopt(handle, CURLOPT_VERBOSE, 1L);  // feeds KeepServerReply, prints nothing
  // Without recipients the transfer is a single command: greeting, EHLO,
  // STARTTLS, AUTH, then NOOP, and the logged-in connection stays cached.
  curl_easy_setopt(handle, CURLOPT_CUSTOMREQUEST, "NOOP");

  gRefusal.clear();
  if (Perform(handle) != CURLE_OK) {
    SmtpDisconnect();
    return false;
  }
  curl_easy_setopt(handle, CURLOPT_CUSTOMREQUEST, nullptr);
  return true;
}

std::string SmtpSend(const std::string& subject, const std::string& body,
                     const std::string& recipient, const std::string& sender) {
  if (!IsMailAddress(recipient)) return Gbk("邮件发送失败：无效的收件人地址");
  if (!IsMailAddress(sender)) return Gbk("邮件发送失败：无效的发件人地址");
  if (gHandle == nullptr) return Gbk("邮件发送失败：未连接到邮件服务器");

  const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(
                           std::chrono::system_clock::now().time_since_epoch())
                           .count();
  const std::string message = BuildMailMessage(subject, body, recipient, sender,
                                               static_cast<std::int64_t>(seconds), MessageIdToken());
  Upload upload{&message, 0};
  const std::string from = "<" + sender + ">";
  curl_slist* recipients = curl_slist_append(nullptr, ("<" + recipient + ">").c_str());
  if (recipients == nullptr) return Gbk("邮件发送失败：内存不足");
  char curlMessage[CURL_ERROR_SIZE] = "";

  curl_easy_setopt(gHandle, CURLOPT_MAIL_FROM, from.c_str());
  curl_easy_setopt(gHandle, CURLOPT_MAIL_RCPT, recipients);
  curl_easy_setopt(gHandle, CURLOPT_UPLOAD, 1L);
  curl_easy_setopt(gHandle, CURLOPT_READFUNCTION, ReadMessage);
  curl_easy_setopt(gHandle, CURLOPT_READDATA, &upload);
  curl_easy_setopt(gHandle, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(message.size()));
  curl_easy_setopt(gHandle, CURLOPT_ERRORBUFFER, curlMessage);
  gRefusal.clear();
  const CURLcode code = Perform(gHandle);
  std::string answer = code == CURLE_OK ? std::string() : FailureText(code, curlMessage);

  // Nothing of this mail may outlive the call inside the handle.
  curl_easy_setopt(gHandle, CURLOPT_ERRORBUFFER, nullptr);
  curl_easy_setopt(gHandle, CURLOPT_MAIL_RCPT, nullptr);
  curl_easy_setopt(gHandle, CURLOPT_MAIL_FROM, nullptr);
  curl_easy_setopt(gHandle, CURLOPT_READDATA, nullptr);
  curl_easy_setopt(gHandle, CURLOPT_UPLOAD, 0L);
  curl_slist_free_all(recipients);
  return answer;
}

// ----- the message -----------------------------------------------------------

std::string Base64(std::string_view bytes) {
  static const char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  size_t i = 0;
  for (; i + 2 < bytes.size(); i += 3) {
    const unsigned v = static_cast<unsigned char>(bytes[i]) << 16 |
                       static_cast<unsigned char>(bytes[i + 1]) << 8 |
                       static_cast<unsigned char>(bytes[i + 2]);
    out += kDigits[v >> 18];
    out += kDigits[(v >> 12) & 63];
    out += kDigits[(v >> 6) & 63];
    out += kDigits[v & 63];
  }
  if (i + 1 == bytes.size()) {
    const unsigned v = static_cast<unsigned char>(bytes[i]) << 16;
    out += kDigits[v >> 18];
    out += kDigits[(v >> 12) & 63];
    out += "==";
  } else if (i + 2 == bytes.size()) {
    const unsigned v = static_cast<unsigned char>(bytes[i]) << 16 |
                       static_cast<unsigned char>(bytes[i + 1]) << 8;
    out += kDigits[v >> 18];
    out += kDigits[(v >> 12) & 63];
    out += kDigits[(v >> 6) & 63];
    out += '=';
  }
  return out;
}

std::string EncodeHeaderText(std::string_view gbk) {
  // 45 bytes make 60 base64 characters, 70 with "=?GBK?B?" and "?=".
  constexpr size_t kChunk = 45;
  std::string out;
  if (gbk.empty()) return out;
  size_t start = 0;
  do {
    size_t end = start;
    while (end < gbk.size()) {
      const size_t width = static_cast<unsigned char>(gbk[end]) >= 0x80 && end + 1 < gbk.size() ? 2 : 1;
      if (end + width - start > kChunk) break;
      end += width;
    }
    if (!out.empty()) out += "\r\n ";
    out += "=?GBK?B?" + Base64(gbk.substr(start, end - start)) + "?=";
    start = end;
  } while (start < gbk.size());
  return out;
}

bool IsMailAddress(std::string_view address) {
  const size_t at = address.find('@');
  if (at == std::string_view::npos || at == 0 || at + 1 == address.size()) return false;
  if (address.find('@', at + 1) != std::string_view::npos || address.size() > 254) return false;
  for (unsigned char c : address) {
    if (c <= 0x20 || c >= 0x7F || std::strchr("<>(),;:\\\"[]", c) != nullptr) return false;
  }
  return true;
}

std::string MailDate(std::int64_t unixSeconds) {
  using namespace std::chrono;
  static const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  const sys_seconds moment{seconds{unixSeconds}};
  const sys_days day = floor<days>(moment);
  const year_month_day date{day};
  const hh_mm_ss<seconds> time{moment - day};
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%s, %02u %s %04d %02d:%02d:%02d +0000",
                kDays[weekday{day}.c_encoding()], static_cast<unsigned>(date.day()),
                kMonths[static_cast<unsigned>(date.month()) - 1], static_cast<int>(date.year()),
                static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count()),
                static_cast<int>(time.seconds().count()));
  return buffer;
}

std::string BuildMailMessage(std::string_view subject, std::string_view body,
                             std::string_view recipient, std::string_view sender,
                             std::int64_t unixSeconds, std::string_view messageId) {
  // A text/plain body has CR LF line breaks; a bare CR or LF becomes one.
  std::string text;
  text.reserve(body.size() + body.size() / 16);
  for (size_t i = 0; i < body.size(); ++i) {
    if (body[i] == '\r') {
      text += "\r\n";
      if (i + 1 < body.size() && body[i + 1] == '\n') ++i;
    } else if (body[i] == '\n') {
      text += "\r\n";
    } else {
      text += body[i];
    }
  }
  const std::string_view domain = sender.substr(sender.find('@') + 1);

  std::string message;
  message += "Date: " + MailDate(unixSeconds) + "\r\n";
  message += "From: " + std::string(sender) + "\r\n";
  message += "To: " + std::string(recipient) + "\r\n";
  message += "Subject: " + EncodeHeaderText(subject) + "\r\n";
  message += "Message-ID: <" + std::string(messageId) + "@" + std::string(domain) + ">\r\n";
  message += "MIME-Version: 1.0\r\n";
  message += "Content-Type: text/plain; charset=GBK\r\n";
  // Base64 keeps a typed line of any length, and any byte, within what every
  // SMTP server accepts (lines of at most 998 bytes, 7-bit data).
  message += "Content-Transfer-Encoding: base64\r\n";
  message += "\r\n";
  const std::string encoded = Base64(text);
  for (size_t i = 0; i < encoded.size(); i += 76) message += encoded.substr(i, 76) + "\r\n";
  return message;
}
