#include "tests/gui/browser_http_logger.h"

#include <ws2tcpip.h>

#include <cstring>

namespace browser_test {
namespace {

constexpr std::size_t kMaxHeader = 16 * 1024;

// The request line without its HTTP version: "GET /path".
std::string requestLine(const std::string& head) {
    const std::string line = head.substr(0, head.find("\r\n"));
    const auto version = line.rfind(" HTTP/");
    return version == std::string::npos ? line : line.substr(0, version);
}

}  // namespace

HttpLogger::HttpLogger(std::chrono::seconds lifetime) {
    WSADATA data{};
    winsockStarted_ = WSAStartup(MAKEWORD(2, 2), &data) == 0;
    if (!winsockStarted_) {
        return;
    }
    listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;  // any free port
    int length = sizeof address;
    if (listener_ == INVALID_SOCKET || bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        listen(listener_, 8) != 0 || getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        if (listener_ != INVALID_SOCKET) {
            closesocket(listener_);
            listener_ = INVALID_SOCKET;
        }
        return;
    }
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this, deadline = std::chrono::steady_clock::now() + lifetime] { serve(deadline); });
}

HttpLogger::~HttpLogger() {
    stopping_ = true;
    if (thread_.joinable()) {
        thread_.join();
    }
    if (listener_ != INVALID_SOCKET) {
        closesocket(listener_);
    }
    if (winsockStarted_) {
        WSACleanup();
    }
}

std::string HttpLogger::origin() const { return "http://127.0.0.1:" + std::to_string(port_); }

std::vector<std::string> HttpLogger::requests() const {
    const std::lock_guard lock(mutex_);
    return requests_;
}

void HttpLogger::serve(std::chrono::steady_clock::time_point deadline) {
    while (!stopping_ && std::chrono::steady_clock::now() < deadline) {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(listener_, &readable);
        timeval wait{0, 50 * 1000};
        if (select(0, &readable, nullptr, nullptr, &wait) <= 0) {
            continue;
        }
        const SOCKET connection = accept(listener_, nullptr, nullptr);
        if (connection != INVALID_SOCKET) {
            answer(connection);
            closesocket(connection);
        }
    }
}

void HttpLogger::answer(SOCKET connection) {
    const DWORD timeoutMs = 2000;
    setsockopt(connection, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeoutMs), sizeof timeoutMs);
    std::string head;
    char buffer[1024];
    while (head.find("\r\n\r\n") == std::string::npos && head.size() < kMaxHeader) {
        const int received = recv(connection, buffer, sizeof buffer, 0);
        if (received <= 0) {
            break;
        }
        head.append(buffer, static_cast<std::size_t>(received));
    }
    if (head.empty()) {
        return;
    }
    {
        const std::lock_guard lock(mutex_);
        requests_.push_back(requestLine(head));
    }
    const char reply[] = "HTTP/1.1 204 No Content\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
    send(connection, reply, static_cast<int>(std::strlen(reply)), 0);
}

}  // namespace browser_test
