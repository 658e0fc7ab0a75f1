#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>

#include "online/http_client.h"
#include "online/online_services.h"
#include "online/url_text.h"
#include "tests/fake_seams.h"

namespace corvale::online {
namespace {

TEST(Urls, HostPortAndPath) {
  const struct {
    const char* address;
    const char* host;
    int port;
    const char* path;
  } cases[] = {
      {"https://Update.Example.com/Check?Ver=1", "update.example.com", 443, "/Check?Ver=1"},
      {"http://example.com:8080/a/B", "example.com", 8080, "/a/B"},
      {"HTTPS://Example.COM:8443", "example.com", 8443, "/"},
      {"example.com/x", "example.com", 80, "/x"},
      {"http://example.com", "example.com", 80, "/"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(UrlHost(c.address), c.host) << c.address;
    EXPECT_EQ(UrlPort(c.address), c.port) << c.address;
    EXPECT_EQ(UrlPath(c.address), c.path) << c.address;
  }
  EXPECT_EQ(UrlHost("http://Example.com:8080/x", true), "example.com:8080");
}

TEST(Urls, TextBetween) {
  EXPECT_EQ(TextBetween("最新版下载地址：https://x/y.exe 其他", "最新版下载地址：", " "),
            "https://x/y.exe");
  EXPECT_EQ(TextBetween("a=\"v\"", "#引号", "#引号"), "v");
  EXPECT_EQ(TextBetween("right then left", "left", "right"), "");
  EXPECT_EQ(TextBetween("no marker", "x", " "), "");
  EXPECT_EQ(TextBetween("Key:Value;", "key:", ";", 0, true), "Value");
  EXPECT_EQ(TextBetween("Key:Value;", "key:", ";"), "");
  EXPECT_EQ(TextBetween("a1b a2b", "a", "b", 3), "2");
}

TEST(Urls, CleanUtf8) {
  EXPECT_EQ(CleanUtf8("ok 中文"), "ok 中文");
  EXPECT_EQ(CleanUtf8("a\xff"
                      "b"),
            "a\xEF\xBF\xBD"
            "b");
  EXPECT_EQ(CleanUtf8(std::string("ab\0cd", 5)), "ab");
}

// A listening socket on 127.0.0.1 at a free port.
int ListenOnLoopback(int& port) {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
  socklen_t length = sizeof addr;
  getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &length);
  port = ntohs(addr.sin_port);
  listen(fd, 4);
  return fd;
}

// A server that records one raw request and answers it, or never answers.
class RawServer {
 public:
  explicit RawServer(bool answer) {
    fd_ = ListenOnLoopback(port_);
    thread_ = std::thread([this, answer] {
      const int client = accept(fd_, nullptr, nullptr);
      if (client < 0) return;
      char buffer[4096];
      while (request_.find("\r\n\r\n") == std::string::npos || !BodyComplete()) {
        const ssize_t n = recv(client, buffer, sizeof buffer, 0);
        if (n <= 0) break;
        request_.append(buffer, std::size_t(n));
      }
      if (answer) {
        const std::string reply =
            "HTTP/1.1 200 OK\r\nContent-Length: 1\r\nConnection: close\r\n\r\n1";
        send(client, reply.data(), reply.size(), 0);
      } else {
        while (!stop_) std::this_thread::sleep_for(std::chrono::milliseconds(20));
      }
      close(client);
    });
  }
  ~RawServer() {
    stop_ = true;
    shutdown(fd_, SHUT_RDWR);
    close(fd_);
    thread_.join();
  }
  int Port() const { return port_; }
  const std::string& Request() const { return request_; }

 private:
  bool BodyComplete() const {
    const auto at = request_.find("Content-Length: ");
    if (at == std::string::npos) return true;
    const std::size_t length = std::stoul(request_.substr(at + 16));
    return request_.size() >= request_.find("\r\n\r\n") + 4 + length;
  }

