#pragma once
// Where the suggestions of the Feedback window go. The program sends them
// from its own mailbox, so the user needs no mail account.
#include <optional>
#include <string>

inline constexpr const char* kMailServerHost = "smtp.qh.example";
inline constexpr int kMailServerPort = 25;
inline constexpr const char* kMailAccount = "suggest@qh.example";
inline constexpr const char* kMailPassword = "530817264xkw";
inline constexpr const char* kMailSender = "suggest@qh.example";
// The team's mailbox: the recipient of every suggestion, shown in AboutWindow.
inline constexpr const char* kAuthorMailbox = "dev@qh.example";
inline constexpr const char* kMailSubject = "青禾计算器_用户建议";  // UTF-8 source; sent as GBK

// The instant-messenger contact page of the team.
inline constexpr const char* kContactLink =
    "https://sighttp.qq.com/authd?IDKEY=94c691f60df32c057210986f7a214f7d6eaf0d754530f6a2";

struct MailServer {
  std::string host;
  int port = 0;
};

// The server SubmitFeedback connects to: the program's own, unless a test has
// pointed it at another one.
MailServer FeedbackMailServer();

// Test hook: send suggestions to this server instead (std::nullopt restores
// the program's own). The program never sets it.
void SetFeedbackMailServerForTests(std::optional<MailServer> server);
