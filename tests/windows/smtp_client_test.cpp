// The SMTP mail client on its own: the message it builds, and its
// connect/send against a real SMTP server on loopback.
#include "windows/smtp_client.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "core/gbk.h"
#include "loopback_mail_server.h"

using namespace mailtest;

namespace {

const char* const kAccount = "robot@mail.test";
const char* const kPassword = "secret-1";
const char* const kSender = "robot@mail.test";
const char* const kRecipient = "team@mail.test";

// Byte-exact comparison that shows both texts readably and in hex.
void ExpectSameBytes(const std::string& actual, const std::string& expected, const std::string& what) {
  EXPECT_EQ(actual, expected) << what << "\n  actual:   " << Utf8FromGbk(actual) << "\n            "
                              << HexBytes(actual) << "\n  expected: " << Utf8FromGbk(expected)
                              << "\n            " << HexBytes(expected);
}

std::string Base64Decode(const std::string& text) {
  static const std::string kDigits =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  unsigned value = 0;
  int bits = 0;
  for (char c : text) {
    const size_t digit = kDigits.find(c);
    if (digit == std::string::npos) continue;
    value = (value << 6) | static_cast<unsigned>(digit);
    bits += 6;
    if (bits >= 8) {
      bits -= 8;
      out += static_cast<char>((value >> bits) & 0xFF);
    }
  }
  return out;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(text.substr(start, end - start));
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

// ----- the message ----------------------------------------------------------

TEST(MailMessage, Base64MatchesTheStandardVectors) {
  const std::vector<std::pair<std::string, std::string>> rows = {
      {"", ""},         {"f", "Zg=="},         {"fo", "Zm8="},        {"foo", "Zm9v"},
      {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="}, {"foobar", "Zm9vYmFy"}, {"\xFF\xFE\x80", "//6A"},
  };
  for (const auto& [in, out] : rows) EXPECT_EQ(Base64(in), out) << HexBytes(in);
}

TEST(MailMessage, HeaderTextBecomesGbkEncodedWords) {
  const std::vector<std::pair<std::string, std::string>> rows = {
      {Gbk("青禾计算器_用户建议"), "=?GBK?B?x+C6zLzGy+PG91/Tw7unvajS6Q==?="},
      {"abc", "=?GBK?B?YWJj?="},
      {"", ""},
  };
  for (const auto& [in, out] : rows) ExpectSameBytes(EncodeHeaderText(in), out, Utf8FromGbk(in));
}

TEST(MailMessage, LongHeaderTextIsFoldedBetweenWholeCharacters) {
  std::string chinese;
  for (int i = 0; i < 30; ++i) chinese += Gbk("禾");
  for (const std::string& text : {chinese, "a" + chinese, chinese + "xyz" + chinese}) {
    const std::string encoded = EncodeHeaderText(text);
    std::string decoded;
    const std::vector<std::string> words = Lines(encoded);
    ASSERT_GE(words.size(), 2u) << encoded;
    for (size_t i = 0; i < words.size(); ++i) {
      std::string word = words[i];
      if (i > 0) {
        ASSERT_EQ(word.substr(0, 1), " ") << "continuation line must start with a space";
        word = word.substr(1);
      }
      EXPECT_LE(word.size(), 75u) << word;
      ASSERT_EQ(word.substr(0, 8), "=?GBK?B?") << word;
      ASSERT_EQ(word.substr(word.size() - 2), "?=") << word;
      const std::string piece = Base64Decode(word.substr(8, word.size() - 10));
      // Each word holds whole characters: as many lead bytes as trail bytes.
      size_t pos = 0;
      while (pos < piece.size()) pos += static_cast<unsigned char>(piece[pos]) >= 0x80 ? 2 : 1;
      EXPECT_EQ(pos, piece.size()) << "a character is split: " << HexBytes(piece);
      decoded += piece;
    }
    ExpectSameBytes(decoded, text, "decoded header text");
  }
}

TEST(MailMessage, DateIsInTheMailFormat) {
  const std::vector<std::pair<std::int64_t, std::string>> rows = {
      {0, "Thu, 01 Jan 1970 00:00:00 +0000"},
      {1329557400, "Sat, 18 Feb 2012 09:30:00 +0000"},
      {951782400, "Tue, 29 Feb 2000 00:00:00 +0000"},
      {4102444799, "Thu, 31 Dec 2099 23:59:59 +0000"},
      {-1, "Wed, 31 Dec 1969 23:59:59 +0000"},
  };
  for (const auto& [seconds, text] : rows) EXPECT_EQ(MailDate(seconds), text) << seconds;
}

TEST(MailMessage, OnlyPlainAddressesAreAccepted) {
  const std::vector<std::pair<std::string, bool>> rows = {
      {"dev@qh.example", true},  {"a.b-c_d+e@x.y", true},     {"", false},
      {"@x.y", false},              {"a@", false},               {"ab", false},
      {"a@b@c", false},             {"a b@c", false},            {"a@b\r\nRCPT TO:<x@y>", false},
      {"<a@b>", false},             {"a@b,c@d", false},          {"\"a\"@b", false},
      {Gbk("青禾@b"), false},
  };
  for (const auto& [address, ok] : rows) EXPECT_EQ(IsMailAddress(address), ok) << HexBytes(address);
}

TEST(MailMessage, WholeMessageHasItsHeadersAndABase64Body) {
  const std::string message =
      BuildMailMessage(Gbk("青禾计算器_用户建议"), Gbk("第一行\n.\r\nx"), "team@mail.test",
                       "robot@mail.test", 1329557400, "abc.1");
  ExpectSameBytes(message,
                  "Date: Sat, 18 Feb 2012 09:30:00 +0000\r\n"
                  "From: robot@mail.test\r\n"
                  "To: team@mail.test\r\n"
                  "Subject: =?GBK?B?x+C6zLzGy+PG91/Tw7unvajS6Q==?=\r\n"
                  "Message-ID: <abc.1@mail.test>\r\n"
                  "MIME-Version: 1.0\r\n"
                  "Content-Type: text/plain; charset=GBK\r\n"
                  "Content-Transfer-Encoding: base64\r\n"
                  "\r\n"
                  "tdrSu9DQDQouDQp4\r\n",
                  "message");
}

TEST(MailMessage, LineBreaksBecomeCrLfAndBodyLinesStayShort) {
  const std::vector<std::pair<std::string, std::string>> rows = {
      {"a\nb", "a\r\nb"},       {"a\rb", "a\r\nb"},         {"a\r\nb", "a\r\nb"},
      {"\n\n", "\r\n\r\n"},     {"a\r", "a\r\n"},           {"   ", "   "},
      {std::string(3000, 'x'), std::string(3000, 'x')},
  };
  for (const auto& [body, sent] : rows) {
    const std::string message = BuildMailMessage("s", body, "a@b", "c@d", 0, "id");
    const size_t start = message.find("\r\n\r\n") + 4;
    std::string encoded;
    for (const std::string& line : Lines(message.substr(start))) {
      EXPECT_LE(line.size(), 76u);
      encoded += line;
    }
    ExpectSameBytes(Base64Decode(encoded), sent, "body of " + HexBytes(body));
  }
}

// ----- against a server on loopback -----------------------------------------

class MailClientTest : public testing::Test {
 protected:
  void TearDown() override { SmtpDisconnect(); }

  static LoopbackServerOptions Options() {
    LoopbackServerOptions options;
    options.account = kAccount;
    options.password = kPassword;
    return options;
  }

  static std::string PortOfEvent(const std::vector<std::string>& events, const std::string& word) {
    for (const auto& line : events) {
      if (line.rfind(word + " ", 0) == 0) {
        const size_t start = word.size() + 1;
        return line.substr(start, line.find(' ', start) - start);
      }
    }
    return "";
  }
};

TEST_F(MailClientTest, SendsMailsIntactOverTheLoggedInConnection) {
  LoopbackMailServer server(Options());
  ASSERT_TRUE(server.Started());
  ASSERT_TRUE(SmtpConnect("127.0.0.1", server.Port(), kAccount, kPassword));
  const std::vector<std::string> afterConnect = server.Events();
  ASSERT_EQ(afterConnect.size(), 3u);
  const std::string port = PortOfEvent(afterConnect, "connect");
  EXPECT_EQ(afterConnect[1], "auth " + port + " ok tls=0");
  EXPECT_EQ(afterConnect[2], "noop " + port);

  const std::string subject = Gbk("青禾计算器_用户建议");
  const std::vector<std::string> bodies = {
      Gbk("第一行：你好！\r\n.\r\n..\r\n 第四行 with ASCII\r\n"),
      std::string(3000, 'x') + Gbk("尾"),
      "   ",
      Gbk("单行，无换行"),
  };
  for (const std::string& body : bodies) EXPECT_EQ(Utf8FromGbk(SmtpSend(subject, body, kRecipient, kSender)), "");

  ASSERT_EQ(server.MailCount(), static_cast<int>(bodies.size()));
  for (int n = 1; n <= server.MailCount(); ++n) {
    ExpectSameBytes(server.MailFile(n, "subject"), subject, "subject of mail " + std::to_string(n));
    ExpectSameBytes(server.MailFile(n, "body"), bodies[n - 1], "body of mail " + std::to_string(n));
    const std::string info = server.MailFile(n, "info");
    EXPECT_NE(info.find("from=robot@mail.test\n"), std::string::npos) << info;
    EXPECT_NE(info.find("to=team@mail.test\n"), std::string::npos) << info;
    EXPECT_NE(info.find("content-type=text/plain\n"), std::string::npos) << info;
    EXPECT_NE(info.find("charset=gbk\n"), std::string::npos) << info;
    EXPECT_EQ(info.find("\ndate=\n"), std::string::npos) << info;
    EXPECT_NE(info.find("@mail.test>\n"), std::string::npos) << "Message-ID: " << info;
    EXPECT_TRUE(server.WaitForEvent("mail " + port + " " + std::to_string(n) + " tls=0"))
        << "mail " << n << " did not come over the logged-in connection";
  }
  EXPECT_EQ(PortOfEvent(server.Events(), "close"), "") << "the connection stays open after sending";
}

TEST_F(MailClientTest, ConnectEndsTheEarlierConnectionFirst) {
  LoopbackMailServer server(Options());
  ASSERT_TRUE(server.Started());
  ASSERT_TRUE(SmtpConnect("127.0.0.1", server.Port(), kAccount, kPassword));
  EXPECT_EQ(SmtpSend("one", "1", kRecipient, kSender), "");
  const std::string first = PortOfEvent(server.Events(), "connect");
  ASSERT_TRUE(SmtpConnect("127.0.0.1", server.Port(), kAccount, kPassword));
  EXPECT_TRUE(server.WaitForEvent("close " + first));
  EXPECT_EQ(SmtpSend("two", "2", kRecipient, kSender), "");
  ASSERT_EQ(server.MailCount(), 2);
  const auto events = server.Events();
  std::vector<std::string> connects;
  for (const auto& line : events)
    if (line.rfind("connect ", 0) == 0) connects.push_back(line.substr(8));
  ASSERT_EQ(connects.size(), 2u);
  EXPECT_NE(connects[0], connects[1]);
  EXPECT_TRUE(server.WaitForEvent("mail " + connects[1] + " 2 tls=0"));
}

TEST_F(MailClientTest, RefusedLoginOrClosedPortFailsConnectAndSendSaysSo) {
  LoopbackMailServer server(Options());
  ASSERT_TRUE(server.Started());
  // Refused at once, not by running into the time-out.
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(SmtpConnect("127.0.0.1", server.Port(), kAccount, "wrong"));
  EXPECT_FALSE(SmtpConnect("127.0.0.1", ClosedPort(), kAccount, kPassword));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1000));
  const auto events = server.Events();
  ASSERT_GE(events.size(), 2u);
  const std::string port = PortOfEvent(events, "connect");
  EXPECT_EQ(events[1], "auth " + port + " fail tls=0");
  EXPECT_EQ(PortOfEvent(events, "noop"), "") << "no command after a refused login";

  EXPECT_FALSE(SmtpConnect("", server.Port(), kAccount, kPassword));
  EXPECT_FALSE(SmtpConnect("127.0.0.1/x?y", server.Port(), kAccount, kPassword));
  EXPECT_FALSE(SmtpConnect("127.0.0.1", 0, kAccount, kPassword));
  EXPECT_FALSE(SmtpConnect("127.0.0.1", 70000, kAccount, kPassword));
  ExpectSameBytes(SmtpSend("s", "b", kRecipient, kSender), Gbk("邮件发送失败：未连接到邮件服务器"),
                  "send without a connection");
  EXPECT_EQ(server.MailCount(), 0);
}

TEST_F(MailClientTest, RefusedRecipientOrBadAddressGivesAnErrorText) {
  LoopbackServerOptions options = Options();
  options.refuseRecipient = true;
  LoopbackMailServer server(options);
  ASSERT_TRUE(server.Started());
  ASSERT_TRUE(SmtpConnect("127.0.0.1", server.Port(), kAccount, kPassword));
  const std::string answer = SmtpSend("s", "b", kRecipient, kSender);
  EXPECT_EQ(answer.rfind(Gbk("邮件发送失败："), 0), 0u) << Utf8FromGbk(answer);
  EXPECT_NE(answer.find("550"), std::string::npos) << Utf8FromGbk(answer);
  EXPECT_NE(answer.find("Recipient address rejected"), std::string::npos) << Utf8FromGbk(answer);

  ExpectSameBytes(SmtpSend("s", "b", "team@mail.test\r\nDATA", kSender),
                  Gbk("邮件发送失败：无效的收件人地址"), "bad recipient");
  ExpectSameBytes(SmtpSend("s", "b", kRecipient, ""), Gbk("邮件发送失败：无效的发件人地址"),
                  "bad sender");
  EXPECT_EQ(server.MailCount(), 0);
}

TEST_F(MailClientTest, SilentServerEndsWithinTheConnectTimeOut) {
  SilentListener silent;
  ASSERT_GT(silent.Port(), 0);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(SmtpConnect("127.0.0.1", silent.Port(), kAccount, kPassword));
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                      std::chrono::steady_clock::now() - start)
                      .count();
  EXPECT_GE(ms, kSmtpConnectTimeoutMs - 100);
  EXPECT_LT(ms, kSmtpConnectTimeoutMs + 1500);
}