  int fd_ = -1;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::string request_;
  std::thread thread_;
};

TEST(FetchText, SendsTheRequestAsDesigned) {
  RawServer server(true);
  const std::string address =
      "HTTP://LocalHost:" + std::to_string(server.Port()) + "/Path/Sub?q=1&Z=2";
  EXPECT_EQ(FetchText(address, "ver=1.3"), "1");
  const std::string& request = server.Request();
  EXPECT_EQ(request.substr(0, request.find("\r\n")), "POST /Path/Sub?q=1&Z=2 HTTP/1.1");
  const auto at = [&](const std::string& line) { return request.find("\r\n" + line + "\r\n"); };
  EXPECT_NE(at("Host: localhost:" + std::to_string(server.Port())), std::string::npos);
  EXPECT_NE(at("User-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)"),
            std::string::npos);
  const auto accept = at("Accept: */*");
  const auto referer = at("Referer: " + address);
  const auto language = at("Accept-Language: zh-cn");
  const auto type = at("Content-Type: application/x-www-form-urlencoded");
  ASSERT_NE(accept, std::string::npos);
  ASSERT_NE(referer, std::string::npos);
  ASSERT_NE(language, std::string::npos);
  ASSERT_NE(type, std::string::npos);
  EXPECT_LT(accept, referer);
  EXPECT_LT(referer, language);
  EXPECT_LT(language, type);
  EXPECT_EQ(request.substr(request.find("\r\n\r\n") + 4), "ver=1.3");
}

// Reads the first bytes a client sends (for TLS, its ClientHello) and hangs up.
class HelloServer {
 public:
  HelloServer() {
    fd_ = ListenOnLoopback(port_);
    thread_ = std::thread([this] {
      const int client = accept(fd_, nullptr, nullptr);
      if (client < 0) return;
      char buffer[4096];
      const ssize_t n = recv(client, buffer, sizeof buffer, 0);
      if (n > 0) hello_.assign(buffer, std::size_t(n));
      close(client);
    });
  }
  ~HelloServer() {
    shutdown(fd_, SHUT_RDWR);
    close(fd_);
    thread_.join();
  }
  int Port() const { return port_; }
  const std::string& Hello() const { return hello_; }

