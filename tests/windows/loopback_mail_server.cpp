#include "loopback_mail_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#ifndef QH_SMTP_TEST_SERVER
#error "QH_SMTP_TEST_SERVER must name smtp_test_server.py"
#endif

extern char** environ;

namespace mailtest {

namespace {

int BoundLoopbackSocket() {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) return -1;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

int PortOf(int fd) {
  sockaddr_in address{};
  socklen_t length = sizeof address;
  if (getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) return 0;
  return ntohs(address.sin_port);
}

}  // namespace

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

std::string MakeTempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "qh-mail-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) return {};
  return pattern;
}

int ClosedPort() {
  const int fd = BoundLoopbackSocket();
  const int port = PortOf(fd);
  close(fd);
  return port;
}

SilentListener::SilentListener() {
  fd_ = BoundLoopbackSocket();
  if (fd_ >= 0 && listen(fd_, 8) == 0) port_ = PortOf(fd_);
}

SilentListener::~SilentListener() {
  if (fd_ >= 0) close(fd_);
}

bool MakeLoopbackCertificate(const std::string& folder) {
  const std::string command =
      "openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=127.0.0.1 "
      "-addext subjectAltName=IP:127.0.0.1 -keyout '" + folder + "/key.pem' -out '" + folder +
      "/cert.pem' >/dev/null 2>&1";
  return std::system(command.c_str()) == 0;
}

LoopbackMailServer::LoopbackMailServer(const LoopbackServerOptions& options) {
  folder_ = MakeTempFolder();
  if (folder_.empty()) return;
  int toServer[2], fromServer[2];
  if (pipe(toServer) != 0) return;
  if (pipe(fromServer) != 0) {
    close(toServer[0]);
    close(toServer[1]);
    return;
  }
  std::vector<std::string> words = {"/usr/bin/python3", QH_SMTP_TEST_SERVER, "--dir", folder_,
                                    "--account", options.account, "--password", options.password};
  if (options.refuseRecipient) words.push_back("--refuse-rcpt");
  if (options.silentQuit) words.push_back("--silent-quit");
  if (!options.certificate.empty()) {
    words.insert(words.end(), {"--cert", options.certificate, "--key", options.key});
  }
  std::vector<char*> argv;
  for (auto& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, toServer[0], 0);
  posix_spawn_file_actions_adddup2(&actions, fromServer[1], 1);
  posix_spawn_file_actions_addclose(&actions, toServer[1]);
  posix_spawn_file_actions_addclose(&actions, fromServer[0]);
  pid_t pid = -1;
  const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(toServer[0]);
  close(fromServer[1]);
  stdinFd_ = toServer[1];
  if (spawned != 0) {
    close(fromServer[0]);
    return;
  }
  pid_ = pid;

  // The server's first line is "PORT <n>" once it listens.
  std::string line;
  char c;
  while (read(fromServer[0], &c, 1) == 1 && c != '\n') line += c;
  close(fromServer[0]);
  if (line.rfind("PORT ", 0) == 0) port_ = std::atoi(line.c_str() + 5);
}

LoopbackMailServer::~LoopbackMailServer() {
  if (stdinFd_ >= 0) close(stdinFd_);  // the server ends when its input closes
  if (pid_ > 0) {
    int status = 0;
    for (int i = 0; i < 100; ++i) {
      if (waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -1;
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, &status, 0);
    }
  }
  if (!folder_.empty()) {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
}

std::vector<std::string> LoopbackMailServer::Events() const {
  std::vector<std::string> lines;
  std::istringstream in(ReadWholeFile(folder_ + "/events.log"));
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

bool LoopbackMailServer::WaitForEvent(const std::string& line) const {
  for (int i = 0; i < 50; ++i) {
    const auto events = Events();
    if (std::find(events.begin(), events.end(), line) != events.end()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}

int LoopbackMailServer::MailCount() const {
  int n = 0;
  while (std::filesystem::exists(folder_ + "/mail-" + std::to_string(n + 1) + ".info")) ++n;
  return n;
}

std::string LoopbackMailServer::MailFile(int n, const std::string& part) const {
  return ReadWholeFile(folder_ + "/mail-" + std::to_string(n) + "." + part);
}

}  // namespace mailtest