// Ending a connection waits only briefly for the server's goodbye, so a
// server gone quiet holds up neither the next connect nor the program's end.
TEST_F(MailClientTest, QuietGoodbyeDoesNotHoldUpTheNextConnect) {
  LoopbackServerOptions options = Options();
  options.silentQuit = true;
  LoopbackMailServer server(options);
  ASSERT_TRUE(server.Started());
  ASSERT_TRUE(SmtpConnect("127.0.0.1", server.Port(), kAccount, kPassword));
  EXPECT_EQ(SmtpSend("s", "b", kRecipient, kSender), "");
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(SmtpConnect("127.0.0.1", server.Port(), kAccount, kPassword));
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                      std::chrono::steady_clock::now() - start)
                      .count();
  EXPECT_LT(ms, kSmtpConnectTimeoutMs + 1000);
  int logins = 0;
  for (const auto& line : server.Events()) logins += line.rfind("noop ", 0) == 0;
  EXPECT_EQ(logins, 2);
  // The server ends first here, so the last goodbye finds the connection closed.
}

// A server that offers STARTTLS gets the login only inside TLS, and a TLS
// that cannot be trusted fails the connect rather than falling back.
TEST_F(MailClientTest, LoginGoesOnlyThroughStartTlsWhenOffered) {
  const std::string certificates = MakeTempFolder();
  ASSERT_TRUE(MakeLoopbackCertificate(certificates)) << "openssl could not make a certificate";
  LoopbackServerOptions options = Options();
  options.certificate = certificates + "/cert.pem";
  options.key = certificates + "/key.pem";
  LoopbackMailServer server(options);
  ASSERT_TRUE(server.Started());

  EXPECT_FALSE(SmtpConnect("127.0.0.1", server.Port(), kAccount, kPassword))
      << "an untrusted certificate must fail the connect";
  for (const auto& line : server.Events()) EXPECT_EQ(line.rfind("auth", 0), std::string::npos) << line;

  SetSmtpTrustedCertificates(options.certificate);
  const bool connected = SmtpConnect("127.0.0.1", server.Port(), kAccount, kPassword);
  SetSmtpTrustedCertificates("");
  ASSERT_TRUE(connected);
  EXPECT_EQ(SmtpSend(Gbk("主题"), Gbk("正文"), kRecipient, kSender), "");
  ASSERT_EQ(server.MailCount(), 1);
  ExpectSameBytes(server.MailFile(1, "body"), Gbk("正文"), "body over TLS");
  int logins = 0;
  for (const auto& line : server.Events()) {
    if (line.rfind("auth ", 0) == 0) {
      ++logins;
      EXPECT_EQ(line.substr(line.size() - 9), " ok tls=1") << line;
    }
    if (line.rfind("mail ", 0) == 0) {
      EXPECT_EQ(line.substr(line.size() - 5), "tls=1") << line;
    }
  }
  EXPECT_EQ(logins, 1);
  SmtpDisconnect();
  std::error_code ignored;
  std::filesystem::remove_all(certificates, ignored);
}

}  // namespace
