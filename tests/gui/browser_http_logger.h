#pragma once

// A loopback HTTP server for the browser tests: it records the request line of every
// request that reaches it and answers each with an empty 204. It serves from a thread of
// its own, stops when destroyed, and stops by itself after a bounded lifetime.

#include <winsock2.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace browser_test {

class HttpLogger {
public:
    explicit HttpLogger(std::chrono::seconds lifetime = std::chrono::seconds(120));
    HttpLogger(const HttpLogger&) = delete;
    HttpLogger& operator=(const HttpLogger&) = delete;
    ~HttpLogger();

    bool listening() const { return listener_ != INVALID_SOCKET; }
    // "http://127.0.0.1:PORT", without a trailing slash.
    std::string origin() const;
    // Request lines such as "GET /path?query", in arrival order.
    std::vector<std::string> requests() const;

private:
    void serve(std::chrono::steady_clock::time_point deadline);
    void answer(SOCKET connection);

    bool winsockStarted_ = false;
    SOCKET listener_ = INVALID_SOCKET;
    unsigned short port_ = 0;
    std::atomic<bool> stopping_{false};
    mutable std::mutex mutex_;
    std::vector<std::string> requests_;
    std::thread thread_;
};

}  // namespace browser_test
