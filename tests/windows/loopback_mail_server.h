#pragma once
// Test helpers around smtp_test_server.py: a real SMTP server on loopback
// that requires a login and saves what it receives into a fresh folder,
// plus a port that refuses connections and a port that never answers.
#include <string>
#include <vector>

namespace mailtest {

struct LoopbackServerOptions {
  std::string account;
  std::string password;
  bool refuseRecipient = false;
  bool silentQuit = false;  // never answers QUIT
  std::string certificate, key;  // PEM files: the server offers STARTTLS
};

class LoopbackMailServer {
 public:
  explicit LoopbackMailServer(const LoopbackServerOptions& options);
  ~LoopbackMailServer();
  LoopbackMailServer(const LoopbackMailServer&) = delete;
  LoopbackMailServer& operator=(const LoopbackMailServer&) = delete;

  bool Started() const { return port_ > 0; }
  int Port() const { return port_; }
  const std::string& Folder() const { return folder_; }

  // Lines of events.log: "connect P", "auth P ok|fail tls=T", "noop P",
  // "mail P N tls=T", "close P" (P the client's port).
  std::vector<std::string> Events() const;
  // Waits up to a second for an event line to appear.
  bool WaitForEvent(const std::string& line) const;
  int MailCount() const;
  // The files of the n-th received mail (1-based): "eml", "subject", "body", "info".
  std::string MailFile(int n, const std::string& part) const;

 private:
  std::string folder_;
  int port_ = 0;
  int pid_ = -1;
  int stdinFd_ = -1;
};

// A fresh empty folder under the system's temporary folder.
std::string MakeTempFolder();
// A loopback port with nothing listening on it.
int ClosedPort();

// A loopback socket that takes connections but never says a word; closes
// with the object.
class SilentListener {
 public:
  SilentListener();
  ~SilentListener();
  SilentListener(const SilentListener&) = delete;
  SilentListener& operator=(const SilentListener&) = delete;
  int Port() const { return port_; }

 private:
  int fd_ = -1;
  int port_ = 0;
};

// A self-signed certificate for 127.0.0.1 (made with openssl) in `folder`:
// folder/cert.pem and folder/key.pem. False when it could not be made.
bool MakeLoopbackCertificate(const std::string& folder);

std::string ReadWholeFile(const std::string& path);

}  // namespace mailtest