 private:
  int fd_ = -1;
  int port_ = 0;
  std::string hello_;
  std::thread thread_;
};

TEST(FetchText, OffersOnlyHttp11OverTls) {
  HelloServer server;
  EXPECT_EQ(FetchText("https://127.0.0.1:" + std::to_string(server.Port()) + "/update", "ver=1.3",
                      {2, 4}),
            "");
  const std::string& hello = server.Hello();
  ASSERT_FALSE(hello.empty());
  // The protocols a client offers are listed in its ClientHello (ALPN), each after its length.
  EXPECT_NE(hello.find("\x08http/1.1"), std::string::npos);
  EXPECT_EQ(hello.find("\x02h2"), std::string::npos);
}

TEST(FetchText, AServiceThatNeverAnswersEndsWithinTheTimeOut) {
  RawServer server(false);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(FetchText("http://127.0.0.1:" + std::to_string(server.Port()) + "/", "", {1, 2}), "");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(6));
}

// The online service, on 127.0.0.1 with answers the test sets.
class Service : public ::testing::Test {
 protected:
  void SetUp() override {
    server.Post("/update", [this](const httplib::Request& request, httplib::Response& response) {
      ++updateRequests;
      lastBody = request.body;
      response.set_content(updateAnswer, "text/plain");
    });
    server.Post("/info", [this](const httplib::Request&, httplib::Response& response) {
      ++infoRequests;
      response.set_content(infoAnswer, "text/plain; charset=utf-8");
    });
    port = server.bind_to_any_port("127.0.0.1");
    thread = std::thread([this] { server.listen_after_bind(); });
    while (!server.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    endpoints = {"http://127.0.0.1:" + std::to_string(port) + "/update",
                 "http://127.0.0.1:" + std::to_string(port) + "/info"};
  }
  void TearDown() override {
    server.stop();
    thread.join();
  }

  httplib::Server server;
  std::thread thread;
  int port = 0;
  Endpoints endpoints;
  std::string updateAnswer = "1";
  std::string infoAnswer;
  std::atomic<int> updateRequests{0}, infoRequests{0};
  std::string lastBody;
  test::FakeSeams seams;
};

TEST_F(Service, CurrentVersionIsSilentAtStartUpOnly) {
  UpdateCheck(seams, endpoints, false);
  EXPECT_TRUE(seams.messages.empty());
  EXPECT_EQ(lastBody, "ver=1.3");
  UpdateCheck(seams, endpoints, true);
  EXPECT_EQ(seams.MessageTexts(), std::vector<std::string>{"您使用的是最新版本！"});
  EXPECT_EQ(seams.messages[0].icon, platform::MessageIcon::Information);
  seams.messages.clear();
  updateAnswer = "1\n";  // not "1": nothing at all
  UpdateCheck(seams, endpoints, true);
  EXPECT_TRUE(seams.messages.empty());
}

TEST_F(Service, NewerVersionOffersTheDownload) {
  updateAnswer = "0";
  infoAnswer =
      "在线视频教程地址：https://v/1 最新版下载地址：https://dl/corvale-1.4.exe "
      "视频下载地址：https://v/2";
  seams.answers = {platform::MessageResult::Cancel};
  UpdateCheck(seams, endpoints, true);
  EXPECT_EQ(seams.MessageTexts(), std::vector<std::string>{"有新版本，请更新软件！"});
  EXPECT_EQ(seams.messages[0].buttons, platform::MessageButtons::OkCancel);
  EXPECT_EQ(infoRequests, 0);  // cancelled: no information request
  UpdateCheck(seams, endpoints, true);
  EXPECT_EQ(infoRequests, 1);
  EXPECT_EQ(seams.urls, std::vector<std::string>{"https://dl/corvale-1.4.exe"});

  infoAnswer = "最新版下载地址：https://dl/last-without-space";
  UpdateCheck(seams, endpoints, true);
  EXPECT_EQ(seams.urls.size(), 1u);  // nothing opened
}

TEST_F(Service, NetworkErrorsAreReportedWithoutIcon) {
  updateAnswer = "";
  UpdateCheck(seams, endpoints, false);
  ASSERT_EQ(seams.MessageTexts(), std::vector<std::string>{"网络连接出错！"});
  EXPECT_EQ(seams.messages[0].icon, platform::MessageIcon::None);
  seams.messages.clear();
  server.stop();
  thread.join();
  thread = std::thread([] {});
  UpdateCheck(seams, endpoints, false);  // connection refused
  EXPECT_EQ(seams.MessageTexts(), std::vector<std::string>{"网络连接出错！"});
}

TEST_F(Service, AnAnswerOverOneMebibyteIsAFailure) {
  updateAnswer = std::string(kMaxAnswerBytes, 'x');
  EXPECT_EQ(FetchText(endpoints.update).size(), kMaxAnswerBytes);
  updateAnswer += 'x';
  EXPECT_EQ(FetchText(endpoints.update), "");
}

TEST_F(Service, OnlyWebAddressesAreOpened) {
  const struct {
    const char* address;
    bool opened;
  } cases[] = {
      {"https://v/online", true},    {"http://v/online", true},      {"HTTPS://V/online", true},
      {"file:///etc/passwd", false}, {"javascript:alert(1)", false}, {"corvale-handler:x", false},
      {"//v/online", false},
  };
  for (const auto& c : cases) {
    seams.urls.clear();
    seams.messages.clear();
    infoAnswer = std::string("在线视频教程地址：") + c.address + " ";
    OpenTutorialLink(seams, endpoints, "在线视频教程地址：");
    EXPECT_EQ(seams.urls.size(), c.opened ? 1u : 0u) << c.address;
    EXPECT_EQ(seams.MessageTexts(),
              c.opened ? std::vector<std::string>{} : std::vector<std::string>{"网络连接出错！"})
        << c.address;
  }
}

TEST_F(Service, AnUnconfiguredBuildAsksNobody) {
  endpoints.configured = false;
  std::atomic<bool> called{false};
  {
    BackgroundUpdateCheck check(endpoints, [&](const std::string&) { called = true; });
  }
  EXPECT_EQ(updateRequests, 0);
  UpdateCheck(seams, endpoints, true);  // the user asked: no service is a network error to them
  EXPECT_EQ(updateRequests, 0);
  EXPECT_EQ(seams.MessageTexts(), std::vector<std::string>{"网络连接出错！"});
}

TEST_F(Service, ABackgroundCheckReportsItsAnswerOrIsAbandoned) {
  server.Post("/slow", [](const httplib::Request&, httplib::Response& response) {
    std::this_thread::sleep_for(std::chrono::seconds(3));
    response.set_content("0", "text/plain");
  });
  std::promise<std::string> answer;
  {
    BackgroundUpdateCheck check(endpoints, [&](const std::string& a) { answer.set_value(a); });
    ASSERT_EQ(answer.get_future().wait_for(std::chrono::seconds(10)), std::future_status::ready);
  }
  Endpoints slow = endpoints;
  slow.update = "http://127.0.0.1:" + std::to_string(port) + "/slow";
  bool called = false;
  const auto start = std::chrono::steady_clock::now();
  {
    BackgroundUpdateCheck abandoned(slow, [&](const std::string&) { called = true; });
  }
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(2500));
  EXPECT_FALSE(called);
}

TEST_F(Service, TutorialLinksAndChineseAnswers) {
  infoAnswer = "在线视频教程地址：https://v/online 视频下载地址：https://v/download ";
  OpenTutorialLink(seams, endpoints, "在线视频教程地址：");
  OpenTutorialLink(seams, endpoints, "视频下载地址：");
  OpenTutorialLink(seams, endpoints, "没有这个标签：");
  EXPECT_EQ(seams.urls, (std::vector<std::string>{"https://v/online", "https://v/download"}));
  EXPECT_TRUE(seams.messages.empty());
  EXPECT_EQ(FetchText(endpoints.info), infoAnswer);  // UTF-8 equals the program's literals
}

}  // namespace
}  // namespace corvale::online
